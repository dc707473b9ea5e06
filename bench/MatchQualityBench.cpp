// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// How well the comparison tells people apart, on the labelled faces of dlib's example bald_guys.jpg
// (four men, six photos each). Each labelled face is chosen as the source face the way the program
// chooses one (photo scaled to at most 1600 wide, JPEG, detection, face cut, then filtered) and compared
// with every other face the scan finds in all example photos (photo scaled, JPEG, detection, face cut
// and filtered). Faces of the same man are the positives; every other face counts
// as a different person.
//   P@1:   share of source faces whose best-scoring other face is the same man (chance about 6 %)
//   AUC:   chance that a same-man pair scores better than a different-man pair (0.5 = chance), over all
//          pairs; mean AUC: the same per source face, averaged
//   >=70:  share of same-man and of different-man pairs the program would list (score of 70 % or more)
// The last table sets the two matchers side by side (grid and facial features), adding mAP (the mean
// over source faces of the average precision of their ranking) and the similarity that at most 1 % of
// different-person pairs reach, where the features matcher puts 70 %, and the features' CPU time per
// face on one core.
// Usage: match_quality_bench [TESTDATA [MODELS [DATA_XML [IDENTITIES]]]]
//        MATCH_QUALITY_MATCHERS_ONLY=1 prints only the matchers' table.

#include "DetectDataset.h"
#include "RecaptureMeasure.h"

#include "engine/FaceMatchTech.h"
#include "search/DetectorConfig.h"
#include "search/FaceCutter.h"
#include "search/FaceDetector.h"
#include "search/FaceFeatures.h"
#include "search/FaceFilter.h"
#include "search/FacePictureLoader.h"
#include "search/FaceQuery.h"
#include "search/FaceScore.h"
#include "search/FoundFace.h"
#include "search/MatcherRegistry.h"
#include "search/SourcePicture.h"
#include "search/ImageX.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <ctime>

#include <opencv2/core/utility.hpp>

using namespace morvelin;
using namespace morvelin::bench;

namespace {

using Filter = std::function<void(QImage&)>;

struct Identity {
    QString person;
    QPointF centre; // pixels of the original photo
    double width = 0;
};

struct Face {
    PixelCanvas picture;
    int identity = -1; // row of the identities file, -1 when unlabelled
};

struct Quality {
    int sources = 0;
    int hits = 0;
    double auc = 0;
    double meanAuc = 0;
    double sameListed = 0;
    double otherListed = 0;
    int targets = 0;
    int selfFirst = 0; // sources whose own face, as the scan finds it, scores best of all
};

std::vector<Identity> readIdentities(const QString& path)
{
    std::vector<Identity> identities;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return identities;
    }
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (line.startsWith(QLatin1Char('#')) || fields.size() < 4) {
            continue;
        }
        identities.push_back({fields[0], QPointF(fields[1].toDouble(), fields[2].toDouble()), fields[3].toDouble()});
    }
    return identities;
}

