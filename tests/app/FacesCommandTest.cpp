#include "ProgramRunner.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin::testing;

TEST(FacesCommandTest, ARealPortraitGivesOneFaceAndItsThumbnail)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir temp;
    QTemporaryDir out;
    const Outcome outcome = runProgram({QStringLiteral("faces"), testPhoto(QStringLiteral("astronaut.png")),
                                        QStringLiteral("--out"), out.path(), QStringLiteral("--matcher"),
                                        QStringLiteral("features")},
                                       temp.path());
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const QStringList fields = outcome.out.trimmed().split(QLatin1Char('\t'));
    ASSERT_EQ(fields.size(), 5) << outcome.out.toStdString();
    EXPECT_EQ(fields[0], QStringLiteral("1"));
    // The astronaut's face lies in the upper middle of the 512 x 512 picture.
    const int x1 = fields[1].toInt(), x2 = fields[2].toInt(), y1 = fields[3].toInt(), y2 = fields[4].toInt();
    EXPECT_LT(x1, x2);
    EXPECT_LT(y1, y2);
    EXPECT_GT(x1, 100);
    EXPECT_LT(x2, 350);
    EXPECT_LT(y2, 300);
    EXPECT_EQ(QImage(QDir(out.path()).filePath(QStringLiteral("face_1.png"))).size(), QSize(48, 48));
    EXPECT_EQ(QImage(QDir(out.path()).filePath(QStringLiteral("aligned_1.png"))).size(), QSize(112, 112));
    EXPECT_TRUE(QImage(QDir(out.path()).filePath(QStringLiteral("compared_1.png"))).allGray());
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "nothing is left in the temporary folder";
}

TEST(FacesCommandTest, GroupPhotosListFacesInReadingOrder)
{
    SKIP_WITHOUT_PHOTOS();
    const Outcome outcome = runProgram({QStringLiteral("faces"), testPhoto(QStringLiteral("faces/bald_guys.jpg"))});
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const QStringList lines = outcome.out.trimmed().split(QLatin1Char('\n'));
    EXPECT_GE(lines.size(), 20) << "bald_guys.jpg shows two dozen faces";
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].startsWith(QString::number(i + 1) + QLatin1Char('\t'))) << lines[i].toStdString();
    }
}

TEST(FacesCommandTest, NoFaceUnreadableOrMissingPhotosSaySo)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir dir;
    QImage plain(640, 480, QImage::Format_RGB32);
    plain.fill(qRgb(30, 90, 200));
    const QString sky = dir.filePath(QStringLiteral("sky.jpg"));
    ASSERT_TRUE(plain.save(sky));
    const Outcome none = runProgram({QStringLiteral("faces"), sky});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, QStringLiteral("No faces found\n"));
    EXPECT_TRUE(none.out.isEmpty());

    const QString missing = dir.filePath(QStringLiteral("gone.jpg"));
    const Outcome absent = runProgram({QStringLiteral("faces"), missing});
    EXPECT_EQ(absent.exitCode, 2);
    EXPECT_EQ(absent.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(absent.err.contains(missing)) << absent.err.toStdString();

    const QString text = dir.filePath(QStringLiteral("notes.png"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("shopping list");
    file.close();
    const Outcome unreadable = runProgram({QStringLiteral("faces"), text});
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_TRUE(unreadable.err.contains(text)) << unreadable.err.toStdString();
}
