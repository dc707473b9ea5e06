// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "ProgramRunner.h"
#include "WaitUntil.h"

#include "app/BackgroundIndexer.h"
#include "app/WatchedFoldersDialog.h"
#include "platform/Settings.h"
#include "search/FaceIndex.h"

#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace morvelin;
using namespace morvelin::testing;

namespace {

qint64 photosIndexed()
{
    return FaceIndex(FaceIndex::defaultPath(), QByteArray()).stats().photos;
}

} // namespace

// No search runs: inotify alone brings the copied photo in, and its deletion takes it out again.
TEST(WatchedFoldersTest, APhotoCopiedIntoAWatchedFolderIsIndexedAndForgottenOnceDeleted)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir folder;
    ASSERT_TRUE(Settings::watchFolder(folder.path()));
    BackgroundIndexer indexer(QStringLiteral(MORVELIN_DETECTOR_DATA));
    ASSERT_TRUE(waitUntil([&] { return indexer.status().folders == 1 && !indexer.status().working; }));

    const QString photo = folder.filePath(QStringLiteral("copied.jpg"));
    ASSERT_TRUE(QFile::copy(testPhoto(QStringLiteral("faces/bald_guys.jpg")), photo));
    // The scan runs at the lowest priority, behind whatever else keeps the machine busy.
    EXPECT_TRUE(waitUntil([] { return photosIndexed() == 1; }, 90000));
    EXPECT_TRUE(waitUntil([&] { return !indexer.status().working; }));

    ASSERT_TRUE(QFile::remove(photo));
    EXPECT_TRUE(waitUntil([] { return photosIndexed() == 0; }, 30000));
}

TEST(WatchedFoldersTest, TheDialogStoresWhatIsAddedAndRemovedAndTheIndexerFollows)
{
    QTemporaryDir first;
    QTemporaryDir second;
    BackgroundIndexer indexer(QStringLiteral(MORVELIN_DETECTOR_DATA));
    WatchedFoldersDialog dialog(indexer);
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("WatchedFolderList"));
    auto* remove = dialog.findChild<QPushButton*>(QStringLiteral("RemoveWatchedFolder"));
    ASSERT_TRUE(list && remove);

    dialog.addFolder(first.path());
    dialog.addFolder(second.path() + QStringLiteral("/."));
    dialog.addFolder(first.path());
    const QStringList both{first.path(), second.path()};
    EXPECT_EQ(Settings::watchedFolders(), both);
    EXPECT_EQ(indexer.folders(), both);
    ASSERT_EQ(list->count(), 2);
    EXPECT_FALSE(remove->isEnabled());

    list->setCurrentRow(0);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(Settings::watchedFolders(), QStringList{second.path()});
    EXPECT_EQ(indexer.folders(), QStringList{second.path()});
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), second.path());
    EXPECT_TRUE(waitUntil([&] { return WatchedFoldersDialog::statusText(indexer).contains(QStringLiteral("up to date")); }));
}
