// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/InspectCommand.h"

#include "app/CommandLine.h"
#include "app/VerbArguments.h"
#include "engine/EngineError.h"
#include "engine/Numeric.h"
#include "engine/classImageProcessing.h"
#include "search/BarChart.h"
#include "search/FacePictureLoader.h"
#include "search/ImageSurface.h"

#include <QDir>

#include <cmath>
#include <functional>
#include <limits>

namespace morvelin {

namespace {

constexpr int defaultScale = 10;
constexpr int largestScale = 100;
// Pictures stay within what an image viewer opens without trouble.
constexpr qint64 largestPictureSide = 32767;
constexpr qint64 largestPictureArea = 25'000'000;
const QSize chartSize(540, 360);
// Traced cells are drawn in light grey; on grey they still show.
const QColor tracesBackground(150, 150, 150);

bool isWholeNumber(const QString& text, int smallest, int largest)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= smallest && value <= largest;
}

bool isSide(const QString& text)
{
    return isWholeNumber(text, 1, std::numeric_limits<std::int16_t>::max());
}

bool isScale(const QString& text)
{
    return isWholeNumber(text, 1, largestScale);
}

bool fits(const QSize& picture)
{
    return picture.width() <= largestPictureSide && picture.height() <= largestPictureSide
        && qint64{picture.width()} * picture.height() <= largestPictureArea;
}

struct Inspection {
    classImageProcessing grid;
    classImageProcessing edges;
    classImageProcessing contours;
};

// The grid, then a second grid of the same size made the edge picture of it (which traces) and
// given its edge map, and a third made its contour picture. `stage` says what was under way when an
// engine error leaves.
void inspect(const Canvas& picture, std::int16_t width, std::int16_t height, Inspection& result, QString& stage)
{
    stage = QStringLiteral("sampling it into a %1 x %2 grid").arg(width).arg(height);
    result.grid.init(width, height);
    result.grid.update(picture);
    stage = QStringLiteral("finding and tracing its edges");
    result.edges.init(width, height);
    result.edges.getImageEdges(result.grid);
    stage = QStringLiteral("classifying its edges");
    result.edges.getEdges();
    stage = QStringLiteral("finding its contours");
    result.contours.init(width, height);
    result.contours.getImageContours(result.grid);
}

bool save(const QImage& image, const QString& folder, const QString& name, QTextStream& err)
{
    const QString path = QDir(folder).filePath(name);
    if (image.save(path, "PNG")) {
        return true;
    }
    err << CommandLine::programName << ": cannot write '" << path << "'" << Qt::endl;
    return false;
}

QImage drawn(const QSize& size, const QColor& background, const std::function<void(DrawingSurface&)>& draw)
{
    ImageSurface surface(size, background);
    draw(surface);
    return surface.image();
}

QImage charted(const std::function<void(Chart&)>& fill)
{
    BarChart chart(chartSize);
    fill(chart);
    return chart.image();
}

bool writePictures(Inspection& inspection, const QSize& size, const QString& folder, QTextStream& err)
{
    const classImageProcessing& grid = inspection.grid;
    classImageProcessing& edges = inspection.edges;
    const QImage gridPicture = drawn(size, Qt::white, [&](DrawingSurface& s) { grid.show(s); });
    const QImage edgePicture = drawn(size, Qt::white, [&](DrawingSurface& s) { edges.show(s); });
    const QImage edgeMap = drawn(size, Qt::white, [&](DrawingSurface& s) { edges.showEdges(s); });
    const QImage contourPicture = drawn(size, Qt::white, [&](DrawingSurface& s) { inspection.contours.show(s); });
    // processType 4 makes show draw the traced cells and the traces instead of the levels.
    const std::int16_t processType = edges.processType;
    edges.processType = 4;
    const QImage tracePicture = drawn(size, tracesBackground, [&](DrawingSurface& s) { edges.show(s); });
    edges.processType = processType;
    const QImage edgeChart = charted([&](Chart& c) { edges.showEdgeHistogram(c); });
    const QImage angleChart = charted([&](Chart& c) { edges.showAngleHistogram(c); });

    return save(gridPicture, folder, QStringLiteral("grid.png"), err)
        && save(edgePicture, folder, QStringLiteral("edges.png"), err)
        && save(tracePicture, folder, QStringLiteral("traces.png"), err)
        && save(edgeMap, folder, QStringLiteral("edge-map.png"), err)
        && save(contourPicture, folder, QStringLiteral("contours.png"), err)
        && save(edgeChart, folder, QStringLiteral("edge-histogram.png"), err)
        && save(angleChart, folder, QStringLiteral("angle-histogram.png"), err);
}

template <typename Values>
QString joined(const Values& values, std::size_t count)
{
    QStringList texts;
    for (std::size_t i = 0; i < count; ++i) {
        texts << QString::number(values[i]);
    }
    return texts.join(QLatin1Char(' '));
}

} // namespace

QString InspectCommand::plainNumber(double value)
{
    const auto single = static_cast<double>(static_cast<float>(value));
    if (single == 0.0) {
        return QStringLiteral("0");
    }
    if (!std::isfinite(single)) {
        return QString::number(single);
    }
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(single))));
    QString text = QString::number(single, 'f', std::max(0, 6 - magnitude));
    if (text.contains(QLatin1Char('.'))) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (text.endsWith(QLatin1Char('.'))) {
            text.chop(1);
        }
    }
    return text;
}

int InspectCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    Options options;
    QString problem;
    if (!parse(operands, options, problem)) {
        return CommandLine::usageError(err, QStringLiteral("inspect"), problem);
    }
    // The edge detector averages over width x height in 16-bit arithmetic; a larger grid would fail
    // there anyway, after the memory for it had been taken.
    if (options.width * options.height > std::numeric_limits<std::int16_t>::max()) {
        err << CommandLine::programName << ": cannot inspect '" << options.image << "': a " << options.width
            << " x " << options.height << " grid is too large for the edge detector's 16-bit arithmetic (overflow)"
            << Qt::endl;
        return CommandLine::exitUsage;
    }
    if (!chooseScale(options, problem)) {
        return CommandLine::usageError(err, QStringLiteral("inspect"), problem);
    }

    FacePictureLoader::Result loaded = FacePictureLoader::loadFile(options.image);
    if (!loaded.picture) {
        err << CommandLine::programName << ": cannot read '" << options.image << "': " << loaded.error << Qt::endl;
        return CommandLine::exitUsage;
    }
    Inspection inspection;
    QString stage;
    try {
        inspect(*loaded.picture, static_cast<std::int16_t>(options.width), static_cast<std::int16_t>(options.height),
                inspection, stage);
    } catch (const EngineError& error) {
        // Overflow here is the engine's 16-bit arithmetic: a picture too large for the grid's cell
        // blocks, or traces too long for their squared lengths.
        err << CommandLine::programName << ": cannot inspect '" << options.image << "' (" << stage
            << "): " << error.what() << Qt::endl;
        return CommandLine::exitUsage;
    }

    if (!QDir().mkpath(options.outFolder)) {
        err << CommandLine::programName << ": cannot create the folder '" << options.outFolder << "'" << Qt::endl;
        return CommandLine::exitUsage;
    }
    const QSize pictureSize(options.width * options.scale, options.height * options.scale);
    try {
        if (!writePictures(inspection, pictureSize, options.outFolder, err)) {
            return CommandLine::exitUsage;
        }
    } catch (const EngineError& error) {
        err << CommandLine::programName << ": cannot draw '" << options.image << "': " << error.what() << Qt::endl;
        return CommandLine::exitUsage;
    }
    printSummary(inspection.edges, out);
    return CommandLine::exitOk;
}

void InspectCommand::printSummary(const classImageProcessing& edges, QTextStream& out)
{
    QStringList traces;
    for (int i = 0; i < edges.getTraceCount(); ++i) {
        QStringList fields;
        for (const Single field : edges.getEdgeTrace(i)) {
            fields << plainNumber(field);
        }
        traces << fields.join(QLatin1Char(' '));
    }
    out << "meanEdgeStrength\t" << plainNumber(edges.getMeanEdgeStrength()) << '\n'
        << "TraceEdgesThresh\t" << edges.TraceEdgesThresh << '\n'
        << "traceCount\t" << edges.getTraceCount() << '\n'
        << "maxTraceStrength\t" << edges.getMaxTraceStrength() << '\n'
        << "edgeHistogram\t" << joined(edges.getEdgeHistogram(), 5) << '\n'
        << "angleHistogram\t" << joined(edges.getAngleHistogram(), 18) << '\n'
        << "traces\t" << traces.join(QLatin1Char(';')) << '\n';
    out.flush();
}

bool InspectCommand::parse(const QStringList& operands, Options& options, QString& problem)
{
    VerbArguments arguments(QStringLiteral("inspect"));
    arguments.addValue(QStringLiteral("out"), QStringLiteral("--out needs a folder"));
    arguments.addValue(QStringLiteral("size"),
                       QStringLiteral("--size takes a width and a height, whole numbers from 1 to 32767"), isSide, {},
                       2);
    arguments.addValue(QStringLiteral("scale"),
                       QStringLiteral("--scale takes the pixels per grid cell, a whole number from 1 to %1")
                           .arg(largestScale),
                       isScale);
    arguments.setExtraOperand(QStringLiteral("inspect takes one image"));
    if (!arguments.parse(operands)) {
        problem = arguments.problem();
        return false;
    }
    options.image = arguments.operand();
    options.outFolder = arguments.value(QStringLiteral("out"));
    if (arguments.isSet(QStringLiteral("size"))) {
        options.width = arguments.value(QStringLiteral("size")).toInt();
        options.height = arguments.secondValue(QStringLiteral("size")).toInt();
    }
    options.scale = arguments.isSet(QStringLiteral("scale")) ? arguments.value(QStringLiteral("scale")).toInt() : 0;
    if (options.image.isEmpty()) {
        problem = QStringLiteral("inspect needs an image");
        return false;
    }
    if (options.outFolder.isEmpty()) {
        problem = QStringLiteral("inspect needs --out DIR for its pictures");
        return false;
    }
    return true;
}

bool InspectCommand::chooseScale(Options& options, QString& problem)
{
    if (options.scale == 0) {
        // Large grids get smaller cells rather than huge pictures.
        options.scale = defaultScale;
        while (options.scale > 1 && !fits(QSize(options.width * options.scale, options.height * options.scale))) {
            --options.scale;
        }
    }
    if (fits(QSize(options.width * options.scale, options.height * options.scale))) {
        return true;
    }
    problem = QStringLiteral("the pictures would be %1 x %2 pixels, more than inspect draws; lower --scale")
                  .arg(qint64{options.width} * options.scale)
                  .arg(qint64{options.height} * options.scale);
    return false;
}

} // namespace morvelin
