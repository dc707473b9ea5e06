// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/FA_DriveListBox.h"

#include <QComboBox>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using morvelin::DrivePlace;
using morvelin::FA_DriveListBox;

namespace {

QComboBox* listOf(FA_DriveListBox& picker)
{
    return picker.findChild<QComboBox*>(QStringLiteral("Cmb"));
}

// What the user does: choose an entry of the drop-down list.
void pick(FA_DriveListBox& picker, const QString& text)
{
    QComboBox* list = listOf(picker);
    const int index = list->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
}

struct Entry {
    QString tag;
    int indent;
    bool browsed; // placed by UpdatePath, not one of the desktop's own places
};

std::vector<Entry> entriesOf(FA_DriveListBox& picker, bool browsedOnly = false)
{
    QComboBox* list = listOf(picker);
    std::vector<Entry> entries;
    for (int i = 0; i < list->count(); ++i) {
        const Entry entry{list->itemData(i, FA_DriveListBox::TagRole).toString(),
                          list->itemData(i, FA_DriveListBox::IndentRole).toInt(),
                          !list->itemData(i, FA_DriveListBox::KeyRole).toString().isEmpty()};
        if (entry.browsed || !browsedOnly) {
            entries.push_back(entry);
        }
    }
    return entries;
}

// A desktop with two drives, whatever the machine running the tests has.
class PickerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_desktop.path()).mkpath(QStringLiteral("Holiday")));
        const QString desktop = m_desktop.path();
        m_picker = std::make_unique<FA_DriveListBox>(std::vector<DrivePlace>{
            {QStringLiteral("Desktop"), desktop, {}, 0, false},
            {QStringLiteral("My Computer"), QStringLiteral("My Computer"), {}, 1, false},
            {QStringLiteral("/"), QStringLiteral("/"), {}, 2, true},
            {QStringLiteral("/media/USB"), QStringLiteral("/media/USB/"), {}, 2, true},
            {QStringLiteral("Holiday"), desktop + QStringLiteral("/Holiday"), {}, 1, false},
            {QStringLiteral("photos"), QStringLiteral("/srv/photos"), {}, 1, false},
            {QStringLiteral("Photos"), QStringLiteral("/srv/Photos"), {}, 1, false},
        });
    }

    QTemporaryDir m_desktop;
    std::unique_ptr<FA_DriveListBox> m_picker;
};

TEST_F(PickerTest, UpdatePathPlacesTheFoldersBelowTheirDriveAndPickingReplacesTheChain)
{
    m_picker->UpdatePath(QStringLiteral("/media/USB//Photos/2010/")); // the same as /media/USB/Photos/2010
    EXPECT_EQ(m_picker->SelPath(), QStringLiteral("/media/USB/Photos/2010"));
    EXPECT_EQ(m_picker->SelText(), QStringLiteral("2010"));
    const std::vector<Entry> entries = entriesOf(*m_picker);
    ASSERT_EQ(entries.size(), 10u);
    EXPECT_EQ(entries[4].tag, QStringLiteral("/media/USB/Photos"));
    EXPECT_TRUE(entries[4].browsed);
    EXPECT_EQ(entries[4].indent, 3);
    EXPECT_EQ(entries[5].indent, 4);

    m_picker->UpdatePath(QStringLiteral("/var/lib"));
    const std::vector<Entry> browsed = entriesOf(*m_picker, true);
    ASSERT_EQ(browsed.size(), 2u);
    EXPECT_EQ(browsed[1].tag, QStringLiteral("/var/lib"));
    EXPECT_EQ(entriesOf(*m_picker)[3].tag, QStringLiteral("/var")) << "right under the root drive";

    // Picking a place replaces the chain; a drive root alone adds nothing.
    pick(*m_picker, QStringLiteral("Holiday"));
    EXPECT_EQ(m_picker->SelPath(), m_desktop.path() + QStringLiteral("/Holiday"));
    const std::vector<Entry> picked = entriesOf(*m_picker, true);
    ASSERT_FALSE(picked.empty());
    EXPECT_EQ(picked.back().tag, m_picker->SelPath());
    for (const Entry& entry : picked) {
        EXPECT_FALSE(entry.tag.startsWith(QStringLiteral("/var"))) << entry.tag.toStdString();
    }
    pick(*m_picker, QStringLiteral("/media/USB"));
    EXPECT_TRUE(entriesOf(*m_picker, true).empty());
    m_picker->UpdatePath(QStringLiteral("/media/USB/"));
    EXPECT_EQ(m_picker->SelPath(), QStringLiteral("/media/USB/"));
    EXPECT_TRUE(entriesOf(*m_picker, true).empty());
}

