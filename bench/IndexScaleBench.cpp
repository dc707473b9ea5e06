// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// A library far larger than any test folder: writes FACES synthetic faces (two per photo, random unit
// vectors of the features model's length, each with a thumbnail the size of a real one) into the face
// index FILE unless it already holds them, then times a features search of all of them on this one
// thread: one pass over the index, every face's similarity with the person, the faces at 70 % or more
// counted. One face in a thousand is made the person's, so there is something to find.
//
// Usage: index_scale_bench [--faces N] FILE      (default 1000000 faces)

#include "search/FaceFeatures.h"
#include "search/FaceIndex.h"
#include "search/HalfFloat.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QRandomGenerator>

#include <cmath>
#include <cstdio>

using namespace morvelin;

namespace {

constexpr std::size_t dimensions = 512;
constexpr int facesPerPhoto = 2;
constexpr int personEvery = 1000;
const QByteArray version = "synthetic faces";

std::vector<float> unitVector(QRandomGenerator& random, const std::vector<float>& near = {}, double spread = 1.0)
{
    std::vector<float> vector(dimensions);
    double norm = 0;
    for (std::size_t i = 0; i < dimensions; ++i) {
        // Sums of uniform numbers: near enough to normal for directions spread over the sphere.
        double value = (random.generateDouble() + random.generateDouble() + random.generateDouble() - 1.5) * spread;
        if (!near.empty()) {
            value += near[i] * std::sqrt(double(dimensions));
        }
        vector[i] = float(value);
        norm += value * value;
    }
    for (float& value : vector) {
        value = float(value / std::sqrt(norm));
    }
    HalfFloat::round(vector);
    return vector;
}

QImage thumbnailLike(QRandomGenerator& random)
{
    QImage thumbnail(48, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const int shade = 90 + (x * y) % 80 + int(random.bounded(24));
            thumbnail.setPixel(x, y, qRgb(shade, shade * 3 / 4, shade / 2));
        }
    }
    return thumbnail;
}

void write(const QString& file, qint64 faces, const std::vector<float>& person)
{
    QRandomGenerator random(7);
    FaceIndex index(file, version);
    const QImage thumbnail = thumbnailLike(random);
    QElapsedTimer clock;
    clock.start();
    for (qint64 photo = 0; photo * facesPerPhoto < faces; ++photo) {
        FaceIndex::Entry entry;
        entry.stamp = {1, quint64(photo), 2000000, 1700000000000000000, 1700000000000000000};
        entry.photoSize = QSize(4000, 3000);
        entry.scanSize = QSize(1600, 1200);
        for (int n = 0; n < facesPerPhoto; ++n) {
            FoundFace face;
            face.box = QRect(100 * n, 200, 120, 120);
            face.thumbnail = thumbnail;
            const bool isPerson = (photo * facesPerPhoto + n) % personEvery == 0;
            face.features = isPerson ? unitVector(random, person, 0.5) : unitVector(random);
            entry.faces.push_back(std::move(face));
        }
        index.remember(QStringLiteral("/synthetic/%1/photo-%2.jpg").arg(photo / 1000).arg(photo), std::move(entry),
                       FaceIndex::Pictures::Skipped);
        if (photo % 50000 == 0) {
            std::fprintf(stderr, "index_scale_bench: %lld of %lld faces written, %.0f s\n", photo * facesPerPhoto,
                         faces, clock.elapsed() / 1000.0);
        }
    }
    index.flush();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    qint64 faces = 1000000;
    if (arguments.size() == 3 && arguments[0] == QLatin1String("--faces")) {
        faces = arguments[1].toLongLong();
        arguments = arguments.mid(2);
    }
    if (arguments.size() != 1 || faces <= 0) {
        std::fprintf(stderr, "usage: index_scale_bench [--faces N] FILE\n");
        return 2;
    }
    const QString file = arguments[0];
    QRandomGenerator random(11);
    const std::vector<float> person = unitVector(random);
    if (FaceIndex(file, version).stats().faces != faces) {
        FaceIndex(file, version).clear();
        write(file, faces, person);
    }

    FaceIndex index(file, version);
    QElapsedTimer clock;
    clock.start();
    qint64 seen = 0, matches = 0;
    index.forEachFace([&](const QByteArray&, std::size_t, const std::vector<float>& vector) {
        ++seen;
        if (FaceFeatures::similarity(person, vector) >= FaceFeatures::matchSimilarity) {
            ++matches;
        }
    });
    const double seconds = clock.nsecsElapsed() / 1e9;
    const FaceIndex::Stats stats = index.stats();
    std::printf("faces\t%lld\nseconds\t%.3f\nfaces per second\t%.0f\nbytes per face\t%lld\nmatches\t%lld\n", seen, seconds,
                seen / seconds, stats.bytes / std::max<qint64>(stats.faces, 1), matches);
    return 0;
}