// The identity row whose centre is nearest the face's nose tip, within half that face's width. The nose
// rather than the rectangle: an eye box need not be centred on the face.
int identityOf(const DetectedFace& face, double scale, const std::vector<Identity>& identities)
{
    const QPointF centre = face.keyPoints[DetectedFace::NoseTip] / scale;
    int best = -1;
    double bestDistance = 0;
    for (std::size_t i = 0; i < identities.size(); ++i) {
        const double distance = std::hypot(centre.x() - identities[i].centre.x(), centre.y() - identities[i].centre.y());
        if (distance <= identities[i].width / 2 && (best < 0 || distance < bestDistance)) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

QImage jpegRoundTrip(const QImage& image)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(ImageX::jpegQuality);
    writer.write(image);
    return QImage::fromData(buffer.data(), "JPEG");
}

QImage scaledForScan(const QImage& photo)
{
    if (photo.height() > photo.width()) {
        return photo.height() > 1200 ? photo.scaledToHeight(1200, Qt::SmoothTransformation) : photo;
    }
    return photo.width() > 1600 ? photo.scaledToWidth(1600, Qt::SmoothTransformation) : photo;
}

struct Pipeline {
    DetectorConfig config;
    Filter filter;
};

// The faces a scan of `path` compares, labelled when the photo is the labelled one: found in the
// scaled photo, cut out and filtered.
void scanFaces(const QString& path, const Pipeline& pipeline, const std::vector<Identity>* identities,
               std::vector<Face>& out)
{
    const QImage original(path);
    const QImage photo = scaledForScan(original).convertToFormat(QImage::Format_RGB32);
    const double scale = double(photo.width()) / original.width();
    for (const DetectedFace& found : FaceDetector::detect(jpegRoundTrip(photo), pipeline.config).faces) {
        QImage face = FaceCutter::cut(photo, found.x1, found.x2, found.y1, found.y2);
        if (!face.isNull()) {
            pipeline.filter(face);
            out.push_back({FacePictureLoader::fromImage(face), identities ? identityOf(found, scale, *identities) : -1});
        }
    }
}

// The labelled faces as source faces: cut from the unfiltered picture, filtered afterwards.
std::vector<Face> sourceFaces(const QString& path, const Pipeline& pipeline, const std::vector<Identity>& identities)
{
    const QImage original(path);
    const QImage picture = jpegRoundTrip(original.width() > 1600 ? original.scaledToWidth(1600, Qt::SmoothTransformation)
                                                                  : original);
    const double scale = double(picture.width()) / original.width();
    std::vector<Face> sources;
    for (const DetectedFace& found : FaceDetector::detect(picture, pipeline.config).faces) {
        const int identity = identityOf(found, scale, identities);
        QImage face = FaceCutter::cut(picture, found.x1, found.x2, found.y1, found.y2);
        if (identity < 0 || face.isNull()) {
            continue;
        }
        pipeline.filter(face);
        sources.push_back({FacePictureLoader::fromImage(face), identity});
    }
    return sources;
}

double aucOf(std::vector<double> same, std::vector<double> other)
{
    if (same.empty() || other.empty()) {
        return 0.5;
    }
    // Lower distance is better: count (same, other) pairs ordered rightly, ties as half.
    std::sort(other.begin(), other.end());
    double wins = 0;
    for (const double s : same) {
        const auto lower = std::lower_bound(other.begin(), other.end(), s);
        const auto upper = std::upper_bound(other.begin(), other.end(), s);
        wins += double(other.end() - upper) + 0.5 * double(upper - lower);
    }
    return wins / (double(same.size()) * double(other.size()));
}

Quality measure(const std::vector<Face>& sources, const std::vector<Face>& targets,
                const std::vector<Identity>& identities)
{
    Quality quality;
    quality.targets = static_cast<int>(targets.size());
    std::vector<double> allSame;
    std::vector<double> allOther;
    int sameListed = 0;
    int otherListed = 0;
    const FaceMatchTech matcher;
    for (const Face& source : sources) {
        std::vector<double> same;
        std::vector<double> other;
        double best = -1;
        bool bestIsSame = false;
        double self = -1;
        for (const Face& target : targets) {
            if (target.identity == source.identity) {
                self = matcher.CompareFaces(source.picture, target.picture); // the source face itself
                continue;
            }
            const double distance = matcher.CompareFaces(source.picture, target.picture);
            const bool isSame =
                target.identity >= 0 && identities[target.identity].person == identities[source.identity].person;
            (isSame ? same : other).push_back(distance);
            (isSame ? sameListed : otherListed) += FaceQuery().lists(FaceScore::fromDistance(std::int32_t(distance))) ? 1 : 0;
            if (best < 0 || distance < best) {
                best = distance;
                bestIsSame = isSame;
            }
        }
        ++quality.sources;
        quality.selfFirst += self >= 0 && (best < 0 || self <= best) ? 1 : 0;
        quality.hits += bestIsSame ? 1 : 0;
        quality.meanAuc += aucOf(same, other);
        allSame.insert(allSame.end(), same.begin(), same.end());
        allOther.insert(allOther.end(), other.begin(), other.end());
    }
    quality.auc = aucOf(allSame, allOther);
    quality.meanAuc /= std::max(1, quality.sources);
    quality.sameListed = double(sameListed) / std::max<std::size_t>(1, allSame.size());
    quality.otherListed = double(otherListed) / std::max<std::size_t>(1, allOther.size());
    return quality;
}

// Per-pixel filters to choose from. The grid's level is the colour read as one number, which for a
// colour pixel is mostly its blue byte; grey pixels make it the brightness.
void everyPixel(QImage& image, const std::function<int(QRgb)>& level)
{
    image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int value = std::clamp(level(line[x]), 0, 255);
            line[x] = qRgb(value, value, value);
        }
    }
}

