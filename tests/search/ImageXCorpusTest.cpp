#include "search/ImageX.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace morvelin;

// Replays the fuzzer's seed corpus, every file that once broke the loader, and truncated copies of
// them all: each must give a picture, a partial picture or an error, never a crash or a hang.
namespace {

QFileInfoList corpusFiles()
{
    return QDir(QStringLiteral(MORVELIN_TEST_DATA "/fuzz-corpus")).entryInfoList(QDir::Files, QDir::Name);
}

QFileInfoList keptBreakers()
{
    const QStringList patterns{"*.bmp", "*.tif", "*.gif", "*.jpg", "*.png", "*.pcx", "*.tga", "*.jp2", "*.j2k"};
    return QDir(QStringLiteral(MORVELIN_TEST_DATA)).entryInfoList(patterns, QDir::Files, QDir::Name);
}

// Loads `path` into an image that already holds a marker picture and checks that the outcome is
// one of the three allowed ones.
void expectCleanOutcome(const QString& path)
{
    SCOPED_TRACE(path.toStdString());
    const QImage marker(5, 3, QImage::Format_RGB32);
    ImageX image;
    image.setPicture(marker);
    if (!image.load(path)) {
        EXPECT_FALSE(image.errorString().isEmpty());
        EXPECT_EQ(image.picture().size(), marker.size());
        return;
    }
    const QSize announced(image.width(), image.height());
    image.resize(0, std::max(1, image.height() / 2));
    const QImage picture = image.picture();
    if (picture.size() == marker.size() && announced != marker.size()) {
        EXPECT_FALSE(image.errorString().isEmpty()); // decoding failed, the marker came back
        return;
    }
    EXPECT_EQ(picture.size(), QSize(image.width(), image.height()));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
}

} // namespace

TEST(ImageXCorpusTest, KeptBreakersLoadCleanly)
{
    for (const QFileInfo& info : keptBreakers()) {
        expectCleanOutcome(info.filePath());
    }
}

TEST(ImageXCorpusTest, TruncatedCopiesLoadCleanly)
{
    QTemporaryDir dir;
    for (const QFileInfo& info : corpusFiles() + keptBreakers()) {
        QFile file(info.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << info.filePath().toStdString();
        const QByteArray bytes = file.readAll();
        const qsizetype size = bytes.size();
        for (const qsizetype cut : {qsizetype(1), qsizetype(8), qsizetype(18), qsizetype(54), size / 4, size / 2,
                                    size * 3 / 4, size - 1}) {
            if (cut <= 0 || cut >= size) {
                continue;
            }
            const QString path = dir.filePath(QStringLiteral("cut%1-").arg(cut) + info.fileName());
            QFile copy(path);
            ASSERT_TRUE(copy.open(QIODevice::WriteOnly) && copy.write(bytes.left(cut)) == cut);
            copy.close();
            expectCleanOutcome(path);
        }
    }
}
