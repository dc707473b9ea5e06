// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string_view>

using namespace morvelin;

namespace {

const QString storeName = QStringLiteral("Face Morvelin/Face Morvelin.conf");

QByteArray readStore(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(SettingsTest, TheSettingIsWrittenAtOnceToTheUsersConfigFileAsTheTextOneOrZero)
{
    // The test's main pointed XDG_CONFIG_HOME at a folder of its own.
    const QString store = qEnvironmentVariable("XDG_CONFIG_HOME") + '/' + storeName;
    ASSERT_TRUE(Settings::setShowTip(false));
    EXPECT_EQ(readStore(store), QByteArray("[Welcome]\nShowTip=0\n"));
    EXPECT_FALSE(Settings::showWelcome());
    ASSERT_TRUE(Settings::setShowTip(true));
    EXPECT_EQ(readStore(store), QByteArray("[Welcome]\nShowTip=1\n"));
    EXPECT_TRUE(Settings::showWelcome());
}

TEST(SettingsTest, OnlyTheExactTextOneShowsTheWelcomeWindowAndNothingOrAnUnreadableStoreShowsIt)
{
    const struct {
        const char* stored; // nothing: no file; "/": a folder where the file should be, unreadable even by root
        const char* read;
        bool show;
    } cases[] = {{"ShowTip=1\n", "1", true},   {"ShowTip=0\n", "0", false}, {"ShowTip=01\n", "01", false},
                 {"ShowTip=\n", "", false},    {"ShowTip=1, 0\n", "", false}, {"Other=0\n", "1", true},
                 {nullptr, "1", true},         {"/", "1", true}};
    for (const auto& each : cases) {
        // A fresh store for every case; QSettings reads each path only once per process otherwise.
        QTemporaryDir folder;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        const QString store = folder.path() + '/' + storeName;
        QDir().mkpath(QFileInfo(store).path());
        if (each.stored && each.stored == std::string_view("/")) {
            QDir().mkpath(store);
            EXPECT_FALSE(Settings::setShowTip(false));
        } else if (QFile file(store); each.stored) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray("[Welcome]\n") + each.stored) > 0);
        }
        EXPECT_EQ(Settings::showTip(), QString::fromLatin1(each.read)) << (each.stored ? each.stored : "no file");
        EXPECT_EQ(Settings::showWelcome(), each.show) << (each.stored ? each.stored : "no file");
    }
}

// A search of "/" with sub-folders would walk the whole disk: the first default is the Pictures folder.
TEST(SettingsTest, LookInIsRememberedWithTheSubFoldersBoxAndStartsAtThePicturesFolder)
{
    QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    QDir().mkpath(pictures);
    EXPECT_EQ(Settings::lookIn(), pictures);
    EXPECT_FALSE(Settings::searchSubFolders());
    ASSERT_TRUE(Settings::setLookIn(folder.path(), true));
    EXPECT_EQ(Settings::lookIn(), folder.path());
    EXPECT_TRUE(Settings::searchSubFolders());
    // A folder that went away falls back rather than leaving the picker empty.
    ASSERT_TRUE(Settings::setLookIn(folder.path() + QStringLiteral("/gone"), false));
    EXPECT_EQ(Settings::lookIn(), pictures);
    QDir(pictures).removeRecursively();
    EXPECT_EQ(Settings::lookIn(), QDir::homePath());
}
