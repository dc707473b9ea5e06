// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "ProgramRunner.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

using namespace morvelin::testing;

namespace {

// A folder of real photos: dlib's examples, with the astronaut one folder down.
void fillCorpus(const QTemporaryDir& corpus)
{
    const QDir faces(testPhoto(QStringLiteral("faces")));
    for (const QString& name : faces.entryList({QStringLiteral("*.jpg")}, QDir::Files)) {
        QFile::copy(faces.filePath(name), corpus.filePath(name));
    }
    QDir(corpus.path()).mkdir(QStringLiteral("nasa"));
    QFile::copy(testPhoto(QStringLiteral("astronaut.png")), corpus.filePath(QStringLiteral("nasa/astronaut.png")));
}

} // namespace

// Features by default; without their model the grid, saying so in one line.
TEST(SearchCommandTest, TheFacesOwnPhotoRanksFirstWithEitherMatcher)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir corpus;
    QTemporaryDir temp;
    fillCorpus(corpus);
    const QString astronaut = testPhoto(QStringLiteral("astronaut.png"));

    const Outcome flat = runProgram({QStringLiteral("search"), QStringLiteral("--face"), astronaut, corpus.path()});
    ASSERT_EQ(flat.exitCode, 0) << flat.err.toStdString();
    EXPECT_FALSE(flat.out.contains(QStringLiteral("astronaut"))) << "without --recursive sub-folders are not searched";

    const Outcome deep = runProgram(
        {QStringLiteral("search"), QStringLiteral("--face"), astronaut, QStringLiteral("--recursive"), corpus.path()},
        temp.path());
    ASSERT_EQ(deep.exitCode, 0) << deep.err.toStdString();
    const QStringList lines = deep.out.trimmed().split(QLatin1Char('\n'));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.first().endsWith(QStringLiteral("/nasa/astronaut.png"))) << deep.out.toStdString();
    int previous = 100001;
    for (const QString& line : lines) {
        const int xscore = line.section(QLatin1Char('\t'), 0, 0).toInt();
        EXPECT_GE(xscore, 70000);
        EXPECT_LE(xscore, previous) << "best first";
        previous = xscore;
    }
    EXPECT_TRUE(deep.err.contains(QStringLiteral("scanned"))) << "a summary ends the search";
    EXPECT_TRUE(QDir(temp.path()).isEmpty()) << "no temporary file is left behind";

    const Outcome json = runProgram(
        {QStringLiteral("search"), QStringLiteral("--face"), astronaut, QStringLiteral("--recursive"), QStringLiteral("--json"), corpus.path()});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(document.value(QStringLiteral("matcher")).toString(), QStringLiteral("features")) << "by default";
    const QJsonArray photos = document.value(QStringLiteral("photos")).toArray();
    ASSERT_EQ(photos.size(), lines.size());
    // Her own photo first; of the strangers' photos hardly any (the grid lists eight of twelve).
    EXPECT_LE(photos.size(), 2) << json.out.toStdString();
    const QJsonObject best = photos.first().toObject();
    EXPECT_TRUE(best.value(QStringLiteral("path")).toString().endsWith(QStringLiteral("/nasa/astronaut.png")));
    ASSERT_FALSE(best.value(QStringLiteral("faces")).toArray().isEmpty());
    EXPECT_GT(best.value(QStringLiteral("faces")).toArray().first().toObject().value(QStringLiteral("similarity")).toDouble(), 0.9);

    // A copy of the program whose facial-features model lost its end.
    QTemporaryDir program;
    QFile::copy(QStringLiteral(FACE_MORVELIN_BINARY), program.filePath(QStringLiteral("face-morvelin")));
    const QDir data(QStringLiteral(MORVELIN_DETECTOR_DATA).section(QLatin1Char('/'), 0, -2));
    for (const QString& name : data.entryList({QStringLiteral("*.xml"), QStringLiteral("*.onnx")})) {
        QFile::copy(data.filePath(name), program.filePath(name));
    }
    const QString model = program.filePath(QStringLiteral("fr_feature.onnx"));
    QFile::resize(model, 1000);
    const auto run = [&](const QStringList& matcher) {
        return runCommand(program.filePath(QStringLiteral("face-morvelin")),
                          QStringList{QStringLiteral("search"), QStringLiteral("--face"), astronaut} + matcher
                              + QStringList{QStringLiteral("--json"), corpus.path()});
    };
    const Outcome broken = run({QStringLiteral("--matcher"), QStringLiteral("features")});
    EXPECT_EQ(broken.exitCode, 2);
    EXPECT_EQ(broken.err.count(QLatin1Char('\n')), 1) << broken.err.toStdString();
    EXPECT_TRUE(broken.err.contains(model)) << broken.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("--matcher"), QStringLiteral("grid")}).exitCode, 0);
    const Outcome fallback = run({});
    EXPECT_EQ(fallback.exitCode, 0) << fallback.err.toStdString();
    const QStringList said = fallback.err.split(QLatin1Char('\n')).filter(QStringLiteral("grid matcher instead"));
    ASSERT_EQ(said.size(), 1) << fallback.err.toStdString();
    EXPECT_TRUE(said.first().contains(model));
    EXPECT_EQ(QJsonDocument::fromJson(fallback.out.toUtf8()).object().value(QStringLiteral("matcher")).toString(),
              QStringLiteral("grid"));
}