TEST_F(PickerTest, SelPathMatchesCaseInsensitivelyButPrefersTheExactSpelling)
{
    m_picker->setSelPath(QStringLiteral("/MEDIA/usb/"));
    EXPECT_EQ(m_picker->SelPath(), QStringLiteral("/media/USB/"));
    m_picker->setSelPath(QStringLiteral("my computer"));
    EXPECT_EQ(m_picker->SelPath(), QStringLiteral("My Computer"));
    m_picker->setSelPath(QStringLiteral("/nowhere"));
    EXPECT_EQ(m_picker->SelPath(), QStringLiteral("My Computer"));
    m_picker->setSelPath(QStringLiteral("/srv/Photos"));
    EXPECT_EQ(m_picker->SelText(), QStringLiteral("Photos"));
    m_picker->setSelPath(QStringLiteral("/SRV/PHOTOS"));
    EXPECT_EQ(m_picker->SelText(), QStringLiteral("photos"));
}

TEST_F(PickerTest, PickingBrowseRaisesPathChangeThenBrowseOrOnlyBrowse)
{
    QStringList raised;
    QObject::connect(m_picker.get(), &FA_DriveListBox::PathChange, [&] { raised << QStringLiteral("PathChange"); });
    QObject::connect(m_picker.get(), &FA_DriveListBox::Browse, [&] { raised << QStringLiteral("Browse"); });
    const auto picked = [&](const QString& text) {
        raised.clear();
        pick(*m_picker, text);
        return raised.join(' ');
    };
    m_picker->setSelPath(QStringLiteral("/media/USB/"));
    EXPECT_EQ(picked(FA_DriveListBox::browseText()), QStringLiteral("PathChange Browse"));
    // Nobody placed a folder: the folder chosen before stays chosen.
    EXPECT_EQ(m_picker->SelPath(), QStringLiteral("/media/USB/"));

    m_picker->setClickEvent(1);
    EXPECT_EQ(picked(FA_DriveListBox::browseText()), QStringLiteral("Browse"));
    // With 1, only entries that are existing folders raise PathChange.
    EXPECT_EQ(picked(QStringLiteral("My Computer")), QString());
    EXPECT_EQ(m_picker->SelPath(), QStringLiteral("My Computer"));
    EXPECT_EQ(picked(QStringLiteral("Holiday")), QStringLiteral("PathChange"));
    m_picker->setClickEvent(0);
    EXPECT_EQ(picked(QStringLiteral("My Computer")), QStringLiteral("PathChange"));
}

TEST(SystemPicker, ListsThisDesktopAndPlacesARealFolderUnderItsDrive)
{
    FA_DriveListBox picker;
    const std::vector<Entry> entries = entriesOf(picker);
    ASSERT_GE(entries.size(), 3u);
    EXPECT_EQ(entries.back().tag, FA_DriveListBox::browseText());
    const auto computer =
        std::find_if(entries.begin(), entries.end(), [](const Entry& e) { return e.tag == QLatin1String("My Computer"); });
    ASSERT_NE(computer, entries.end());
    EXPECT_EQ(computer->indent, 1);
    EXPECT_EQ((computer + 1)->tag, QStringLiteral("/")) << "the root is the first drive";

    QTemporaryDir temporary;
    const QString folder = QDir::cleanPath(temporary.path() + QStringLiteral("/Photos/2010"));
    ASSERT_TRUE(QDir().mkpath(folder));
    picker.UpdatePath(folder);
    EXPECT_EQ(picker.SelPath(), folder);
    // The entry above the chain is the drive that holds the folder.
    const std::vector<Entry> after = entriesOf(picker);
    const auto first = std::find_if(after.begin(), after.end(), [](const Entry& e) { return e.browsed; });
    ASSERT_NE(first, after.end());
    EXPECT_EQ((first - 1)->indent, 2);
    EXPECT_TRUE(folder.startsWith((first - 1)->tag)) << (first - 1)->tag.toStdString();
}

} // namespace
