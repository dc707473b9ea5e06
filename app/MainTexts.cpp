// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/MainTexts.h"

#include "app/Translate.h"
#include "search/PhotoTypes.h"

#include <QStringList>

#include <array>
#include <utility>

namespace morvelin {

namespace {

// The photo dialog's file types after "All pictures": the program's own entries in the order it has
// always offered them, JPEG and TIFF with their longer endings, then PNG and the types phones and the
// web brought.
const std::array<std::pair<const char*, const char*>, 11> dialogTypes{{
    {"Jpeg", "*.jpg *.jpeg *.jpe"},
    {"TIFF", "*.tif *.tiff"},
    {"Jpeg 2000", "*.jp2 *.j2k"},
    {"BMP", "*.bmp"},
    {"PCX", "*.pcx"},
    {"TGA", "*.tga"},
    {"Gif", "*.gif"},
    {"PNG", "*.png"},
    {"HEIC", "*.heic *.heif"},
    {"AVIF", "*.avif"},
    {"WebP", "*.webp"},
}};

} // namespace

QString MainTexts::versionText(int major, int minor, int build)
{
    return Translate(QT_TRANSLATE_NOOP("Morvelin", "Version")) + QLatin1Char(' ') + QString::number(major) + QLatin1Char('.')
        + QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0')) + QLatin1Char(' ')
        + Translate(QT_TRANSLATE_NOOP("Morvelin", "Build:")) + QLatin1Char(' ') + QString::number(build);
}

QString MainTexts::dialogFilter()
{
    QStringList everyType;
    for (const QString& extension : PhotoTypes::extensions()) {
        everyType.append(QStringLiteral("*.") + extension);
    }
    QStringList filters{Translate(QT_TRANSLATE_NOOP("Morvelin", "All pictures")) + QStringLiteral(" (%1)").arg(everyType.join(QLatin1Char(' ')))};
    for (const auto& [type, patterns] : dialogTypes) {
        filters.append(Translate(QT_TRANSLATE_NOOP("Morvelin", "%1 files")).arg(QLatin1String(type))
                       + QStringLiteral(" (%1)").arg(QLatin1String(patterns)));
    }
    return filters.join(QStringLiteral(";;"));
}

QString MainTexts::legalNotice()
{
    return Translate(QT_TRANSLATE_NOOP("Morvelin", "Copyright © The Face Morvelin developers"));
}

} // namespace morvelin
