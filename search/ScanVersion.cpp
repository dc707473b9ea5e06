// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/ScanVersion.h"

#include "search/DetectorConfig.h"
#include "search/FaceFeatures.h"
#include "search/FaceFilter.h"
#include "search/FaceIndex.h"
#include "search/MagickImageFileReader.h"
#include "search/PhotoScan.h"

#include <QCryptographicHash>

#include <opencv2/core/utility.hpp>

namespace morvelin {

QByteArray ScanVersion::of(const QString& dataPath)
{
    return of(dataPath, Revisions());
}

QByteArray ScanVersion::of(const QString& dataPath, const Revisions& revisions)
{
    QStringList files{dataPath, FaceFeatures::pathBeside(dataPath)};
    if (const DetectorConfig::Result read = DetectorConfig::readFile(dataPath); read.config) {
        files.append(read.config->modelPath);
    }
    const QByteArray settings = QStringLiteral("revision %1; cutting %2; framing %3; scan %4 x %5; filter %6; %7")
                                    .arg(revisions.scan)
                                    .arg(revisions.cutting)
                                    .arg(revisions.framing)
                                    .arg(PhotoScan::widestLandscape)
                                    .arg(PhotoScan::tallestPortrait)
                                    .arg(QString::fromLatin1(filterFingerprint()), libraryVersions())
                                    .toUtf8();
    return FaceIndex::versionOf(files, settings);
}

QString ScanVersion::libraryVersions()
{
    return QStringLiteral("Qt %1; OpenCV %2; %3")
        .arg(QLatin1String(qVersion()), QString::fromStdString(cv::getVersionString()),
             MagickImageFileReader::libraryVersion());
}

QByteArray ScanVersion::filterFingerprint()
{
    constexpr int side = 64;
    QImage probe(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            probe.setPixel(x, y, qRgb(x * 4, y * 4, (x * y) % 256));
        }
    }
    FaceFilter::apply(probe);
    const QImage filtered = probe.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash digest(QCryptographicHash::Sha256);
    for (int y = 0; y < filtered.height(); ++y) {
        digest.addData(QByteArrayView(reinterpret_cast<const char*>(filtered.constScanLine(y)), filtered.width() * 4));
    }
    return digest.result().toHex().left(16);
}

} // namespace morvelin
