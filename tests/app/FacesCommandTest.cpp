// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "ProgramRunner.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace morvelin::testing;

TEST(FacesCommandTest, ARealPortraitGivesOneFaceAndItsThumbnailsAndAGroupPhotoItsFacesInOrder)
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

    // A group photo's faces, numbered in reading order.
    const Outcome group = runProgram({QStringLiteral("faces"), testPhoto(QStringLiteral("faces/bald_guys.jpg"))});
    ASSERT_EQ(group.exitCode, 0) << group.err.toStdString();
    const QStringList lines = group.out.trimmed().split(QLatin1Char('\n'));
    EXPECT_GE(lines.size(), 20) << "bald_guys.jpg shows two dozen faces";
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].startsWith(QString::number(i + 1) + QLatin1Char('\t'))) << lines[i].toStdString();
    }
}

// Her head pasted 60, 100 and 150 pixels wide into a 12-megapixel photo: each small face is found,
// by `faces` in the scaled photo's pixels and by a search in the photo's own.
TEST(FacesCommandTest, SmallFacesInALargePhotoAreFound)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir dir;
    const QImage head = QImage(testPhoto(QStringLiteral("astronaut.png"))).copy(140, 20, 180, 220);
    QImage photo(4000, 3000, QImage::Format_RGB32);
    photo.fill(qRgb(96, 112, 104));
    std::vector<QRect> pasted;
    {
        QPainter painter(&photo);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        for (const auto& [width, at] : {std::pair{60, QPoint(600, 500)}, std::pair{100, QPoint(1900, 1400)},
                                        std::pair{150, QPoint(3100, 2300)}}) {
            pasted.push_back(QRect(at, QSize(width, width * head.height() / head.width())));
            painter.drawImage(pasted.back(), head);
        }
    }
    const QString path = dir.filePath(QStringLiteral("wide-shot.jpg"));
    ASSERT_TRUE(photo.save(path, "JPEG", 92));
    const auto foundAt = [](const std::vector<QRect>& finds, const QRect& face) {
        return std::count_if(finds.begin(), finds.end(), [&](const QRect& find) { return face.contains(find.center()); });
    };

    const Outcome faces = runProgram({QStringLiteral("faces"), path});
    ASSERT_EQ(faces.exitCode, 0) << faces.err.toStdString();
    std::vector<QRect> scanned;
    for (const QString& line : faces.out.trimmed().split(QLatin1Char('\n'))) {
        const QStringList f = line.split(QLatin1Char('\t'));
        // The photo is scanned at 1600 x 1200: 0.4 of its own size.
        scanned.push_back(QRect(QPoint(f[1].toInt(), f[3].toInt()) / 0.4, QPoint(f[2].toInt(), f[4].toInt()) / 0.4));
    }
    const Outcome search = runProgram({QStringLiteral("search"), QStringLiteral("--no-index"), QStringLiteral("--json"),
                                       QStringLiteral("--threshold"), QStringLiteral("0"), QStringLiteral("--face"),
                                       testPhoto(QStringLiteral("astronaut.png")), dir.path()});
    ASSERT_EQ(search.exitCode, 0) << search.err.toStdString();
    std::vector<QRect> searched;
    const QJsonArray photos = QJsonDocument::fromJson(search.out.toUtf8()).object().value(QStringLiteral("photos")).toArray();
    ASSERT_EQ(photos.size(), 1) << search.out.toStdString();
    for (const QJsonValue& face : photos.first().toObject().value(QStringLiteral("faces")).toArray()) {
        const QJsonObject box = face.toObject();
        searched.push_back(QRect(QPoint(box.value(QStringLiteral("x1")).toInt(), box.value(QStringLiteral("y1")).toInt()),
                                 QPoint(box.value(QStringLiteral("x2")).toInt(), box.value(QStringLiteral("y2")).toInt())));
    }
    for (const QRect& face : pasted) {
        EXPECT_EQ(foundAt(scanned, face), 1) << "faces: a face " << face.width() << " pixels wide";
        EXPECT_EQ(foundAt(searched, face), 1) << "search: a face " << face.width() << " pixels wide";
    }
    EXPECT_EQ(scanned.size(), pasted.size()) << faces.out.toStdString();
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
    EXPECT_EQ(none.err, QStringLiteral("face-morvelin: no faces found\n"));
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
