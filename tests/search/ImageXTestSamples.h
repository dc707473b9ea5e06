#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

namespace morvelin {

// Pictures in every format the scans read, written at test time: Qt writes BMP, JPEG, PNG and
// TIFF, ImageMagick the formats Qt cannot write.
class ImageXTestSamples {
public:
    struct Sample {
        QString name;      // e.g. "tga-rle", for messages and file names
        QString extension; // without the dot
        QByteArray bytes;
        QImage expected;   // what decoding should give back
        double tolerance;  // mean difference per channel allowed after a round trip
    };

    // A colour gradient with a bright block in the top-left corner, so that flipped, mirrored or
    // channel-swapped decoding shows.
    static QImage pattern(int width, int height);
    static QStringList nineExtensions();
    // One sample per extension, plus variants (RLE, V4 header, 16 bits, grey, CMYK) when `variants`.
    static QList<Sample> samples(const QImage& image, bool variants);
    static QByteArray encode(const QImage& image, const QString& extension);
    static QString writeFile(const QString& path, const QByteArray& bytes);
    static double meanDifference(const QImage& a, const QImage& b);
};

} // namespace morvelin