// Above the floor of 100: every brightness keeps a say in the distance.
int lifted(double brightness)
{
    return static_cast<int>(std::lrint(100 + brightness * 155 / 255));
}

double gamma(double value, double exponent)
{
    return 255 * std::pow(value / 255, exponent);
}

int brightest(QRgb c)
{
    return std::max({qRed(c), qGreen(c), qBlue(c)});
}

struct NamedFilter {
    std::string name;
    Filter filter;
};

std::vector<NamedFilter> filters()
{
    return {
        {"colour (none)", [](QImage&) {}},
        {"grey", [](QImage& image) { everyPixel(image, [](QRgb c) { return qGray(c); }); }},
        {"grey above the floor", [](QImage& image) { everyPixel(image, [](QRgb c) { return lifted(qGray(c)); }); }},
        {"grey above the floor, gamma 0.4",
         [](QImage& image) { everyPixel(image, [](QRgb c) { return lifted(gamma(qGray(c), 0.4)); }); }},
        {"red above the floor, gamma 0.4",
         [](QImage& image) { everyPixel(image, [](QRgb c) { return lifted(gamma(qRed(c), 0.4)); }); }},
        {"max(R,G,B) above the floor",
         [](QImage& image) { everyPixel(image, [](QRgb c) { return lifted(brightest(c)); }); }},
        {"max(R,G,B) above the floor, gamma 0.6",
         [](QImage& image) { everyPixel(image, [](QRgb c) { return lifted(gamma(brightest(c), 0.6)); }); }},
        {"max(R,G,B) above the floor, gamma 0.4",
         [](QImage& image) { everyPixel(image, [](QRgb c) { return lifted(gamma(brightest(c), 0.4)); }); }},
    };
}

void printHeader()
{
    std::printf("%-36s %-38s %5s %7s %6s %9s %9s %9s %5s %6s\n", "framing", "filter", "P@1", "", "AUC", "mean AUC",
                "same>=70", "other>=70", "faces", "self@1");
}

void printRow(const std::string& framing, const std::string& filter, const Quality& q)
{
    std::printf("%-36s %-38s %2d/%-2d %5.1f%% %6.3f %9.3f %8.1f%% %8.1f%% %5d %6d\n", framing.c_str(), filter.c_str(),
                q.hits, q.sources, 100.0 * q.hits / std::max(1, q.sources), q.auc, q.meanAuc, 100 * q.sameListed,
                100 * q.otherListed, q.targets, q.selfFirst);
}

std::string framingName(const DetectorConfig& config)
{
    if (config.framing == DetectorConfig::Framing::DetectorBox) {
        return "detector box";
    }
    char name[64];
    std::snprintf(name, sizeof name, "eye box, size %.2f, drop %.2f", config.eyeBoxSize, config.eyeBoxDrop);
    return name;
}

// ---- The matchers side by side, as the program compares -------------------------------------------
// Every face found the one way the program finds the faces of a chosen photo and of every photo a
// scan reads (SourcePicture::findFaces: the photo scaled for the scan, detected, cut out), read by
// every matcher of the registry and compared through the matcher seam.
struct MatchedFace {
    FoundFace face;
    int identity = -1;
};

