#include "ProgramRunner.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin::testing;

namespace {

// A 48 x 48 face picture: left half at one level, right half at another.
QString writeFace(const QString& folder, const QString& name, int left, int right)
{
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(qRgb(left, left, left));
    QPainter(&image).fillRect(24, 0, 24, 48, QColor(right, right, right));
    const QString path = QDir(folder).filePath(name);
    image.save(path);
    return path;
}

Outcome identify(const QString& gallery, const QString& image)
{
    return runProgram({QStringLiteral("identify"), QStringLiteral("--gallery"), gallery, image});
}

} // namespace

TEST(IdentifyCommandTest, PrintsTheNearestNameDirectlyFollowedByItsDistance)
{
    QTemporaryDir gallery;
    QTemporaryDir probes;
    writeFace(gallery.path(), QStringLiteral("anna.png"), 120, 120);
    writeFace(gallery.path(), QStringLiteral("ben.bmp"), 200, 90);
    writeFace(gallery.path(), QStringLiteral("cleo.v2.png"), 150, 150);
    QFile notes(QDir(gallery.path()).filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("not a face\n");
    notes.close();

    const Outcome ben = identify(gallery.path(), writeFace(probes.path(), QStringLiteral("probe.png"), 200, 90));
    ASSERT_EQ(ben.exitCode, 0) << ben.err.toStdString();
    EXPECT_EQ(ben.out, QStringLiteral("ben0\n"));

    // 160 lowers to 60: cleo's 50 is nearer than anna's 20, and the name keeps its inner dot.
    const Outcome cleo = identify(gallery.path(), writeFace(probes.path(), QStringLiteral("grey.png"), 160, 160));
    EXPECT_EQ(cleo.out, QStringLiteral("cleo.v223040\n"));

    // 135 lowers to 35, 15 from anna's 20 and from cleo's 50: the first by name wins.
    const Outcome tie = identify(gallery.path(), writeFace(probes.path(), QStringLiteral("tie.png"), 135, 135));
    EXPECT_EQ(tie.out, QStringLiteral("anna34560\n"));
}

TEST(IdentifyCommandTest, BadGalleriesAndPicturesAreNamedAndExitTwo)
{
    QTemporaryDir dir;
    const QString probe = writeFace(dir.path(), QStringLiteral("probe.png"), 200, 200);
    const QString empty = dir.filePath(QStringLiteral("empty"));
    QDir().mkpath(empty);
    const QString broken = dir.filePath(QStringLiteral("broken"));
    QDir().mkpath(broken);
    writeFace(broken, QStringLiteral("fine.png"), 10, 10);
    QFile damaged(QDir(broken).filePath(QStringLiteral("damaged.png")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x89PNG but not really");
    damaged.close();
    const QString missing = dir.filePath(QStringLiteral("missing.png"));

    const struct {
        QString gallery;
        QString image;
        QString named;
    } cases[] = {
        {dir.filePath(QStringLiteral("nowhere")), probe, dir.filePath(QStringLiteral("nowhere"))},
        {probe, probe, probe},
        {empty, probe, empty},
        {broken, probe, damaged.fileName()},
        {dir.path(), missing, missing},
    };
    for (const auto& c : cases) {
        const Outcome outcome = identify(c.gallery, c.image);
        EXPECT_EQ(outcome.exitCode, 2) << c.named.toStdString();
        EXPECT_TRUE(outcome.out.isEmpty());
        EXPECT_TRUE(outcome.err.contains(c.named)) << outcome.err.toStdString();
        EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1) << outcome.err.toStdString();
    }

    // %1 the gallery, %2 the picture.
    for (const char* arguments : {"identify %2", "identify --gallery %1", "identify --gallery",
                                  "identify --gallery %1 %2 %2"}) {
        const Outcome outcome =
            runProgram(QString::fromLatin1(arguments).replace("%1", dir.path()).replace("%2", probe).split(' '));
        EXPECT_EQ(outcome.exitCode, 2) << arguments;
        EXPECT_TRUE(outcome.err.contains(QStringLiteral("identify --gallery DIR IMAGE"))) << outcome.err.toStdString();
    }
}

TEST(IdentifyCommandTest, ARealPhotoIsFoundAmongItsVariants)
{
    const QString photo = testPhoto(QStringLiteral("astronaut.png"));
    if (!QFile::exists(photo)) {
        GTEST_SKIP() << "the test photos are not set up";
    }
    QTemporaryDir gallery;
    const QImage original(photo);
    ASSERT_FALSE(original.isNull());
    original.mirrored(true, false).save(QDir(gallery.path()).filePath(QStringLiteral("mirrored.png")));
    original.mirrored(false, true).save(QDir(gallery.path()).filePath(QStringLiteral("upside-down.png")));
    original.save(QDir(gallery.path()).filePath(QStringLiteral("astronaut.png")));
    const Outcome outcome = identify(gallery.path(), photo);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_EQ(outcome.out, QStringLiteral("astronaut0\n"));
}
