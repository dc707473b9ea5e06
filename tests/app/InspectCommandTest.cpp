#include "ProgramRunner.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin::testing;

namespace {

const QStringList pictureNames = QStringLiteral("grid.png edges.png traces.png edge-map.png contours.png").split(' ');

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
    const QString path = dir.filePath(QStringLiteral("ring.png"));
    image.save(path);
    return path;
}

// The summary as name -> values; fails the test on a line that is not `name<TAB>values`.
QMap<QString, QString> summaryOf(const QString& out)
{
    QMap<QString, QString> summary;
    for (const QString& line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int tab = line.indexOf(QLatin1Char('\t'));
        EXPECT_GT(tab, 0) << line.toStdString();
        summary.insert(line.left(tab), line.mid(tab + 1));
    }
    return summary;
}

bool allPlainNumbers(const QString& values, QChar separator = QLatin1Char(' '))
{
    static const QRegularExpression plain(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    for (const QString& value : values.split(separator)) {
        if (!plain.match(value).hasMatch()) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(InspectCommandTest, WritesThePicturesAndASummaryScriptsCanRead)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("views"));
    const Outcome outcome = inspect(writeRing(dir) + QStringLiteral(" --out ") + out);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.isEmpty()) << outcome.err.toStdString();

    for (const QString& name : pictureNames) {
        EXPECT_EQ(QImage(QDir(out).filePath(name)).size(), QSize(480, 480)) << name.toStdString();
    }
    for (const char* name : {"edge-histogram.png", "angle-histogram.png"}) {
        EXPECT_FALSE(QImage(QDir(out).filePath(QLatin1String(name))).isNull()) << name;
    }

    const QStringList names = [&] {
        QStringList found;
        for (const QString& line : outcome.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            found << line.section(QLatin1Char('\t'), 0, 0);
        }
        return found;
    }();
    EXPECT_EQ(names, QStringLiteral("meanEdgeStrength TraceEdgesThresh traceCount maxTraceStrength edgeHistogram "
                                    "angleHistogram traces")
                         .split(' '));
    const QMap<QString, QString> summary = summaryOf(outcome.out);
    const double mean = summary.value(QStringLiteral("meanEdgeStrength")).toDouble();
    EXPECT_GT(mean, 0.01);
    EXPECT_LT(mean, 1.0);
    EXPECT_EQ(summary.value(QStringLiteral("TraceEdgesThresh")).toInt(), qRound(mean * 25.5));
    EXPECT_EQ(summary.value(QStringLiteral("edgeHistogram")).split(QLatin1Char(' ')).size(), 5);
    EXPECT_EQ(summary.value(QStringLiteral("angleHistogram")).split(QLatin1Char(' ')).size(), 18);
    EXPECT_TRUE(allPlainNumbers(summary.value(QStringLiteral("edgeHistogram"))));
    EXPECT_TRUE(allPlainNumbers(summary.value(QStringLiteral("angleHistogram"))));

    const int traceCount = summary.value(QStringLiteral("traceCount")).toInt();
    const QString traces = summary.value(QStringLiteral("traces"));
    EXPECT_EQ(traces.isEmpty() ? 0 : traces.split(QLatin1Char(';')).size(), traceCount);
    for (const QString& trace : traces.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        EXPECT_EQ(trace.split(QLatin1Char(' ')).size(), 5) << trace.toStdString();
        EXPECT_TRUE(allPlainNumbers(trace)) << trace.toStdString();
    }
}

TEST(InspectCommandTest, SizeAndScaleSetTheGridAndThePictures)
{
    QTemporaryDir dir;
    const Outcome outcome = inspect(writeRing(dir) + QStringLiteral(" --size 20 10 --scale 3 --out ") + dir.path());
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    for (const QString& name : pictureNames) {
        EXPECT_EQ(QImage(dir.filePath(name)).size(), QSize(60, 30)) << name.toStdString();
    }
}

TEST(InspectCommandTest, EveryGridSizeEndsWithPicturesOrAMessage)
{
    QTemporaryDir dir;
    const QString ring = writeRing(dir, 300);
    const QList<QPair<int, int>> sizes{{1, 1}, {2, 3}, {3, 2}, {5, 7}, {127, 127}, {181, 181}, {32767, 1}, {200, 200},
                                       {32767, 32767}};
    for (const auto& [width, height] : sizes) {
        const Outcome outcome =
            inspect(QStringLiteral("%1 --size %2 %3 --out %4").arg(ring).arg(width).arg(height).arg(dir.filePath("out")));
        const std::string label = std::to_string(width) + " x " + std::to_string(height);
        ASSERT_TRUE(outcome.exitCode == 0 || outcome.exitCode == 2) << label << ": " << outcome.err.toStdString();
        if (width * height > 32767) {
            EXPECT_EQ(outcome.exitCode, 2) << label;
        }
        if (outcome.exitCode == 2) {
            EXPECT_TRUE(outcome.err.contains(QStringLiteral("overflow"))) << label << ": " << outcome.err.toStdString();
            EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1) << label << ": one line, not the usage text";
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
        EXPECT_TRUE(outcome.err.contains(QStringLiteral("inspect IMAGE"))) << outcome.err.toStdString();
    }
}

TEST(InspectCommandTest, ARealFaceHasEdgesInManyDirections)
{
    const QString photo = testPhoto(QStringLiteral("astronaut.png"));
    if (!QFile::exists(photo)) {
        GTEST_SKIP() << "the test photos are not set up";
    }
    QTemporaryDir dir;
    const Outcome outcome = inspect(photo + QStringLiteral(" --out ") + dir.path());
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const QMap<QString, QString> summary = summaryOf(outcome.out);
    EXPECT_GT(summary.value(QStringLiteral("traceCount")).toInt(), 0);
    for (const char* histogram : {"angleHistogram", "edgeHistogram"}) {
        int binsUsed = 0;
        for (const QString& value : summary.value(QLatin1String(histogram)).split(QLatin1Char(' '))) {
            binsUsed += value.toInt() > 0 ? 1 : 0;
        }
        EXPECT_GE(binsUsed, 3) << histogram;
    }
}
