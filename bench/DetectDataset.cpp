// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "DetectDataset.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

namespace morvelin::bench {

std::vector<MarkedPhoto> readMarkedPhotos(const QString& xmlPath)
{
    std::vector<MarkedPhoto> photos;
    QFile file(xmlPath);
    if (!file.open(QIODevice::ReadOnly)) {
        return photos;
    }
    const QDir folder = QFileInfo(xmlPath).absoluteDir();
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        reader.readNext();
        if (!reader.isStartElement()) {
            continue;
        }
        const QXmlStreamAttributes attributes = reader.attributes();
        if (reader.name() == u"image") {
            photos.push_back({folder.filePath(attributes.value(QLatin1StringView("file")).toString()), {}, {}});
        } else if (reader.name() == u"box" && !photos.empty()) {
            const QRect box(attributes.value(QLatin1StringView("left")).toInt(),
                            attributes.value(QLatin1StringView("top")).toInt(),
                            attributes.value(QLatin1StringView("width")).toInt(),
                            attributes.value(QLatin1StringView("height")).toInt());
            const bool ignore = attributes.value(QLatin1StringView("ignore")) == u"1";
            (ignore ? photos.back().ignored : photos.back().faces).push_back(box);
        }
    }
    return photos;
}

QString testPhotosFolder(int argc, char* argv[])
{
    return argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(MORVELIN_TEST_PHOTOS);
}

} // namespace morvelin::bench