TEST(SearchCommandTest, BadSourcesAndFoldersEndWithAMessage)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir dir;
    const QString astronaut = testPhoto(QStringLiteral("astronaut.png"));

    // %1 the face's photo, %2 the folder.
    const auto search = [&](const char* arguments) {
        return runProgram(
            QString::fromLatin1(arguments).replace("%1", astronaut).replace("%2", dir.path()).split(QLatin1Char(' ')));
    };
    const Outcome pickTooFar = search("search --face %1 --pick 2 %2");
    EXPECT_EQ(pickTooFar.exitCode, 1) << pickTooFar.err.toStdString();
    const Outcome noFolder = search("search --face %1 %2/absent");
    EXPECT_EQ(noFolder.exitCode, 2);
    EXPECT_TRUE(noFolder.err.contains(QStringLiteral("absent")));
    EXPECT_EQ(search("search %2").exitCode, 2) << "no face";
    EXPECT_EQ(search("search --face %1 --pick zero %2").exitCode, 2);
    for (const char* threshold : {"101", "-1", "seventy", "70.00001"}) {
        const Outcome bad = search(QStringLiteral("search --face %1 --threshold %3 %2").replace("%3", threshold).toLatin1());
        EXPECT_EQ(bad.exitCode, 2) << threshold;
        EXPECT_TRUE(bad.err.contains(QStringLiteral("--threshold takes a percentage from 0 to 100"))) << bad.err.toStdString();
    }
    const Outcome sixFaces = search("search --face %1 --face %1 --face %1 --face %1 --face %1 --face %1 %2");
    EXPECT_EQ(sixFaces.exitCode, 2);
    EXPECT_TRUE(sixFaces.err.contains(QStringLiteral("at most 5 faces"))) << sixFaces.err.toStdString();
}

namespace {

// Every face of every photo the search lists, by photo and face number, with its JSON entry.
QHash<QString, QJsonObject> facesListed(const QJsonObject& document)
{
    QHash<QString, QJsonObject> faces;
    for (const QJsonValue& photo : document.value(QStringLiteral("photos")).toArray()) {
        const QJsonArray found = photo.toObject().value(QStringLiteral("faces")).toArray();
        for (qsizetype i = 0; i < found.size(); ++i) {
            faces.insert(photo.toObject().value(QStringLiteral("path")).toString() + QLatin1Char('#') + QString::number(i),
                         found[i].toObject());
        }
    }
    return faces;
}

QJsonObject searchJson(const QStringList& arguments)
{
    const Outcome outcome = runProgram(QStringList{QStringLiteral("search"), QStringLiteral("--no-index"), QStringLiteral("--json")}
                                       + arguments);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    return QJsonDocument::fromJson(outcome.out.toUtf8()).object();
}

} // namespace

// Two faces of bald_guys.jpg searched for at once, every face of the photo listed (--threshold 0):
// the features matcher compares with the mean of the two unit vectors made a unit vector again, so
// each similarity is the sum of the two single searches' divided by the mean's length; the grid
// takes each face's better score of the two.
TEST(SearchCommandTest, SeveralFacesAreTheFeaturesMeanAndTheGridsBestOf)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir corpus;
    QFile::copy(testPhoto(QStringLiteral("faces/bald_guys.jpg")), corpus.filePath(QStringLiteral("bald_guys.jpg")));
    const QString photo = corpus.filePath(QStringLiteral("bald_guys.jpg"));
    const auto search = [&](const char* matcher, const QStringList& faces) {
        return facesListed(searchJson(QStringList{QStringLiteral("--matcher"), QString::fromLatin1(matcher),
                                                  QStringLiteral("--threshold"), QStringLiteral("0")}
                                      + faces + QStringList{corpus.path()}));
    };
    const QStringList first{QStringLiteral("--face"), photo};
    const QStringList second{QStringLiteral("--face"), photo, QStringLiteral("--pick"), QStringLiteral("2")};
    // --pick before the first --face belongs to it.
    const QStringList secondPickedFirst{QStringLiteral("--pick"), QStringLiteral("2"), QStringLiteral("--face"), photo};

    const auto a = search("features", first);
    const auto b = search("features", secondPickedFirst);
    const auto both = search("features", first + second);
    ASSERT_GE(a.size(), 20);
    const auto similarity = [](const QHash<QString, QJsonObject>& faces, const QString& key) {
        return faces.value(key).value(QStringLiteral("similarity")).toDouble();
    };
    const double betweenThem = similarity(a, photo + QStringLiteral("#1"));
    EXPECT_NEAR(similarity(b, photo + QStringLiteral("#1")), 1.0, 1e-5) << "--pick 2 searched for face 2";
    const double length = std::sqrt(2 + 2 * betweenThem);
    // The similarities come rounded to 1e-6, and the faces' vectors in half precision are unit vectors
    // to about 1e-5, which weighs the two faces in the mean a little unevenly.
    for (auto face = a.cbegin(); face != a.cend(); ++face) {
        EXPECT_NEAR(similarity(both, face.key()), (similarity(a, face.key()) + similarity(b, face.key())) / length, 6e-6)
            << face.key().toStdString();
    }

    const auto gridA = search("grid", first);
    const auto gridB = search("grid", second);
    const auto gridBoth = search("grid", second + first);
    for (auto face = gridA.cbegin(); face != gridA.cend(); ++face) {
        EXPECT_EQ(gridBoth.value(face.key()).value(QStringLiteral("xscore")).toInt(),
                  std::max(face.value().value(QStringLiteral("xscore")).toInt(),
                           gridB.value(face.key()).value(QStringLiteral("xscore")).toInt()))
            << face.key().toStdString();
    }
}

