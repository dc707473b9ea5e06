#include "search/TemporaryPhotoName.h"
#include "search/TimerText.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace morvelin;

TEST(TimerTextTest, SevenSignificantDigitsAndAPointOnlyForFractions)
{
    EXPECT_EQ(TimerText::format(4512345.0f), QStringLiteral("4512345"));
    EXPECT_EQ(TimerText::format(8639999.0f), QStringLiteral("8639999"));
    EXPECT_EQ(TimerText::format(152.5f), QStringLiteral("152.5"));
    EXPECT_EQ(TimerText::format(0.0f), QStringLiteral("0"));
    EXPECT_EQ(TimerText::at(QTime(12, 30, 15, 250)), QStringLiteral("4501525"));
    EXPECT_EQ(TimerText::at(QTime(0, 0, 1, 5)), QStringLiteral("100.5"));
}

TEST(TemporaryPhotoNameTest, NamesFollowThePatternAndNeverRepeat)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    std::set<QString> names;
    for (int i = 0; i < 20; ++i) {
        const QString name = TemporaryPhotoName::create(folder, QStringLiteral("QXT"));
        ASSERT_FALSE(name.isEmpty());
        EXPECT_TRUE(QFileInfo::exists(name));
        EXPECT_TRUE(name.startsWith(folder + QStringLiteral("QXT")));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^QXT[0-9.]+(_[0-9]+)?\\.jpg$"))
                        .match(QFileInfo(name).fileName())
                        .hasMatch())
            << name.toStdString();
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 20u) << "twenty names within the same hundredth of a second stay apart";

    EXPECT_TRUE(TemporaryPhotoName::create(dir.filePath(QStringLiteral("absent/")), QStringLiteral("QXT")).isEmpty());
    EXPECT_TRUE(TemporaryPhotoName::create(QString(), QStringLiteral("QXT")).isEmpty());
}
