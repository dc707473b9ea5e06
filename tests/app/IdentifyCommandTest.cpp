// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "ProgramRunner.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin::testing;

namespace {

// A 48 x 48 face picture: left half at one level, right half at another.
QString writeFace(const QString& path, int left, int right)
{
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(qRgb(left, left, left));
    QPainter(&image).fillRect(24, 0, 24, 48, QColor(right, right, right));
    image.save(path);
    return path;
}

Outcome identify(const QString& gallery, const QString& image)
{
    return runProgram({QStringLiteral("identify"), QStringLiteral("--gallery"), gallery, image});
}

} // namespace

TEST(IdentifyCommandTest, PrintsTheNearestNameAndItsDistanceAsTextOrJson)
{
    QTemporaryDir gallery;
    QTemporaryDir probes;
    writeFace(gallery.filePath(QStringLiteral("anna.png")), 120, 120);
    writeFace(gallery.filePath(QStringLiteral("ben.bmp")), 200, 90);
    writeFace(gallery.filePath(QStringLiteral("cleo.v2.png")), 150, 150);
    QFile notes(gallery.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("not a face\n") > 0);
    notes.close();
    // 160 lowers to 60: cleo's 50 is nearer than anna's 20, and the name keeps its inner dot.
    // 135 lowers to 35, 15 from anna's 20 and from cleo's 50: the first by name wins.
    for (const auto& [left, right, expected] : {std::tuple{200, 90, "ben\t0\n"}, {160, 160, "cleo.v2\t23040\n"}, {135, 135, "anna\t34560\n"}}) {
        const Outcome outcome = identify(gallery.path(), writeFace(probes.filePath(QStringLiteral("probe.png")), left, right));
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
        EXPECT_EQ(outcome.out, QLatin1String(expected));
    }
    // A name ending in digits stays apart from its distance.
    writeFace(gallery.filePath(QStringLiteral("person15.png")), 10, 10);
    const QString probe = writeFace(probes.filePath(QStringLiteral("probe.png")), 40, 40);
    const Outcome json = runProgram({QStringLiteral("identify"), QStringLiteral("--json"), QStringLiteral("--gallery"),
                                     gallery.path(), probe});
    EXPECT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonArray answers = QJsonDocument::fromJson(json.out.toUtf8()).array();
    ASSERT_EQ(answers.size(), 1) << json.out.toStdString();
    EXPECT_EQ(answers[0].toObject().value(QStringLiteral("name")).toString(), QStringLiteral("person15"));
    EXPECT_EQ(identify(gallery.path(), probe).out,
              QStringLiteral("person15\t%1\n").arg(answers[0].toObject().value(QStringLiteral("distance")).toInt()));
}

TEST(IdentifyCommandTest, BadGalleriesAndPicturesAreNamedAndExitTwo)
{
    QTemporaryDir dir;
    const QString probe = writeFace(dir.filePath(QStringLiteral("probe.png")), 200, 200);
    const QString empty = dir.filePath(QStringLiteral("empty"));
    const QString broken = dir.filePath(QStringLiteral("broken"));
    QDir().mkpath(empty);
    QDir().mkpath(broken);
    writeFace(broken + QStringLiteral("/fine.png"), 10, 10);
    QFile damaged(broken + QStringLiteral("/damaged.png"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly) && damaged.write("\x89PNG but not really") > 0);
    damaged.close();
    const QString nowhere = dir.filePath(QStringLiteral("nowhere"));
    const QString missing = dir.filePath(QStringLiteral("missing.png"));
    const struct {
        QString gallery;
        QString image;
        QString named;
    } cases[] = {{nowhere, probe, nowhere}, {probe, probe, probe}, {empty, probe, empty},
                 {broken, probe, damaged.fileName()}, {dir.path(), missing, missing}};
    for (const auto& c : cases) {
        const Outcome outcome = identify(c.gallery, c.image);
        EXPECT_EQ(outcome.exitCode, 2) << c.named.toStdString();
        EXPECT_TRUE(outcome.out.isEmpty());
        EXPECT_TRUE(outcome.err.contains(c.named)) << outcome.err.toStdString();
        EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1) << outcome.err.toStdString();
    }
    // %1 the gallery, %2 the picture.
    for (const char* arguments : {"identify %2", "identify --gallery %1", "identify --gallery", "identify --gallery %1 %2 %2"}) {
        const Outcome outcome = runProgram(QString::fromLatin1(arguments).replace("%1", dir.path()).replace("%2", probe).split(' '));
        EXPECT_EQ(outcome.exitCode, 2) << arguments;
        EXPECT_TRUE(outcome.err.endsWith(QStringLiteral("\nTry 'face-morvelin identify --help'.\n"))) << outcome.err.toStdString();
    }
}

TEST(IdentifyCommandTest, ARealPhotoIsFoundAmongItsVariants)
{
    const QImage original(testPhoto(QStringLiteral("astronaut.png")));
    if (original.isNull()) {
        GTEST_SKIP() << "the test photos are not set up";
    }
    QTemporaryDir gallery;
    original.mirrored(true, false).save(gallery.filePath(QStringLiteral("mirrored.png")));
    original.mirrored(false, true).save(gallery.filePath(QStringLiteral("upside-down.png")));
    original.save(gallery.filePath(QStringLiteral("astronaut.png")));
    const Outcome outcome = identify(gallery.path(), testPhoto(QStringLiteral("astronaut.png")));
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_EQ(outcome.out, QStringLiteral("astronaut\t0\n"));
}
