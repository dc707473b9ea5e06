// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "ProgramRunner.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin::testing;

namespace {

QStringList words(const QString& line, const QString& folder)
{
    return line.arg(folder).split(QLatin1Char(' '));
}

} // namespace

TEST(WatchedFoldersCommandTest, EachMistakeIsOneLineAndNothingIsStored)
{
    QTemporaryDir scratch;
    QFile file(scratch.filePath(QStringLiteral("photo.jpg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString usage = QStringLiteral("\nTry 'face-morvelin index --help'.\n");
    const std::pair<const char*, QString> cases[] = {
        {"index --watch", QStringLiteral("--watch needs a folder") + usage},
        {"index --watch %1/missing", QStringLiteral("cannot watch '%1/missing': No such file or directory") + usage},
        {"index --watch %1/photo.jpg", QStringLiteral("cannot watch '%1/photo.jpg': Not a directory") + usage},
        {"index --watch %1 %1", QStringLiteral("--watch takes one folder") + usage},
        {"index --unwatch %1", QStringLiteral("'%1' is not watched") + usage},
        {"index --list %1", QStringLiteral("--list takes no folder") + usage},
        {"index --update", QStringLiteral("--update needs a folder") + usage},
        {"index --watch %1 --list",
         QStringLiteral("index takes --stats, --clear, --prune, --list, --watch, --unwatch or --update") + usage},
        {"index --update %1 %1/missing", QStringLiteral("cannot index '%1/missing': No such file or directory\n")},
    };
    for (const auto& [line, message] : cases) {
        const Outcome outcome = runProgram(words(QLatin1String(line), scratch.path()));
        EXPECT_EQ(outcome.exitCode, 2) << line;
        EXPECT_EQ(outcome.err, QStringLiteral("face-morvelin: ") + message.arg(scratch.path())) << line;
    }
    EXPECT_EQ(runProgram({QStringLiteral("index"), QStringLiteral("--list")}).out, QString());
}

// What --update stored is what a search reads: not one photo is decoded again.
TEST(WatchedFoldersCommandTest, AnUpdatedFolderIsSearchedFromTheIndexAlone)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir photos;
    ASSERT_TRUE(QDir(photos.path()).mkdir(QStringLiteral("sub")));
    for (const char* name : {"bald_guys.jpg", "2008_001009.jpg"}) {
        ASSERT_TRUE(QFile::copy(testPhoto(QStringLiteral("faces/") + QLatin1String(name)),
                                photos.filePath(QStringLiteral("sub/") + QLatin1String(name))));
    }
    const QString untidy = photos.path() + QStringLiteral("/sub/..//");
    EXPECT_EQ(runProgram({QStringLiteral("index"), QStringLiteral("--watch"), untidy}).exitCode, 0);
    EXPECT_EQ(runProgram({QStringLiteral("index"), QStringLiteral("--list")}).out, photos.path() + QLatin1Char('\n'));

    const Outcome update = runProgram({QStringLiteral("index"), QStringLiteral("--update"), photos.path()});
    EXPECT_EQ(update.exitCode, 0) << update.err.toStdString();
    EXPECT_TRUE(update.err.contains(QStringLiteral("2 of 2 photos checked"))) << update.err.toStdString();

    const Outcome search = runProgram({QStringLiteral("search"), QStringLiteral("--face"),
                                       testPhoto(QStringLiteral("astronaut.png")), QStringLiteral("--recursive"),
                                       QStringLiteral("--json"), photos.path()});
    const QJsonObject report = QJsonDocument::fromJson(search.out.toUtf8()).object();
    EXPECT_EQ(report.value(QStringLiteral("photosScanned")).toInt(), 2) << search.err.toStdString();
    EXPECT_EQ(report.value(QStringLiteral("photosFromIndex")).toInt(), 2) << search.err.toStdString();

    EXPECT_EQ(runProgram({QStringLiteral("index"), QStringLiteral("--unwatch"), photos.path()}).exitCode, 0);
    EXPECT_EQ(runProgram({QStringLiteral("index"), QStringLiteral("--list")}).out, QString());
}