// A tall and a wide photo, each larger than the scan's size, searched for their own face: 100 % with
// either matcher, --threshold 100 lists nothing else, and the JSON holds to its schema with every
// place in the photo's own pixels.
TEST(SearchCommandTest, APhotoSearchedForItsOwnFaceScoresAHundredWhateverItsShape)
{
    SKIP_WITHOUT_PHOTOS();
    QTemporaryDir corpus;
    const QImage astronaut(testPhoto(QStringLiteral("astronaut.png")));
    const auto make = [&](const QString& name, QSize size, QPoint at) {
        QImage photo(size, QImage::Format_RGB32);
        photo.fill(qRgb(90, 110, 100));
        QPainter(&photo).drawImage(QRect(at, QSize(1400, 1400)), astronaut);
        const QString path = corpus.filePath(name);
        EXPECT_TRUE(photo.save(path, "JPEG", 92));
        return path;
    };
    const QString tall = make(QStringLiteral("tall.jpg"), QSize(1700, 3600), QPoint(150, 1700));
    const QString wide = make(QStringLiteral("wide.jpg"), QSize(3900, 1700), QPoint(2300, 150));
    QFile::copy(testPhoto(QStringLiteral("faces/bald_guys.jpg")), corpus.filePath(QStringLiteral("bald_guys.jpg")));
    for (const char* matcher : {"features", "grid"}) {
        for (const auto& [photo, size] : {std::pair{tall, QSize(1700, 3600)}, std::pair{wide, QSize(3900, 1700)}}) {
            SCOPED_TRACE(std::string(matcher) + " " + photo.toStdString());
            const QJsonObject document = searchJson({QStringLiteral("--face"), photo, QStringLiteral("--matcher"),
                                                     QString::fromLatin1(matcher), QStringLiteral("--threshold"),
                                                     QStringLiteral("100"), corpus.path()});
            const QJsonArray photos = document.value(QStringLiteral("photos")).toArray();
            ASSERT_EQ(photos.size(), 1);
            const QJsonObject listed = photos.first().toObject();
            EXPECT_EQ(listed.value(QStringLiteral("path")).toString(), photo);
            EXPECT_EQ(listed.value(QStringLiteral("xscore")).toInt(), 100000);
            EXPECT_EQ(listed.value(QStringLiteral("width")).toInt(), size.width());
            EXPECT_EQ(listed.value(QStringLiteral("height")).toInt(), size.height());

            const QJsonObject query = document.value(QStringLiteral("query")).toObject();
            EXPECT_EQ(query.value(QStringLiteral("threshold")).toString(), QStringLiteral("100.0000"));
            const QJsonObject chosen = query.value(QStringLiteral("faces")).toArray().first().toObject();
            QJsonObject self = listed.value(QStringLiteral("faces")).toArray().first().toObject();
            for (const char* key : {"x1", "x2", "y1", "y2", "keyPoints"}) {
                EXPECT_EQ(chosen.value(QLatin1String(key)), self.value(QLatin1String(key))) << key;
            }
            // Her face lies where she was drawn, in the photo's own pixels.
            const QPoint drawn = photo == tall ? QPoint(150, 1700) : QPoint(2300, 150);
            EXPECT_GT(self.value(QStringLiteral("x1")).toInt(), drawn.x());
            EXPECT_LT(self.value(QStringLiteral("x2")).toInt(), drawn.x() + 1400);
            EXPECT_GT(self.value(QStringLiteral("y1")).toInt(), drawn.y());

            QTemporaryDir checked;
            QFile json(checked.filePath(QStringLiteral("search.json")));
            ASSERT_TRUE(json.open(QIODevice::WriteOnly));
            json.write(QJsonDocument(document).toJson());
            json.close();
            QProcess validate;
            validate.start(QStringLiteral("/usr/bin/python3"),
                           {QStringLiteral("-c"),
                            QStringLiteral("import json, sys, jsonschema; jsonschema.Draft202012Validator("
                                           "json.load(open(sys.argv[1]))).validate(json.load(open(sys.argv[2])))"),
                            QStringLiteral(MORVELIN_TEST_DATA "/../../docs/search-json.schema.json"), json.fileName()});
            ASSERT_TRUE(validate.waitForFinished(60000));
            EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardError().toStdString();
        }
    }
}
