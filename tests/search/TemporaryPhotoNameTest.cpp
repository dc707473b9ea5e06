// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/TemporaryPhotoName.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace morvelin;

TEST(TemporaryPhotoNameTest, NamesFollowThePatternAndNeverRepeat)
{
    QTemporaryDir dir;
    const QRegularExpression pattern(QStringLiteral("^QXT[0-9.]+(_[0-9]+)?\\.jpg$"));
    std::set<QString> names;
    for (int i = 0; i < 20; ++i) {
        const QString name = TemporaryPhotoName::create(dir.path() + '/', QStringLiteral("QXT"));
        EXPECT_TRUE(QFileInfo::exists(name) && QFileInfo(name).path() == dir.path()) << name.toStdString();
        EXPECT_TRUE(pattern.match(QFileInfo(name).fileName()).hasMatch()) << name.toStdString();
        names.insert(name);
    }
    EXPECT_EQ(names.size(), 20u) << "twenty names within the same hundredth of a second stay apart";
    EXPECT_TRUE(TemporaryPhotoName::create(dir.filePath(QStringLiteral("absent/")), QStringLiteral("QXT")).isEmpty());
    EXPECT_TRUE(TemporaryPhotoName::create(QString(), QStringLiteral("QXT")).isEmpty());
}