struct MatcherQuality {
    int sources = 0;
    int hits = 0;
    double meanAveragePrecision = 0;
    double auc = 0;
    double sameListed = 0;
    double otherListed = 0;
    std::vector<double> same;  // every same-person pair's score (ten-thousandths)
    std::vector<double> other; // every different-person pair's
    std::vector<double> otherSimilarity; // the same pairs' similarity, where the matcher tells one
};

std::vector<MatchedFace> findMatchedFaces(const QString& path, const QString& dataPath,
                                          const std::vector<std::unique_ptr<FaceMatcher>>& matchers,
                                          const std::vector<Identity>* identities)
{
    const SourcePicture::Result found = SourcePicture::findFaces(path, dataPath);
    std::vector<FoundFace> faces;
    for (const DetectedFace& detected : found.faces) {
        faces.push_back(FoundFace::cutFrom(found.picture, detected));
    }
    for (const std::unique_ptr<FaceMatcher>& matcher : matchers) {
        if (const QString problem = matcher->read(found.picture, found.faces, faces); !problem.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(matcher->name()), qPrintable(problem));
        }
    }
    const double scale = found.photoSize.isEmpty() ? 1.0 : double(found.picture.width()) / found.photoSize.width();
    std::vector<MatchedFace> matched;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        if (!faces[i].blank) {
            matched.push_back({faces[i], identities ? identityOf(found.faces[i], scale, *identities) : -1});
        }
    }
    return matched;
}

// Average precision of one ranking: the mean, over the same-person faces, of the share of same-person
// faces among those ranked up to it.
double averagePrecision(std::vector<std::pair<double, bool>> ranked)
{
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    double sum = 0;
    int found = 0;
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        if (ranked[i].second) {
            ++found;
            sum += double(found) / double(i + 1);
        }
    }
    return found > 0 ? sum / found : 0;
}

// One query of the person (one face or several of the same man) against every face found, those of
// the query left out: the other faces of the man are the same-person pairs, every other face a
// stranger.
struct PersonQuery {
    std::vector<int> faces;   // indexes into the labelled faces
    std::vector<int> leftOut; // faces not compared with; the query's own faces when empty
};

MatcherQuality measureMatcher(const MatcherRegistry::Kind& kind, const QString& dataPath,
                              const std::vector<PersonQuery>& queries, const std::vector<MatchedFace>& labelled,
                              const std::vector<MatchedFace>& targets, const std::vector<Identity>& identities)
{
    MatcherQuality quality;
    int sameListed = 0;
    int otherListed = 0;
    for (const PersonQuery& query : queries) {
        std::vector<FoundFace> person;
        std::vector<int> left;
        for (const int index : query.faces) {
            person.push_back(labelled[std::size_t(index)].face);
        }
        for (const int index : query.leftOut.empty() ? query.faces : query.leftOut) {
            left.push_back(labelled[std::size_t(index)].identity);
        }
        const QString& who = identities[std::size_t(left.front())].person;
        const std::shared_ptr<const FaceQuery> prepared = FaceQuery::of(kind.make(dataPath), person);
        std::vector<std::pair<double, bool>> ranked;
        for (const MatchedFace& target : targets) {
            if (target.identity >= 0 && std::find(left.begin(), left.end(), target.identity) != left.end()) {
                continue; // a face of the query itself
            }
            const bool isSame = target.identity >= 0 && identities[std::size_t(target.identity)].person == who;
            const FaceMatcher::Score score = prepared->matcher->score(target.face);
            const double value = double(score.score.tenThousandths());
            ranked.emplace_back(value, isSame);
            (isSame ? quality.same : quality.other).push_back(value);
            if (!isSame && score.details.contains(QStringLiteral("similarity"))) {
                quality.otherSimilarity.push_back(score.details.value(QStringLiteral("similarity")).toDouble());
            }
            (isSame ? sameListed : otherListed) += prepared->lists(score.score) ? 1 : 0;
        }
        const auto best = std::max_element(ranked.begin(), ranked.end(),
                                           [](const auto& a, const auto& b) { return a.first < b.first; });
        ++quality.sources;
        quality.hits += best != ranked.end() && best->second ? 1 : 0;
        quality.meanAveragePrecision += averagePrecision(ranked);
    }
    quality.meanAveragePrecision /= std::max(1, quality.sources);
    // aucOf ranks lower values first; these are higher-is-better.
    const auto negated = [](std::vector<double> values) {
        for (double& v : values) {
            v = -v;
        }
        return values;
    };
    quality.auc = aucOf(negated(quality.same), negated(quality.other));
    quality.sameListed = double(sameListed) / std::max<std::size_t>(1, quality.same.size());
    quality.otherListed = double(otherListed) / std::max<std::size_t>(1, quality.other.size());
    return quality;
}

