// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// The floor under the search's speed: for every photo of a folder, only what a scan cannot do without
// (the image component decoding the photo at the scan's size, and the detector on those pixels in
// memory) on every core at once. No filter, no temporary file, no comparison.
// Usage: search_floor [--jobs N] [--opencv-threads N] [--data DATA_XML] FOLDER
// Prints one line: photos, seconds, photos per second, faces found.

#include "search/FaceDetector.h"
#include "search/FolderWalk.h"
#include "search/ImageX.h"
#include "search/PhotoScan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <opencv2/core/utility.hpp>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

using namespace morvelin;

namespace {

struct Options {
    int jobs = 0;           // 0: one per core
    int opencvThreads = 1;  // the photos already keep every core busy
    QString dataPath = QStringLiteral(MORVELIN_APP_DATA);
    QString folder;
};

struct Tally {
    std::atomic<int> faces{0};
    std::atomic<int> unreadable{0};
};

std::vector<QString> photosIn(const QString& folder)
{
    std::vector<QString> photos;
    FolderWalk walk(folder, false);
    QString photo;
    for (FolderWalk::Step step = walk.next(photo); step != FolderWalk::Step::Finished; step = walk.next(photo)) {
        if (step == FolderWalk::Step::Photo) {
            photos.push_back(photo);
        }
    }
    return photos;
}

// The scan's own rule: portrait photos at most 1200 pixels high, the others at most 1600 wide.
void scaleForScan(ImageX& photo)
{
    const bool portrait = photo.height() > photo.width();
    if (portrait && photo.height() > PhotoScan::tallestPortrait) {
        photo.resize(0, PhotoScan::tallestPortrait);
    } else if (!portrait && photo.width() > PhotoScan::widestLandscape) {
        photo.resize(PhotoScan::widestLandscape, 0);
    }
}

void decodeAndDetect(const QString& path, const QString& dataPath, Tally& tally)
{
    ImageX photo;
    if (!photo.load(path)) {
        ++tally.unreadable;
        return;
    }
    scaleForScan(photo);
    const FaceDetector::Result found = FaceDetector::detect(photo.picture(), dataPath);
    if (!found.ok()) {
        ++tally.unreadable;
        return;
    }
    tally.faces += int(found.faces.size());
}

bool parseOptions(const QStringList& arguments, Options& options)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        bool ok = true;
        if (word == QLatin1String("--jobs") && hasValue) {
            options.jobs = arguments[++i].toInt(&ok);
        } else if (word == QLatin1String("--opencv-threads") && hasValue) {
            options.opencvThreads = arguments[++i].toInt(&ok);
        } else if (word == QLatin1String("--data") && hasValue) {
            options.dataPath = arguments[++i];
        } else if (!word.startsWith(QLatin1String("--")) && options.folder.isEmpty()) {
            options.folder = word;
        } else {
            ok = false;
        }
        if (!ok) {
            return false;
        }
    }
    if (options.jobs <= 0) {
        options.jobs = QThread::idealThreadCount();
    }
    return !options.folder.isEmpty();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    Options options;
    if (!parseOptions(app.arguments(), options)) {
        std::fprintf(stderr, "usage: search_floor [--jobs N] [--opencv-threads N] [--data DATA_XML] FOLDER\n");
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    cv::setNumThreads(options.opencvThreads);
    const std::vector<QString> photos = photosIn(options.folder);
    if (photos.empty()) {
        std::fprintf(stderr, "search_floor: no photos in %s\n", qPrintable(options.folder));
        return 1;
    }

    Tally tally;
    std::atomic<std::size_t> next{0};
    std::vector<std::thread> workers;
    for (int j = 0; j < options.jobs; ++j) {
        workers.emplace_back([&] {
            for (std::size_t index = next++; index < photos.size(); index = next++) {
                decodeAndDetect(photos[index], options.dataPath, tally);
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    std::printf("%zu photos, %.2f s, %.2f photos/s, %d faces, %d unreadable\n", photos.size(), seconds,
                photos.size() / seconds, tally.faces.load(), tally.unreadable.load());
    return tally.unreadable == int(photos.size()) ? 1 : 0;
}
