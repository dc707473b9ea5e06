// Writes the fuzzer's seed corpus: small samples of every format the loader reads, with the
// variants worth starting from. Run once and commit the result:
//   make_fuzz_corpus tests/data/fuzz-corpus
#include "ImageXTestSamples.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QImageWriter>

#include <cstdio>

using namespace morvelin;

namespace {

QByteArray progressiveJpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.setQuality(80);
    return writer.write(image) ? bytes : QByteArray();
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_corpus FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    const QImage image = ImageXTestSamples::pattern(24, 16);
    QList<ImageXTestSamples::Sample> samples = ImageXTestSamples::samples(image, true);
    samples.append({"jpg-progressive", "jpg", progressiveJpeg(image), image, 0});
    for (const ImageXTestSamples::Sample& sample : samples) {
        const QString path = folder.filePath(QStringLiteral("seed-%1.%2").arg(sample.name, sample.extension));
        if (sample.bytes.isEmpty() || ImageXTestSamples::writeFile(path, sample.bytes).isEmpty()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\t%lld bytes\n", qPrintable(path), static_cast<long long>(sample.bytes.size()));
    }
    return 0;
}
