// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// Decoding times of the image component. The scans load a photo, read its size and ask for it at
// 1600 x 1200 at most; the photo here is a 12-megapixel JPEG of a smooth gradient with noise, so it
// compresses like a real one, and the same picture as WebP and HEIC (which takes ImageMagick's HEVC
// encoder about a minute to write).
#include "search/ImageX.h"

#include <Magick++.h>

#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

using namespace morvelin;

namespace {

QImage photoLike(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 27) - 16;
            line[x] = qRgb(qBound(0, x * 255 / width + noise, 255), qBound(0, y * 255 / height + noise, 255),
                           qBound(0, 128 + noise, 255));
        }
    }
    return image;
}

struct Files {
    QTemporaryDir dir;
    QString photo;   // 4000 x 3000
    QString webp;
    QString heic;
};

void writeHeic(const QImage& picture, const QString& path)
{
    Magick::InitializeMagick(nullptr);
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    Magick::Image image(size_t(argb.width()), size_t(argb.height()), "BGRA", Magick::CharPixel, argb.constBits());
    image.quality(90);
    image.write("HEIC:" + path.toStdString());
}

Files& files()
{
    static Files* instance = [] {
        auto* created = new Files;
        created->photo = created->dir.filePath(QStringLiteral("photo.jpg"));
        created->webp = created->dir.filePath(QStringLiteral("photo.webp"));
        created->heic = created->dir.filePath(QStringLiteral("photo.heic"));
        const QImage picture = photoLike(4000, 3000);
        QImageWriter photo(created->photo, "jpeg");
        photo.setQuality(90);
        photo.write(picture);
        QImageWriter webp(created->webp, "webp");
        webp.setQuality(90);
        webp.write(picture);
        writeHeic(picture, created->heic);
        return created;
    }();
    return *instance;
}

void BM_QtReaderFullSize(benchmark::State& state)
{
    for (auto _ : state) {
        QImageReader reader(files().photo);
        benchmark::DoNotOptimize(reader.read());
    }
}
BENCHMARK(BM_QtReaderFullSize)->Unit(benchmark::kMillisecond);

void BM_ImageXFullSize(benchmark::State& state)
{
    for (auto _ : state) {
        ImageX image;
        image.load(files().photo);
        benchmark::DoNotOptimize(image.picture());
    }
}
BENCHMARK(BM_ImageXFullSize)->Unit(benchmark::kMillisecond);

// JPEG decodes reduced; WebP and HEIC have no reduced decode: the picture is decoded whole, then
// scaled.
void BM_ImageXScaledTo1600x1200(benchmark::State& state, QString Files::*photo)
{
    for (auto _ : state) {
        ImageX image;
        image.load(files().*photo);
        image.resize(1600, 0);
        benchmark::DoNotOptimize(image.picture());
    }
}
BENCHMARK_CAPTURE(BM_ImageXScaledTo1600x1200, jpeg, &Files::photo)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImageXScaledTo1600x1200, webp, &Files::webp)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ImageXScaledTo1600x1200, heic, &Files::heic)->Unit(benchmark::kMillisecond);

// What a scan does with one photo before detection: scale and filter.
void BM_ImageXScanChain(benchmark::State& state)
{
    for (auto _ : state) {
        ImageX image;
        image.load(files().photo);
        image.resize(1600, 0);
        image.filter();
        benchmark::DoNotOptimize(image.picture());
    }
}
BENCHMARK(BM_ImageXScanChain)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    if (!QImageReader(files().photo).canRead() || !QImageReader(files().webp).canRead() || !ImageX().load(files().heic)) {
        std::fprintf(stderr, "could not write the test photos\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
