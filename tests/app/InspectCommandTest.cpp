// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "ProgramRunner.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using namespace morvelin::testing;

namespace {

// `inspect` with the words of `arguments` (paths without spaces).
Outcome inspect(const QString& arguments)
{
    return runProgram((QStringLiteral("inspect ") + arguments).split(QLatin1Char(' ')));
}

// A dark picture with a bright ring: edges in every direction.
QString writeRing(const QTemporaryDir& dir, int size = 96)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(qRgb(20, 20, 20));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(230, 230, 230), size / 12));
    painter.drawEllipse(QRectF(size * 0.2, size * 0.2, size * 0.6, size * 0.6));
    painter.end();
    image.save(dir.filePath(QStringLiteral("ring.png")));
    return dir.filePath(QStringLiteral("ring.png"));
}

// The summary's values by name, in its order; every line must be `name<TAB>numbers`.
QList<QPair<QString, QStringList>> summaryOf(const QString& out)
{
    static const QRegularExpression line(QStringLiteral("^([A-Za-z]+)\\t(-?[0-9]+(\\.[0-9]+)?([ ;]-?[0-9]+(\\.[0-9]+)?)*)?$"));
    QList<QPair<QString, QStringList>> summary;
    for (const QString& text : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(text);
        EXPECT_TRUE(match.hasMatch()) << text.toStdString();
        summary.append({match.captured(1), match.captured(2).split(QRegularExpression("[ ;]"), Qt::SkipEmptyParts)});
    }
    return summary;
}

} // namespace

TEST(InspectCommandTest, WritesThePicturesAtTheSizeAskedForAndASummaryScriptsCanRead)
{
    QTemporaryDir dir;
    const QString ring = writeRing(dir);
    for (const auto& [options, size] : {std::pair{QString(), QSize(480, 480)}, {QStringLiteral(" --size 20 10 --scale 3"), QSize(60, 30)}}) {
        const QString out = dir.filePath(QStringLiteral("views%1").arg(size.width()));
        const Outcome outcome = inspect(ring + options + QStringLiteral(" --out ") + out);
        ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.isEmpty()) << outcome.err.toStdString();
        for (const char* name : {"grid.png", "edges.png", "traces.png", "edge-map.png", "contours.png"}) {
            EXPECT_EQ(QImage(QDir(out).filePath(QLatin1String(name))).size(), size) << name;
        }
        for (const char* name : {"edge-histogram.png", "angle-histogram.png"}) {
            EXPECT_FALSE(QImage(QDir(out).filePath(QLatin1String(name))).isNull()) << name;
        }
    }

    const QList<QPair<QString, QStringList>> summary = summaryOf(inspect(ring + QStringLiteral(" --out ") + dir.path()).out);
    ASSERT_EQ(summary.size(), 7);
    QStringList names;
    for (const auto& entry : summary) {
        names << entry.first;
    }
    EXPECT_EQ(names.join(' '), "meanEdgeStrength TraceEdgesThresh traceCount maxTraceStrength edgeHistogram angleHistogram traces");
    const double mean = summary[0].second.value(0).toDouble();
    EXPECT_TRUE(mean > 0.01 && mean < 1.0) << mean;
    EXPECT_EQ(summary[1].second.value(0).toInt(), qRound(mean * 25.5));
    EXPECT_EQ(summary[4].second.size(), 5);
    EXPECT_EQ(summary[5].second.size(), 18);
    for (const QStringList& bins : {summary[4].second, summary[5].second}) {
        EXPECT_GE(std::count_if(bins.begin(), bins.end(), [](const QString& bin) { return bin.toDouble() > 0; }), 3)
            << "a ring has edges of several strengths in every direction";
    }
    EXPECT_EQ(summary[6].second.size(), 5 * summary[2].second.value(0).toInt()) << "five numbers a trace";
}

TEST(InspectCommandTest, EveryGridSizeEndsWithPicturesOrAMessage)
{
    QTemporaryDir dir;
    const QString ring = writeRing(dir, 300);
    for (const auto& [width, height] : QList<QPair<int, int>>{{1, 1}, {2, 3}, {3, 2}, {5, 7}, {127, 127}, {181, 181},
                                                              {32767, 1}, {200, 200}, {32767, 32767}}) {
        const Outcome outcome =
            inspect(QStringLiteral("%1 --size %2 %3 --out %4").arg(ring).arg(width).arg(height).arg(dir.filePath("out")));
        SCOPED_TRACE(testing::Message() << width << " x " << height << ": " << outcome.err.toStdString());
        ASSERT_TRUE(outcome.exitCode == 0 || outcome.exitCode == 2);
        EXPECT_TRUE(width * height <= 32767 || outcome.exitCode == 2);
        if (outcome.exitCode == 2) {
            EXPECT_TRUE(outcome.err.contains(QStringLiteral("overflow")));
            EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1) << "one line, not the usage text";
        }
    }
}

TEST(InspectCommandTest, BadInputIsNamedAndExitsTwo)
{
    QTemporaryDir dir;
    const QString ring = writeRing(dir);
    const QString missing = dir.filePath(QStringLiteral("missing.png"));
    const QString out = dir.filePath(QStringLiteral("out"));
    const Outcome unreadable = inspect(missing + QStringLiteral(" --out ") + out);
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_TRUE(unreadable.err.contains(missing)) << unreadable.err.toStdString();
    EXPECT_FALSE(QFile::exists(out)) << "nothing written for a picture that cannot be read";

    // %1 the picture, %2 the output folder.
    for (const char* arguments : {"%1", "--out %2", "%1 --out", "%1 --out %2 --size 0 5", "%1 --out %2 --size 40000 5",
                                  "%1 --out %2 --size 9", "%1 --out %2 --scale 0", "%1 --out %2 --scale x",
                                  "%1 --out %2 --size 1000 30 --scale 100", "%1 %1 --out %2",
                                  "%1 --out %2 --frobnicate"}) {
        const Outcome outcome = inspect(QString::fromLatin1(arguments).replace("%1", ring).replace("%2", out));
        EXPECT_EQ(outcome.exitCode, 2) << arguments;
        EXPECT_TRUE(outcome.out.isEmpty());
        EXPECT_TRUE(outcome.err.endsWith(QStringLiteral("\nTry 'face-morvelin inspect --help'.\n")))
            << outcome.err.toStdString();
    }
}