// The lowest similarity that at most `share` of the different-person pairs reach.
double thresholdFor(std::vector<double> other, double share)
{
    std::sort(other.begin(), other.end(), std::greater<>());
    const std::size_t allowed = static_cast<std::size_t>(std::floor(share * double(other.size())));
    if (other.empty()) {
        return 0;
    }
    // Just above the first pair that must stay below.
    return allowed < other.size() ? std::nextafter(other[allowed], 2.0) : other.back();
}

void printMatcher(const std::string& name, const MatcherQuality& q)
{
    std::printf("%-32s %3d/%-3d %5.1f%% %6.3f %6.3f %8.1f%% %8.2f%% %6zu %6zu\n", name.c_str(), q.hits, q.sources,
                100.0 * q.hits / std::max(1, q.sources), q.meanAveragePrecision, q.auc, 100 * q.sameListed,
                100 * q.otherListed, q.same.size(), q.other.size());
}

void printMatcherHeader()
{
    std::printf("%-32s %7s %6s %6s %6s %9s %9s %6s %6s\n", "matcher", "P@1", "", "mAP", "AUC", "same>=70",
                "other>=70", "same", "other");
}

// Every labelled face alone; for each man every three of his faces at once; and each face of those
// three alone, against the same faces.
std::vector<PersonQuery> singleFaces(const std::vector<MatchedFace>& labelled)
{
    std::vector<PersonQuery> queries;
    for (std::size_t i = 0; i < labelled.size(); ++i) {
        queries.push_back({{int(i)}, {}});
    }
    return queries;
}

std::vector<PersonQuery> threeFacesOfOneMan(const std::vector<MatchedFace>& labelled, const std::vector<Identity>& identities)
{
    std::vector<PersonQuery> queries;
    const std::size_t n = labelled.size();
    const auto person = [&](std::size_t i) { return identities[std::size_t(labelled[i].identity)].person; };
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = a + 1; b < n; ++b) {
            for (std::size_t c = b + 1; c < n; ++c) {
                if (person(a) == person(b) && person(b) == person(c)) {
                    queries.push_back({{int(a), int(b), int(c)}, {}});
                }
            }
        }
    }
    return queries;
}

std::vector<PersonQuery> eachFaceOf(const std::vector<PersonQuery>& groups)
{
    std::vector<PersonQuery> queries;
    for (const PersonQuery& group : groups) {
        for (const int face : group.faces) {
            queries.push_back({{face}, group.faces});
        }
    }
    return queries;
}

double featuresMsPerFace(const QString& labelledPhoto, const QString& dataPath)
{
    const FaceFeatures::Loaded loaded = FaceFeatures::forFile(FaceFeatures::pathBeside(dataPath));
    if (!loaded.model) {
        return 0;
    }
    // One face's cost on one core: aligning it in a scan-sized photo and reading its features.
    const int threadsBefore = cv::getNumThreads();
    cv::setNumThreads(1);
    const SourcePicture::Result found = SourcePicture::findFaces(labelledPhoto, dataPath);
    const QImage photo = found.picture.convertToFormat(QImage::Format_RGB888);
    // This thread's CPU time: other work on the machine does not count.
    const auto cpuMs = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    };
    const double start = cpuMs();
    for (const DetectedFace& face : found.faces) {
        loaded.model->vectorOf(FaceFeatures::align(photo, face));
    }
    const double msPerFace = (cpuMs() - start) / double(std::max<std::size_t>(1, found.faces.size()));
    cv::setNumThreads(threadsBefore);
    return msPerFace;
}

