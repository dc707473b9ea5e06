// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/PhotoTypes.h"

#include <array>
#include <utility>

namespace morvelin {

namespace {

// Beyond the nine endings of the old four-character rule, the longer ones cameras, phones and
// browsers write: .jpeg and .jpe, .tiff, .webp from the web, .heic/.heif from phones, .avif.
const std::array<std::pair<const char*, const char*>, 16> typesByExtension{{
    {"jpg", "jpeg"},
    {"jpeg", "jpeg"},
    {"jpe", "jpeg"},
    {"tif", "tiff"},
    {"tiff", "tiff"},
    {"bmp", "bmp"},
    {"gif", "gif"},
    {"png", "png"},
    {"webp", "webp"},
    {"pcx", "PCX"},
    {"tga", "TGA"},
    {"jp2", "JP2"},
    {"j2k", "J2K"},
    {"heic", "HEIC"},
    {"heif", "HEIC"},
    {"avif", "AVIF"},
}};

// The major brands of ISO-BMFF files holding a still HEIF picture: HEVC-coded, any codec, AV1-coded.
const std::array<std::pair<const char*, const char*>, 12> typesByBrand{{
    {"heic", "HEIC"},
    {"heix", "HEIC"},
    {"heim", "HEIC"},
    {"heis", "HEIC"},
    {"hevc", "HEIC"},
    {"hevx", "HEIC"},
    {"hevm", "HEIC"},
    {"hevs", "HEIC"},
    {"mif1", "HEIC"},
    {"msf1", "HEIC"},
    {"avif", "AVIF"},
    {"avis", "AVIF"},
}};

// The last part of the file's name after its dot, lower case: "jpg", "jpeg", "tiff", ...
QString extensionOf(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return dot > slash ? path.mid(dot + 1).toLower() : QString();
}

bool isPcx(const QByteArray& head)
{
    if (head.size() < 4 || head[0] != 0x0A) {
        return false;
    }
    const char version = head[1];
    const char encoding = head[2];
    const char bits = head[3];
    return (version == 0 || (version >= 2 && version <= 5)) && (encoding == 0 || encoding == 1)
        && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

QByteArray heifType(const QByteArray& head)
{
    if (head.size() < 12 || head.mid(4, 4) != "ftyp") {
        return QByteArray();
    }
    const QByteArray brand = head.mid(8, 4);
    for (const auto& [name, type] : typesByBrand) {
        if (brand == name) {
            return type;
        }
    }
    return QByteArray();
}

} // namespace

QByteArray PhotoTypes::typeOfName(const QString& path)
{
    const QString extension = extensionOf(path);
    for (const auto& [name, type] : typesByExtension) {
        if (extension == QLatin1String(name)) {
            return type;
        }
    }
    return QByteArray();
}

QByteArray PhotoTypes::typeOfContent(const QByteArray& head)
{
    if (head.startsWith("\xFF\xD8\xFF")) {
        return "jpeg";
    }
    if (head.startsWith("\x89PNG\r\n\x1A\n")) {
        return "png";
    }
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a")) {
        return "gif";
    }
    if (head.startsWith("II*") || head.startsWith(QByteArray("MM\0*", 4))) {
        return "tiff";
    }
    if (head.startsWith("RIFF") && head.mid(8, 4) == "WEBP") {
        return "webp";
    }
    if (head.startsWith(QByteArray("\0\0\0\x0CjP  \r\n\x87\n", 12))) {
        return "JP2";
    }
    if (head.startsWith("\xFF\x4F\xFF\x51")) {
        return "J2K";
    }
    if (const QByteArray heif = heifType(head); !heif.isEmpty()) {
        return heif;
    }
    if (head.startsWith("BM")) {
        return "bmp";
    }
    return isPcx(head) ? QByteArray("PCX") : QByteArray();
}

QStringList PhotoTypes::extensions()
{
    QStringList endings;
    for (const auto& [extension, type] : typesByExtension) {
        endings.append(QLatin1String(extension));
    }
    return endings;
}

bool PhotoTypes::isMagickType(const QByteArray& type)
{
    return !type.isEmpty() && type.at(0) >= 'A' && type.at(0) <= 'Z';
}

QString PhotoTypes::notReadReason(const QString& path)
{
    const QString extension = extensionOf(path);
    return QStringLiteral("not an image type this program reads (%1)")
        .arg(extension.isEmpty() ? QStringLiteral("no extension") : QLatin1Char('.') + extension);
}

} // namespace morvelin
