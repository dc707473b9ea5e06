// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "base/DataFolder.h"

#include "base/Folders.h"

#include <QDir>
#include <QFileInfo>

namespace morvelin {

namespace {

// The detector's data file is the one file every layout has.
const QString markerFile = QStringLiteral("data.xml");

} // namespace

QString DataFolder()
{
    const QString programFolder = AppFolder();
    if (programFolder.isEmpty() || QFileInfo::exists(programFolder + markerFile)) {
        return programFolder;
    }
    const QString installed =
        FolderWithSeparator(QDir::cleanPath(programFolder + QStringLiteral(MORVELIN_DATA_FROM_PROGRAM)));
    return QFileInfo::exists(installed + markerFile) ? installed : programFolder;
}

QString DetectorDataPath()
{
    return DataFolder() + markerFile;
}

} // namespace morvelin
