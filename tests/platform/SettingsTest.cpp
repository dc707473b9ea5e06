#include "platform/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace morvelin;

namespace {

const QString storeName = QStringLiteral("Face Morvelin/Face Morvelin.conf");

class SettingsTest : public testing::Test {
protected:
    // A fresh store for every case; QSettings reads each path only once per process otherwise.
    QString useFreshStore()
    {
        m_folders.emplace_back(std::make_unique<QTemporaryDir>());
        const QString folder = m_folders.back()->path();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
        return folder + QLatin1Char('/') + storeName;
    }

    static void writeStore(const QString& path, const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    }

    static QByteArray readStore(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::vector<std::unique_ptr<QTemporaryDir>> m_folders;
};

} // namespace

TEST_F(SettingsTest, TheStoreIsTheUsersConfigFile)
{
    // The test's main pointed XDG_CONFIG_HOME at a folder of its own; first, so that no other case
    // has moved the store yet.
    ASSERT_TRUE(Settings::setShowTip(false));
    EXPECT_EQ(readStore(qEnvironmentVariable("XDG_CONFIG_HOME") + '/' + storeName), QByteArray("[Welcome]\nShowTip=0\n"));
}

TEST_F(SettingsTest, OnlyTheExactTextOneShowsTheWelcomeWindow)
{
    struct Case {
        const char* stored;
        const char* read;
        bool show;
    };
    for (const Case& each : {Case{"ShowTip=1\n", "1", true}, Case{"ShowTip=0\n", "0", false},
                             Case{"ShowTip=01\n", "01", false}, Case{"ShowTip=\n", "", false},
                             Case{"ShowTip=1, 0\n", "", false},
                             Case{"Other=0\n", "1", true}}) {
        const QString store = useFreshStore();
        writeStore(store, QByteArray("[Welcome]\n") + each.stored);
        EXPECT_EQ(Settings::showTip(), QString::fromLatin1(each.read)) << each.stored;
        EXPECT_EQ(Settings::showWelcome(), each.show) << each.stored;
    }
}

TEST_F(SettingsTest, NothingStoredOrAnUnreadableStoreShowsTheWelcomeWindow)
{
    useFreshStore();
    EXPECT_EQ(Settings::showTip(), QStringLiteral("1"));
    EXPECT_TRUE(Settings::showWelcome());

    // A folder where the file should be cannot be read, even by root.
    const QString store = useFreshStore();
    ASSERT_TRUE(QDir().mkpath(store));
    EXPECT_EQ(Settings::showTip(), QStringLiteral("1"));
    EXPECT_TRUE(Settings::showWelcome());
    EXPECT_FALSE(Settings::setShowTip(false));
}

TEST_F(SettingsTest, TheSettingIsWrittenAtOnceAsTheTextOneOrZero)
{
    const QString store = useFreshStore();
    ASSERT_TRUE(Settings::setShowTip(false));
    EXPECT_EQ(readStore(store), QByteArray("[Welcome]\nShowTip=0\n"));
    EXPECT_FALSE(Settings::showWelcome());
    ASSERT_TRUE(Settings::setShowTip(true));
    EXPECT_EQ(readStore(store), QByteArray("[Welcome]\nShowTip=1\n"));
    EXPECT_TRUE(Settings::showWelcome());
}
