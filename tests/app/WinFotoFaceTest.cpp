// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "GridQuery.h"
#include "app/WinFotoFace.h"

#include "ProgramRunner.h"
#include "app/Helpers.h"
#include "controls/FlatButton.h"
#include "search/FacePictureLoader.h"
#include "search/FaceScore.h"
#include "search/PhotoScan.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

QString dataPath()
{
    return QStringLiteral(MORVELIN_DETECTOR_DATA);
}

QImage greyFace()
{
    QImage face(48, 48, QImage::Format_RGB32);
    face.fill(qRgb(160, 160, 160));
    return face;
}

// What the window showed while a real scan of `photo` ran, read after each of its updates.
struct Shown {
    QStringList statuses;
    QStringList faceTitles;
    QRect targetPicture;
    bool idleOnCompleted = false;
};

Shown scanInWindow(const QString& photo)
{
    auto* scan = new PhotoScan(gridQuery(greyFace()));
    WinFotoFace window(greyFace());
    window.Start(scan);
    window.show();
    Shown shown;
    auto* status = window.findChild<QLabel*>(QStringLiteral("DetailedStatus"));
    auto* title = window.findChild<QLabel*>(QStringLiteral("FaceDetTitle"));
    auto* target = window.findChild<QLabel*>(QStringLiteral("TargetPicture"));
    // Connected after the window's own handlers, so these see what the window just showed.
    QObject::connect(scan, &PhotoScan::stageChanged, [&, status] { shown.statuses.append(status->text()); });
    QObject::connect(scan, &PhotoScan::photoLoaded, [&, target] { shown.targetPicture = target->geometry(); });
    QObject::connect(scan, &PhotoScan::faceScored, [&, title] { shown.faceTitles.append(title->text()); });
    scan->Start(photo, dataPath());
    QSignalSpy completed(&window, &WinFotoFace::ScanCompleted);
    shown.idleOnCompleted = completed.wait(60000) && window.isIdle() && window.isVisible();
    delete scan;
    return shown;
}

} // namespace

TEST(WinFotoFaceTest, TheFaceTitleTruncatesTheScoreToWholePerCent)
{
    for (const auto& [distance, title] : {std::pair{0, "Face: 2\n100%"}, {1, "Face: 2\n99%"}, {50000, "Face: 2\n85%"},
                                          {107136, "Face: 2\n70%"}, {107137, "Face: 2\n69%"}}) {
        const qint64 score = FaceScore::fromDistance(distance).tenThousandths();
        EXPECT_EQ(WinFotoFace::faceTitle(2, score), QString::fromLatin1(title)) << distance;
    }
    EXPECT_EQ(WinFotoFace::faceTitle(2, 876543), QStringLiteral("Face: 2\n87%"));
}

TEST(WinFotoFaceTest, ItsStopAsksTheSearchToStopAndItsCloseLeavesTheProgramRunning)
{
    WinFotoFace window(greyFace());
    EXPECT_FALSE(window.testAttribute(Qt::WA_QuitOnClose)) << "closing a scan window must not end the program";
    auto* stop = window.findChild<FlatButton*>(QStringLiteral("StopSearch"));
    ASSERT_NE(stop, nullptr);
    QSignalSpy stopClicked(&window, &WinFotoFace::StopSearchClicked);
    emit stop->Click();
    EXPECT_EQ(stopClicked.count(), 1);
}

TEST(WinFotoFaceTest, ShowsRealScansWithAndWithoutFacesAndStaysForTheNextWhenEachCompletes)
{
    SKIP_WITHOUT_PHOTOS();
    const QString photo = morvelin::testing::testPhoto(QStringLiteral("faces/2008_001009.jpg"));
    const Shown shown = scanInWindow(photo);

    ASSERT_TRUE(shown.idleOnCompleted);
    ASSERT_FALSE(shown.statuses.isEmpty());
    EXPECT_TRUE(shown.statuses.first().startsWith(QStringLiteral("Loading /"))) << shown.statuses.first().toStdString();
    EXPECT_TRUE(shown.statuses.first().endsWith(QStringLiteral("001009.jpg"))) << "a long path gives way in its middle";
    EXPECT_TRUE(shown.statuses.contains(QStringLiteral("Detecting Faces...")));
    EXPECT_TRUE(shown.statuses.contains(QStringLiteral("Comparing faces...")));
    EXPECT_EQ(shown.statuses.last(), QStringLiteral("Completed."));
    ASSERT_EQ(shown.faceTitles.size(), 2);
    EXPECT_TRUE(shown.faceTitles[0].startsWith(QStringLiteral("Face: 1\n")));
    EXPECT_TRUE(shown.faceTitles[1].startsWith(QStringLiteral("Face: 2\n")));
    EXPECT_TRUE(shown.faceTitles[1].endsWith(QLatin1Char('%')));
    // 360 x 480 is portrait: 1500 twips (100 pixels) high, 75 wide, centred in 388 (2347.5 twips from the left).
    EXPECT_EQ(shown.targetPicture, QRect(157, 112, 75, 100));

    // A landscape photo without faces.
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.png"));
    ASSERT_TRUE(greyFace().scaled(640, 480).save(plain));
    const Shown none = scanInWindow(plain);
    ASSERT_TRUE(none.idleOnCompleted);
    EXPECT_TRUE(none.faceTitles.isEmpty());
    EXPECT_EQ(none.statuses.last(), QStringLiteral("Completed."));
    EXPECT_EQ(none.targetPicture.size(), QSize(133, 100));
}
