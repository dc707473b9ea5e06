#include "app/MainTexts.h"

#include "app/Translate.h"

#include <QStringList>

namespace morvelin {

namespace {

// The photo dialog's file types, exactly as the program has always offered them.
const QString cdiagFilter = QStringLiteral(
    "Jpeg files (*.jpg)|*.jpg|TIFF files (*.tif)|*.tif|Jpeg 2000 files (*.j2k)|*.j2k|BMP files (*.bmp)|*.bmp|"
    "PCX files (*.pcx)|*.pcx|TGA files (*.tga)|*.tga|Gif files (*.gif)|*.gif");

} // namespace

QString MainTexts::versionText(int major, int minor, int build)
{
    return Translate(QT_TRANSLATE_NOOP("Morvelin", "Version")) + QLatin1Char(' ') + QString::number(major) + QLatin1Char('.')
        + QStringLiteral("%1").arg(minor, 2, 10, QLatin1Char('0')) + QLatin1Char(' ')
        + Translate(QT_TRANSLATE_NOOP("Morvelin", "Build:")) + QLatin1Char(' ') + QString::number(build);
}

QString MainTexts::dialogFilter()
{
    const QStringList parts = cdiagFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        filters.append(parts[i]);
    }
    return filters.join(QStringLiteral(";;"));
}

QString MainTexts::legalNotice()
{
    return Translate(QT_TRANSLATE_NOOP("Morvelin", "Copyright © The Face Morvelin developers"));
}

} // namespace morvelin