void compareMatchers(const QDir& photos, const QStringList& photoNames, const QString& labelledPhoto,
                     const QString& dataXml, const QString& models, const std::vector<Identity>& identities)
{
    // The detector's data file beside the models, as the program keeps them.
    QTemporaryDir work;
    const QString dataPath = work.filePath(QStringLiteral("data.xml"));
    QFile::copy(dataXml, dataPath);
    for (const QFileInfo& model : QDir(models).entryInfoList({QStringLiteral("*.onnx")})) {
        QFile::link(model.absoluteFilePath(), work.filePath(model.fileName()));
    }
    std::vector<std::unique_ptr<FaceMatcher>> readers;
    std::vector<const MatcherRegistry::Kind*> usable;
    for (const MatcherRegistry::Kind& kind : MatcherRegistry::kinds()) {
        if (const QString problem = kind.problem(dataPath); !problem.isEmpty()) {
            std::printf("%s: %s\n", qPrintable(kind.name), qPrintable(problem));
            continue;
        }
        readers.push_back(kind.make(dataPath));
        usable.push_back(&kind);
    }
    std::vector<MatchedFace> targets;
    for (const QString& name : photoNames) {
        const QString path = photos.filePath(QStringLiteral("faces/") + name);
        const std::vector<MatchedFace> found =
            findMatchedFaces(path, dataPath, readers, path == labelledPhoto ? &identities : nullptr);
        targets.insert(targets.end(), found.begin(), found.end());
    }
    std::vector<MatchedFace> labelled;
    std::copy_if(targets.begin(), targets.end(), std::back_inserter(labelled),
                 [](const MatchedFace& face) { return face.identity >= 0; });
    const QString defaultName = MatcherRegistry::defaultFor(dataPath).name;
    const auto named = [&](const MatcherRegistry::Kind& kind, const char* what) {
        return kind.name.toStdString() + (kind.name == defaultName ? " (default)" : "") + what;
    };

    std::printf("\nMatchers as the program compares, one labelled face searched for (P@1, mAP, ROC AUC, pairs "
                "listed at 70 %%); %zu labelled faces of %zu found\n",
                labelled.size(), targets.size());
    printMatcherHeader();
    const MatcherQuality* features = nullptr;
    std::vector<MatcherQuality> single;
    single.reserve(usable.size());
    for (const MatcherRegistry::Kind* kind : usable) {
        single.push_back(measureMatcher(*kind, dataPath, singleFaces(labelled), labelled, targets, identities));
        printMatcher(named(*kind, ""), single.back());
        if (!single.back().otherSimilarity.empty()) {
            features = &single.back();
        }
    }
    std::printf("\nThe person as three faces of one man at once (the features' mean, the grid's best of), against "
                "his other three and every other face\n");
    printMatcherHeader();
    const std::vector<PersonQuery> threes = threeFacesOfOneMan(labelled, identities);
    for (const MatcherRegistry::Kind* kind : usable) {
        printMatcher(named(*kind, ", one face"),
                     measureMatcher(*kind, dataPath, eachFaceOf(threes), labelled, targets, identities));
        printMatcher(named(*kind, ", three faces"), measureMatcher(*kind, dataPath, threes, labelled, targets, identities));
    }

    std::printf("\nfeatures: %.1f ms of CPU per face on one core (alignment and model)\n",
                featuresMsPerFace(labelledPhoto, dataPath));
    if (features) {
        const double calibrated = thresholdFor(features->otherSimilarity, 0.01);
        std::printf("features: 70 %% at similarity %.2f; the lowest similarity at most 1 %% of the different-person "
                    "pairs reach is %.4f\n",
                    FaceFeatures::matchSimilarity, calibrated);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QDir photos(testPhotosFolder(argc, argv));
    const QString models = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(MORVELIN_FACE_MODELS);
    const QString dataXml = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral(MORVELIN_DATA_XML);
    const QString identitiesPath = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral(MORVELIN_IDENTITIES);

    const std::vector<Identity> identities = readIdentities(identitiesPath);
    const QString labelledPhoto = photos.filePath(QStringLiteral("faces/bald_guys.jpg"));
    const QStringList photoNames = QDir(photos.filePath(QStringLiteral("faces"))).entryList({QStringLiteral("*.jpg")});
    QFile dataFile(dataXml);
    dataFile.open(QIODevice::ReadOnly);
    const DetectorConfig::Result shipped = DetectorConfig::parse(dataFile.readAll(), models);
    if (identities.empty() || photoNames.isEmpty() || !shipped.config) {
        std::fprintf(stderr, "need the identities (%s), the test photos (%s) and a data file (%s)\n",
                     qPrintable(identitiesPath), qPrintable(photos.path()), qPrintable(shipped.error));
        return 1;
    }

    const auto run = [&](const DetectorConfig& config, const NamedFilter& filter) {
        const Pipeline pipeline{config, filter.filter};
        std::vector<Face> targets;
        for (const QString& name : photoNames) {
            const QString path = photos.filePath(QStringLiteral("faces/") + name);
            scanFaces(path, pipeline, path == labelledPhoto ? &identities : nullptr, targets);
        }
        const Quality quality = measure(sourceFaces(labelledPhoto, pipeline, identities), targets, identities);
        printRow(framingName(config), filter.name, quality);
        return quality;
    };

    if (std::getenv("MATCH_QUALITY_RECAPTURE")) {
        QStringList photoPaths;
        for (const QString& name : photoNames) {
            photoPaths << photos.filePath(QStringLiteral("faces/") + name);
        }
        QTemporaryDir work;
        QFile::copy(dataXml, work.filePath(QStringLiteral("data.xml")));
        for (const QFileInfo& model : QDir(models).entryInfoList({QStringLiteral("*.onnx")})) {
            QFile::link(model.absoluteFilePath(), work.filePath(model.fileName()));
        }
        RecaptureMeasure::print(RecaptureMeasure::run(photoPaths, work.filePath(QStringLiteral("data.xml")), work.path()));
        std::printf("\n");
    }

    std::printf("%d labelled faces of 4 men in %d photos\n\n", int(identities.size()), int(photoNames.size()));
    const NamedFilter shippedFilter{"shipped FaceFilter", [](QImage& image) { FaceFilter::apply(image); }};
    const auto framed = [&](DetectorConfig::Framing framing, float size, float drop) {
        DetectorConfig config = *shipped.config;
        config.framing = framing;
        config.eyeBoxSize = size;
        config.eyeBoxDrop = drop;
        return config;
    };
    const DetectorConfig detectorBox = framed(DetectorConfig::Framing::DetectorBox, 2.0f, 0.5f);
    DetectorConfig shippedEyeBox = *shipped.config;
    shippedEyeBox.framing = DetectorConfig::Framing::EyeBox;

    if (std::getenv("MATCH_QUALITY_MATCHERS_ONLY")) {
        compareMatchers(photos, photoNames, labelledPhoto, dataXml, models, identities);
        return 0;
    }
    std::printf("Filters, with the model's box and with the shipped eye box\n");
    printHeader();
    for (const NamedFilter& filter : filters()) {
        run(detectorBox, filter);
        run(shippedEyeBox, filter);
    }

    if (std::getenv("MATCH_QUALITY_FILTERS_ONLY")) {
        return 0;
    }
    std::printf("\nThe eye box's size and drop (in eye distances), brow to chin\n");
    printHeader();
    for (const float size : {2.0f, 2.2f, 2.4f, 2.6f}) {
        for (const float drop : {0.5f, 0.7f, 0.9f}) {
            run(framed(DetectorConfig::Framing::EyeBox, size, drop), shippedFilter);
        }
    }

    std::printf("\nShipped: data.xml and FaceFilter\n");
    printHeader();
    run(*shipped.config, shippedFilter);
    compareMatchers(photos, photoNames, labelledPhoto, dataXml, models, identities);
    return 0;
}
