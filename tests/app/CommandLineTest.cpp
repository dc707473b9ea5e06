// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "ProgramRunner.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using morvelin::testing::Outcome;
using morvelin::testing::runProgram;

namespace {

QString writeGrey(const QTemporaryDir& dir, const QString& name, int level, int size = 48)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(qRgb(level, level, level));
    const QString path = dir.filePath(name);
    image.save(path);
    return path;
}

} // namespace

TEST(CommandLineTest, CompareWritesDistanceScoreAndListKey)
{
    QTemporaryDir dir;
    const QString white = writeGrey(dir, QStringLiteral("white.png"), 255);
    const QString black = writeGrey(dir, QStringLiteral("black.jpg"), 0, 60);
    const QString grey = writeGrey(dir, QStringLiteral("grey.bmp"), 101);

    Outcome same = runProgram({QStringLiteral("compare"), white, white});
    EXPECT_EQ(same.exitCode, 0) << same.err.toStdString();
    EXPECT_EQ(same.out, QStringLiteral("0\t100.0000\t100000\n"));

    Outcome opposite = runProgram({QStringLiteral("compare"), black, white});
    EXPECT_EQ(opposite.out, QStringLiteral("357120\t0.0000\t0\n"));

    Outcome floor = runProgram({QStringLiteral("compare"), grey, black});
    EXPECT_EQ(floor.out, QStringLiteral("2304\t99.3548\t99355\n"));
    EXPECT_TRUE(floor.err.isEmpty()) << floor.err.toStdString();
}

TEST(CommandLineTest, UnreadableInputNamesTheFileAndExitsTwo)
{
    QTemporaryDir dir;
    const QString white = writeGrey(dir, QStringLiteral("white.png"), 255);
    const QString missing = dir.filePath(QStringLiteral("missing.png"));

    Outcome outcome = runProgram({QStringLiteral("compare"), white, missing});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(missing)) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("no such file"))) << outcome.err.toStdString();
}

TEST(CommandLineTest, WrongUsageShowsTheVerbsAndExitsTwo)
{
    // Without any argument the program starts its windows, so that is no usage error.
    for (const QStringList& arguments : {QStringList{QStringLiteral("compare")},
                                         QStringList{QStringLiteral("compare"), QStringLiteral("a"),
                                                     QStringLiteral("b"), QStringLiteral("c")},
                                         QStringList{QStringLiteral("frobnicate")}}) {
        Outcome outcome = runProgram(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(outcome.out.isEmpty());
        EXPECT_TRUE(outcome.err.contains(QStringLiteral("compare A B"))) << outcome.err.toStdString();
    }

    Outcome help = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("compare A B")));

    Outcome version = runProgram({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("face-morvelin "))) << version.out.toStdString();
}

TEST(CommandLineTest, TheFirstMistakeOnTheLineIsTheOneReported)
{
    const std::pair<const char*, const char*> cases[] = {
        {"faces a b --foo", "faces takes one photo"},
        {"faces --foo a b", "faces does not know the option '--foo'"},
        {"faces -- a b", "faces takes one photo"}, // "--" ends the options; what follows are operands
        {"faces -- --out o", "faces takes one photo"},
        {"faces --out=o a", "faces does not know the option '--out=o'"},
        {"faces -x -out", "faces takes one photo"},
        {"faces --matcher grid --matcher", "--matcher takes features or grid"},
        {"search --face a --jobs x b c", "--jobs takes a whole number from 1 up"},
        {"search --face a b c --jobs x", "search takes one folder"},
        {"search --face --pick b --pick", "--pick needs a value"},
        {"inspect a --size 20 --out o", "--size takes a width and a height, whole numbers from 1 to 32767"},
        {"inspect --out --size 3 3", "inspect takes one image"},
        {"identify --gallery --gallery", "identify needs an image"},
        {"index --stats --stats", "index takes --stats or --clear"},
    };
    for (const auto& [line, message] : cases) {
        const Outcome outcome = runProgram(QString::fromLatin1(line).split(QLatin1Char(' ')));
        EXPECT_EQ(outcome.exitCode, 2) << line;
        const QString firstLine = outcome.err.section(QLatin1Char('\n'), 0, 0);
        EXPECT_EQ(firstLine, QStringLiteral("face-morvelin: ") + QLatin1String(message)) << line;
    }
}
