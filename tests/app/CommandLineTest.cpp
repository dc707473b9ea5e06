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

TEST(CommandLineTest, CompareWritesDistanceScoreAndListKeyOrNamesTheUnreadableFile)
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

    // An unreadable picture is named, and the exit status is 2.
    const QString missing = dir.filePath(QStringLiteral("missing.png"));
    Outcome outcome = runProgram({QStringLiteral("compare"), white, missing});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_TRUE(outcome.out.isEmpty());
    EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(missing)) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("no such file"))) << outcome.err.toStdString();
}

// help2man reads these: a synopsis line per verb, every verb's help reachable, lines that fit.
TEST(CommandLineTest, EveryVerbHasItsOwnHelpAndAUsageLineInTheGeneralHelp)
{
    const Outcome general = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(general.exitCode, 0);
    for (const char* verb : {"compare", "faces", "search", "inspect", "identify", "index"}) {
        const QString name = QLatin1String(verb);
        EXPECT_TRUE(general.out.contains(QStringLiteral("\n  or:  face-morvelin %1 ").arg(name))) << verb;
        for (const QStringList& asking : {QStringList{name, QStringLiteral("-h")},
                                          QStringList{name, QStringLiteral("a"), QStringLiteral("--help")}}) {
            const Outcome help = runProgram(asking);
            EXPECT_EQ(help.exitCode, 0) << verb;
            EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
            EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: face-morvelin %1 ").arg(name))) << verb;
            EXPECT_TRUE(help.out.contains(QStringLiteral("\n\nOptions:\n  -"))) << help.out.toStdString();
            for (const QString& line : help.out.split(QLatin1Char('\n')).mid(1)) {
                EXPECT_LE(line.size(), 79) << line.toStdString();
            }
        }
    }
    // After "--" the word is a file's name.
    EXPECT_EQ(runProgram({QStringLiteral("compare"), QStringLiteral("--"), QStringLiteral("--help")}).exitCode, 2);

    const Outcome version = runProgram({QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(QStringLiteral("face-morvelin "))) << version.out.toStdString();
}

// A mistake is one line, the first on the command line, followed by where the verb's help is.
TEST(CommandLineTest, TheFirstMistakeIsOneLineFollowedByWhereTheHelpIs)
{
    // Without any argument the program starts its windows, so that is no usage error.
    const struct {
        const char* line;
        const char* verb; // whose help is named
        const char* message;
    } cases[] = {
        {"compare", "compare", nullptr},
        {"compare a b c", "compare", nullptr},
        {"search --face", "search", nullptr},
        {"index", "index", nullptr},
        {"frobnicate", nullptr, nullptr},
        {"--face", nullptr, nullptr},
        {"faces a b --foo", "faces", "faces takes one photo"},
        {"faces --foo a b", "faces", "faces does not know the option '--foo'"},
        {"faces -- a b", "faces", "faces takes one photo"}, // "--" ends the options; what follows are operands
        {"faces -- --out o", "faces", "faces takes one photo"},
        {"faces --out=o a", "faces", "faces does not know the option '--out=o'"},
        {"faces -x -out", "faces", "faces takes one photo"},
        {"faces --matcher grid --matcher", "faces", "--matcher takes features or grid"},
        {"search --face a --jobs x b c", "search", "--jobs takes a whole number from 1 up"},
        {"search --face a b c --jobs x", "search", "search takes one folder"},
        {"search --face --pick b --pick", "search", "--pick needs a value"},
        {"inspect a --size 20 --out o", "inspect", "--size takes a width and a height, whole numbers from 1 to 32767"},
        {"inspect --out --size 3 3", "inspect", "inspect takes one image"},
        {"identify --gallery --gallery", "identify", "identify needs an image"},
        {"index --stats --prune", "index", "index takes --stats, --clear, --prune, --list, --watch, --unwatch or --update"},
    };
    for (const auto& [line, verb, message] : cases) {
        const Outcome outcome = runProgram(QString::fromLatin1(line).split(QLatin1Char(' ')));
        EXPECT_EQ(outcome.exitCode, 2) << line;
        EXPECT_TRUE(outcome.out.isEmpty()) << line;
        const QStringList lines = outcome.err.split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 3) << outcome.err.toStdString();
        EXPECT_TRUE(lines[0].startsWith(QStringLiteral("face-morvelin: "))) << line;
        if (message) {
            EXPECT_EQ(lines[0], QStringLiteral("face-morvelin: ") + QLatin1String(message)) << line;
        }
        const QString help = verb ? QLatin1String(verb) + QStringLiteral(" --help") : QStringLiteral("--help");
        EXPECT_EQ(lines[1], QStringLiteral("Try 'face-morvelin %1'.").arg(help)) << line;
    }
}
