// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/IdentifyCommand.h"

#include "app/CommandLine.h"
#include "app/VerbArguments.h"
#include "engine/ClassFaceRecogniser.h"
#include "engine/EngineError.h"
#include "engine/FaceMatchTech.h"
#include "search/FacePictureLoader.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace morvelin {

namespace {

constexpr std::int16_t gridSize = FaceMatchTech::gridSize;

int cannotRead(QTextStream& err, const QString& path, const QString& why)
{
    err << CommandLine::programName << ": cannot read '" << path << "': " << why << Qt::endl;
    return CommandLine::exitUsage;
}

} // namespace

QStringList IdentifyCommand::galleryPictures(const QString& folder)
{
    QStringList filters;
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        filters << QStringLiteral("*.") + QString::fromLatin1(format);
    }
    // Sorted by name, so which of two equally near faces wins does not depend on the file system.
    QStringList paths;
    for (const QFileInfo& info : QDir(folder).entryInfoList(filters, QDir::Files, QDir::Name)) {
        paths << info.filePath();
    }
    return paths;
}

int IdentifyCommand::run(const QStringList& operands, QTextStream& out, QTextStream& err)
{
    Options options;
    QString problem;
    if (!parse(operands, options, problem)) {
        return CommandLine::usageError(err, QStringLiteral("identify"), problem);
    }
    if (!QFileInfo(options.gallery).isDir()) {
        return cannotRead(err, options.gallery, QStringLiteral("not a folder"));
    }
    const QStringList pictures = galleryPictures(options.gallery);
    if (pictures.isEmpty()) {
        return cannotRead(err, options.gallery, QStringLiteral("the folder holds no face pictures"));
    }
    FacePictureLoader::Result probe = FacePictureLoader::loadFile(options.image);
    if (!probe.picture) {
        return cannotRead(err, options.image, probe.error);
    }

    ClassFaceRecogniser recogniser;
    QString current = options.image;
    try {
        recogniser.init(gridSize, gridSize);
        for (const QString& path : pictures) {
            current = path;
            // One picture in memory at a time: the recogniser keeps only its grid.
            FacePictureLoader::Result face = FacePictureLoader::loadFile(path);
            if (!face.picture) {
                return cannotRead(err, path, face.error);
            }
            recogniser.addFace(*face.picture, QFileInfo(path).completeBaseName().toStdString());
        }
        current = options.image;
        recogniser.updateFaceTemplate();
        recogniser.updateEigenFaces();
        print(recogniser.nearest(*probe.picture), options.json, out);
    } catch (const EngineError& error) {
        err << CommandLine::programName << ": cannot identify with '" << current << "': " << error.what()
            << Qt::endl;
        return CommandLine::exitUsage;
    }
    return CommandLine::exitOk;
}

// One answer, in an array all the same: a script reads one shape of output whatever the gallery holds.
void IdentifyCommand::print(const ClassFaceRecogniser::Match& match, bool json, QTextStream& out)
{
    const QString name = QString::fromStdString(match.name);
    if (!json) {
        out << name << '\t' << match.distance << Qt::endl;
        return;
    }
    const QJsonObject object{{QStringLiteral("name"), name}, {QStringLiteral("distance"), match.distance}};
    out << QJsonDocument(QJsonArray{object}).toJson(QJsonDocument::Indented);
    out.flush();
}

bool IdentifyCommand::parse(const QStringList& operands, Options& options, QString& problem)
{
    VerbArguments arguments(QStringLiteral("identify"));
    arguments.addValue(QStringLiteral("gallery"), QStringLiteral("--gallery needs a folder"));
    arguments.addSwitch(QStringLiteral("json"));
    arguments.setExtraOperand(QStringLiteral("identify takes one image"));
    if (!arguments.parse(operands)) {
        problem = arguments.problem();
        return false;
    }
    options.gallery = arguments.value(QStringLiteral("gallery"));
    options.image = arguments.operand();
    options.json = arguments.isSet(QStringLiteral("json"));
    if (options.gallery.isEmpty()) {
        problem = QStringLiteral("identify needs --gallery DIR");
        return false;
    }
    if (options.image.isEmpty()) {
        problem = QStringLiteral("identify needs an image");
        return false;
    }
    return true;
}

} // namespace morvelin
