// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceFeatures.h"
#include "search/FaceIndex.h"
#include "search/FeaturesMatcher.h"
#include "search/GridMatcher.h"
#include "search/PhotoScan.h"

#include "FaceDetectorTestFolder.h"

#include <QEventLoop>
#include <QImage>
#include <QJsonArray>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

using namespace morvelin;

namespace {

// A matcher of the test's own: it reads each face as its number in the photo and scores it 80 %
// plus that number, so every step of the seam can be told from the outside.
class StandInMatcher : public FaceMatcher {
public:
    explicit StandInMatcher(bool readsIndexedFaces) : m_readsIndexedFaces(readsIndexedFaces) {}

    QString name() const override { return QStringLiteral("stand-in"); }
    QString read(const QImage& photo, const std::vector<DetectedFace>& detected, std::vector<FoundFace>& faces) const override
    {
        ++reads;
        EXPECT_FALSE(photo.isNull());
        EXPECT_EQ(detected.size(), faces.size());
        for (std::size_t i = 0; i < faces.size(); ++i) {
            faces[i].features = {float(i + 1)};
        }
        return QString();
    }
    bool hasRead(const FoundFace& face) const override { return m_readsIndexedFaces && !face.features.empty(); }
    void prepare(const std::vector<FoundFace>& person) override { m_prepared = int(person.size()); }
    Score score(const FoundFace& face) const override
    {
        Score score;
        score.score = FaceScore::fromTenThousandths(800000 + std::int64_t(face.features.at(0)) * 10000);
        score.details.insert(QStringLiteral("personFaces"), m_prepared);
        return score;
    }

    mutable std::atomic<int> reads = 0;

private:
    bool m_readsIndexedFaces;
    int m_prepared = 0;
};

struct ScanSeen {
    bool fromIndex = false;
    std::vector<QJsonObject> described;
    std::vector<int> matchedScores;
    std::vector<QImage> matchedFaces;
    std::vector<QRect> matchedBoxes;
    QSize photoSize;
};

ScanSeen scanOnce(const std::shared_ptr<const FaceQuery>& query, const QString& photo, const QString& dataPath,
                  const std::shared_ptr<FaceIndex>& index = nullptr)
{
    PhotoScan scan(query);
    scan.setFaceIndex(index);
    ScanSeen seen;
    QEventLoop loop;
    QObject::connect(&scan, &PhotoScan::answeredFromIndex, [&] { seen.fromIndex = true; });
    QObject::connect(&scan, &PhotoScan::photoMeasured, [&](const QSize& size, const QSize&) { seen.photoSize = size; });
    QObject::connect(&scan, &PhotoScan::faceDescribed, [&](int, const QJsonObject& face) { seen.described.push_back(face); });
    QObject::connect(&scan, &PhotoScan::matched, [&](const QString&, int xscore, const QImage& face, const QRect& box) {
        seen.matchedScores.push_back(xscore);
        seen.matchedFaces.push_back(face);
        seen.matchedBoxes.push_back(box);
    });
    QObject::connect(&scan, &PhotoScan::Completed, &loop, &QEventLoop::quit);
    scan.Start(photo, dataPath);
    loop.exec();
    EXPECT_TRUE(scan.failure().isEmpty()) << scan.failure().toStdString();
    if (index) {
        index->flush();
    }
    return seen;
}

FoundFace withPicture(QRgb colour, int darkRows)
{
    FoundFace face;
    face.picture = QImage(48, 48, QImage::Format_RGB32);
    face.picture.fill(colour);
    for (int y = 0; y < darkRows; ++y) {
        for (int x = 0; x < 48; ++x) {
            face.picture.setPixel(x, y, qRgb(0, 0, 0));
        }
    }
    return face;
}

} // namespace

