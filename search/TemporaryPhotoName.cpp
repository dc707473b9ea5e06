// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/TemporaryPhotoName.h"

#include "search/TimerText.h"

#include <QFile>

namespace morvelin {

namespace {

constexpr int maxAttempts = 1000;

bool createExclusively(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
}

} // namespace

QString TemporaryPhotoName::whyNotIn(const QString& folder)
{
    if (folder.isEmpty()) {
        return QStringLiteral("no private temporary folder could be made (is TMPDIR a writable folder?)");
    }
    return QStringLiteral("cannot create a temporary file in %1").arg(folder);
}

QString TemporaryPhotoName::create(const QString& folder, const QString& prefix)
{
    // No folder would mean the current one, which is nowhere a temporary file belongs.
    if (folder.isEmpty()) {
        return QString();
    }
    const QString stem = folder + prefix + TimerText::now();
    if (createExclusively(stem + QStringLiteral(".jpg"))) {
        return stem + QStringLiteral(".jpg");
    }
    for (int n = 2; n <= maxAttempts; ++n) {
        const QString path = stem + QStringLiteral("_%1.jpg").arg(n);
        if (createExclusively(path)) {
            return path;
        }
    }
    return QString();
}

} // namespace morvelin
