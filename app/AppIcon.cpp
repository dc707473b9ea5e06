// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/AppIcon.h"

#include "base/ProgramNames.h"

#include <QString>

namespace morvelin {

namespace {

constexpr int builtInSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QIcon builtInIcon()
{
    QIcon icon;
    for (const int size : builtInSizes) {
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(QLatin1String(ProgramNames::appId)),
                     QSize(size, size));
    }
    return icon;
}

} // namespace

QIcon AppIcon()
{
    return QIcon::fromTheme(QLatin1String(ProgramNames::appId), builtInIcon());
}

} // namespace morvelin