// The scan knows no matcher: it hands every face to the one it is given, lists by the query's
// threshold, and asks the matcher whether a face the index remembers holds what it reads.
TEST(FaceMatcherTest, AScanReadsScoresAndListsThroughItsMatcherAlone)
{
    FaceDetectorTestFolder folder;
    SKIP_WITHOUT_MODEL_OR_PHOTO(folder, "astronaut.png");
    // A photo larger than the scan's size, so that the boxes reported are scaled back to its pixels.
    const QString photo = folder.path(QStringLiteral("astronaut-large.png"));
    ASSERT_TRUE(QImage(FaceDetectorTestFolder::photo(QStringLiteral("astronaut.png"))).scaled(2048, 2048).save(photo));

    auto matcher = std::make_unique<StandInMatcher>(true);
    StandInMatcher* standIn = matcher.get();
    const auto query = FaceQuery::of(std::move(matcher), {FoundFace(), FoundFace()}, 810000);
    const ScanSeen listed = scanOnce(query, photo, folder.dataPath());
    EXPECT_EQ(standIn->reads, 1) << "once per photo";
    ASSERT_EQ(listed.described.size(), 1u);
    EXPECT_EQ(listed.described[0].value(QStringLiteral("personFaces")).toInt(), 2);
    EXPECT_EQ(listed.described[0].value(QStringLiteral("keyPoints")).toArray().size(), DetectedFace::KeyPointCount);
    ASSERT_EQ(listed.matchedScores, std::vector<int>{81000}) << "81 % reaches a threshold of 81 %";
    EXPECT_EQ(listed.photoSize, QSize(2048, 2048));
    EXPECT_EQ(listed.matchedFaces[0].size(), QSize(48, 48));
    const QRect box = listed.matchedBoxes[0];
    EXPECT_EQ(listed.described[0].value(QStringLiteral("x1")).toInt(), box.left());
    EXPECT_EQ(listed.described[0].value(QStringLiteral("x2")).toInt(), box.right() + 1);
    EXPECT_GT(box.left(), 2048 / 4) << "in pixels of the photo, not of its 1600-pixel scan";

    const auto stricter = FaceQuery::of(std::make_unique<StandInMatcher>(true), {FoundFace()}, 810001);
    EXPECT_TRUE(scanOnce(stricter, photo, folder.dataPath()).matchedScores.empty());

    // The index answers only where the matcher finds what it reads in the remembered faces.
    auto index = std::make_shared<FaceIndex>(folder.path(QStringLiteral("index/faces.sqlite")), "test");
    EXPECT_FALSE(scanOnce(query, photo, folder.dataPath(), index).fromIndex);
    const ScanSeen answered = scanOnce(query, photo, folder.dataPath(), index);
    EXPECT_TRUE(answered.fromIndex);
    EXPECT_EQ(answered.matchedScores, listed.matchedScores);
    EXPECT_EQ(answered.matchedBoxes, listed.matchedBoxes);
    EXPECT_EQ(answered.photoSize, listed.photoSize);
    ASSERT_EQ(answered.matchedFaces.size(), 1u);
    EXPECT_EQ(answered.matchedFaces[0].size(), QSize(48, 48));
    const auto readsNothingStored = FaceQuery::of(std::make_unique<StandInMatcher>(false), {FoundFace()}, 810000);
    EXPECT_FALSE(scanOnce(readsNothingStored, photo, folder.dataPath(), index).fromIndex);
}

// Several faces of one person: the grid takes a found face's best score against any of them; the
// features matcher compares with the mean direction of their vectors.
TEST(FaceMatcherTest, SeveralFacesOfOnePersonAreTheGridsBestOfAndTheFeaturesMean)
{
    const FoundFace light = withPicture(qRgb(250, 250, 250), 0);
    const FoundFace halfDark = withPicture(qRgb(250, 250, 250), 24);
    const FoundFace eighthDark = withPicture(qRgb(250, 250, 250), 8);
    const auto gridScore = [](const std::vector<FoundFace>& person, const FoundFace& found) {
        GridMatcher grid;
        grid.prepare(person);
        return grid.score(found).score.tenThousandths();
    };
    EXPECT_EQ(gridScore({light, halfDark}, light), 1000000);
    EXPECT_EQ(gridScore({light, halfDark}, halfDark), 1000000);
    const std::int64_t fromLight = gridScore({light}, eighthDark);
    const std::int64_t fromHalfDark = gridScore({halfDark}, eighthDark);
    EXPECT_NE(fromLight, fromHalfDark);
    EXPECT_EQ(gridScore({light, halfDark}, eighthDark), std::max(fromLight, fromHalfDark));

    EXPECT_TRUE(FeaturesMatcher::meanDirection({}).empty());
    EXPECT_EQ(FeaturesMatcher::meanDirection({{0.6f, 0.8f}}), (std::vector<float>{0.6f, 0.8f}));
    const std::vector<float> mean = FeaturesMatcher::meanDirection({{1, 0, 0}, {0, 1, 0}, {0, 0.6f, 0.8f}});
    ASSERT_EQ(mean.size(), 3u);
    const double norm = std::sqrt(1.0 + 1.6 * 1.6 + 0.8 * 0.8);
    EXPECT_NEAR(mean[0], 1 / norm, 1e-6);
    EXPECT_NEAR(mean[1], 1.6 / norm, 1e-6);
    EXPECT_NEAR(mean[2], 0.8 / norm, 1e-6);

    FeaturesMatcher features(QStringLiteral("/nowhere/data.xml")); // comparing needs no model
    FoundFace first, second, found;
    first.features = {1, 0};
    second.features = {0, 1};
    found.features = {1, 0};
    features.prepare({first, second});
    const FaceMatcher::Score score = features.score(found);
    EXPECT_NEAR(score.details.value(QStringLiteral("similarity")).toDouble(), std::sqrt(0.5), 1e-6);
    EXPECT_EQ(score.score, FaceScore::fromSimilarity(std::sqrt(0.5), FaceFeatures::matchSimilarity));
}
