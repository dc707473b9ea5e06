// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// libFuzzer target for the face index: every input is a list of changes to the bytes of one valid
// index file. Whatever the file then holds, the index must answer each photo with exactly what a
// scan of it stored, or not at all (the photo is scanned again): a damaged index may cost time,
// never a result. Crashes and hangs count as failures too.
#include "search/FaceIndex.h"
#include "search/FileStamp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

using namespace morvelin;

namespace {

struct Photo {
    QString path;
    FileStamp stamp;
    FaceIndex::Entry stored; // as the index gives it back: thumbnails went through JPEG
};

struct State {
    std::unique_ptr<QTemporaryDir> dir;
    QString index;
    QByteArray version;
    QByteArray valid;
    std::vector<Photo> photos;
};

State* state = nullptr;

void silence(QtMsgType, const QMessageLogContext&, const QString&) {}

QImage noise(QRandomGenerator& random, QImage::Format format)
{
    QImage image(48, 48, format);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int grey = random.bounded(256);
            image.setPixel(x, y, format == QImage::Format_RGB32 ? qRgb(grey, random.bounded(256), 90) : qRgb(grey, grey, grey));
        }
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

// Faces unlike each other, so that one photo's bytes read for another's can never pass.
FaceIndex::Entry entryFor(int photo, QRandomGenerator& random)
{
    FaceIndex::Entry entry;
    entry.photoSize = QSize(1200 + photo, 900);
    entry.scanSize = QSize(600 + photo, 450);
    if (photo == 0) {
        entry.error = QStringLiteral("not a readable image");
        return entry;
    }
    for (int i = 0; i < photo % 4; ++i) {
        FoundFace face;
        face.box = QRect(10 * photo + i, 20 + i, 60 + photo, 64);
        for (QPointF& point : face.keyPoints) {
            point = QPointF(random.bounded(600.0), random.bounded(450.0));
        }
        face.picture = noise(random, QImage::Format_Grayscale8);
        face.thumbnail = noise(random, QImage::Format_RGB32);
        face.features.resize(512);
        for (float& value : face.features) {
            value = float(random.bounded(2.0) - 1.0);
        }
        entry.faces.push_back(face);
    }
    return entry;
}

bool sameFaces(const FoundFace& a, const FoundFace& b)
{
    return a.box == b.box && a.keyPoints == b.keyPoints && a.blank == b.blank && a.picture == b.picture
        && a.features == b.features;
}

bool sameEntry(const FaceIndex::Entry& a, const FaceIndex::Entry& b)
{
    if (!(a.stamp == b.stamp) || a.error != b.error || a.photoSize != b.photoSize || a.scanSize != b.scanSize
        || a.faces.size() != b.faces.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.faces.size(); ++i) {
        if (!sameFaces(a.faces[i], b.faces[i]) || a.thumbnailOf(i) != b.thumbnailOf(i)) {
            return false;
        }
    }
    return true;
}

void removeIndexFiles()
{
    const QFileInfo index(state->index);
    for (const QString& name : QDir(index.absolutePath()).entryList({index.fileName() + QLatin1Char('*')}, QDir::Files)) {
        QFile::remove(index.absolutePath() + QLatin1Char('/') + name);
    }
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void fail(const char* why)
{
    std::fprintf(stderr, "face index fuzzer: %s\n", why);
    std::abort();
}

void makeValidIndex()
{
    QRandomGenerator random(7);
    QDir(state->dir->path()).mkpath(QStringLiteral("photos/sub"));
    {
        FaceIndex index(state->index, state->version);
        if (!index.isOpen()) {
            fail("the valid index cannot be made");
        }
        for (int i = 0; i < 8; ++i) {
            const QString path = state->dir->filePath(QLatin1String(i % 2 ? "photos/sub/%1.jpg" : "photos/%1.jpg")).arg(i);
            QFile file(path);
            file.open(QIODevice::WriteOnly);
            file.write(QByteArray(100 + i, char('a' + i)));
            file.close();
            Photo photo{path, *FileStamp::of(path), entryFor(i, random)};
            photo.stored.stamp = photo.stamp;
            index.remember(path, photo.stored);
            state->photos.push_back(photo);
        }
        index.flush();
    }
    state->valid = readAll(state->index);
    // What the index gives back of each photo, thumbnails decoded as the index stores them.
    FaceIndex index(state->index, state->version);
    for (Photo& photo : state->photos) {
        const std::optional<FaceIndex::Entry> found = index.find(photo.path, photo.stamp);
        if (!found) {
            fail("the valid index does not answer");
        }
        photo.stored = *found;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    qInstallMessageHandler(silence);
    state = new State;
    // The script points TMPDIR at a folder of its own and removes it however the fuzzer ends.
    state->dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/index-fuzz-XXXXXX"));
    state->index = state->dir->filePath(QStringLiteral("cache/faces.sqlite"));
    state->version = FaceIndex::versionOf({}, "fuzz");
    makeValidIndex();
    std::atexit([] {
        delete state;
        state = nullptr;
    });
    return 0;
}

// Each change is 4 bytes: where (two bytes, scaled to the file's length), how and with what. "How"
// sets, flips or, rarely, cuts the file short there.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray bytes = state->valid;
    for (std::size_t at = 0; at + 4 <= size && !bytes.isEmpty(); at += 4) {
        const auto where = qsizetype((std::uint32_t(data[at]) << 8 | data[at + 1]) * std::uint64_t(bytes.size()) >> 16);
        const std::uint8_t how = data[at + 2];
        const std::uint8_t value = data[at + 3];
        if (how == 0xff) {
            bytes.truncate(where);
        } else if (how & 1) {
            bytes[where] = char(bytes[where] ^ value);
        } else {
            bytes[where] = char(value);
        }
    }
    removeIndexFiles();
    QFile file(state->index);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return 0;
    }
    file.close();

    FaceIndex index(state->index, state->version);
    for (const Photo& photo : state->photos) {
        const std::optional<FaceIndex::Entry> found = index.find(photo.path, photo.stamp);
        if (found && !sameEntry(*found, photo.stored)) {
            fail("a damaged index answered a photo with what its scan did not find");
        }
    }
    // A damaged file must take writes, or refuse them, without harm.
    index.remember(state->photos.front().path, state->photos.front().stored);
    index.pruneMissing(state->dir->filePath(QStringLiteral("photos")), true);
    index.flush();
    index.stats();
    return 0;
}
