// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WinWelcome.h"

#include "platform/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "UserFolders.h"

#include <memory>

using namespace morvelin;

namespace {

const char* const labelNames[] = {"Welc", "FaceRec", "NoteTitle", "PNote", "HowtoStart"};

QLabel* label(QWidget& window, const char* name) { return window.findChild<QLabel*>(QLatin1String(name)); }
QCheckBox* showNextTime(QWidget& window) { return window.findChild<QCheckBox*>(QStringLiteral("ShowNextTime")); }

bool textFits(const QLabel* label)
{
    const QRect room(QPoint(0, 0), label->size());
    return QFontMetrics(label->font()).boundingRect(room, int(label->alignment()) | Qt::TextWordWrap, label->text())
               .height()
        <= room.height();
}

class WinWelcomeTest : public testing::Test {
protected:
    void SetUp() override
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_store.path());
        m_window = std::make_unique<WinWelcome>();
    }

    QString storedText() const
    {
        QFile file(m_store.path() + QStringLiteral("/Face Morvelin/Face Morvelin.conf"));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QStringLiteral("(nothing)");
    }

    QTemporaryDir m_store;
    std::unique_ptr<WinWelcome> m_window;
};

} // namespace

// The texts themselves are checked against the phrase book; a long one must still fit its label.
TEST_F(WinWelcomeTest, EveryTextFitsItsLabelAndTheBoxStartsTickedAndWritesTheSettingAtOnce)
{
    WinWelcome& window = *m_window;
    for (const char* name : labelNames) {
        EXPECT_TRUE(textFits(label(window, name))) << name;
    }
    QCheckBox* box = showNextTime(window);
    EXPECT_TRUE(box->isChecked());
    window.show();
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(storedText(), QStringLiteral("[Welcome]\nShowTip=0\n"));
    EXPECT_FALSE(Settings::showWelcome());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(storedText(), QStringLiteral("[Welcome]\nShowTip=1\n"));
    for (int click = 0; click < 3; ++click) {
        QTest::mouseClick(box, Qt::LeftButton);
    }
    EXPECT_EQ(storedText(), QStringLiteral("[Welcome]\nShowTip=0\n"));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WinWelcomeTest, ClosingAsksForTheMainWindowAndLeavesTheSettingAlone)
{
    QPointer<WinWelcome> window = m_window.release();
    int closes = 0;
    QObject::connect(window, &WinWelcome::closed, [&closes] { ++closes; });
    window->show();
    EXPECT_TRUE(window->close());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(storedText(), QStringLiteral("(nothing)"));
    QTest::qWait(50);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}
