// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/SearchStatus.h"

#include "app/Translate.h"

namespace morvelin {

QString SearchStatus::text(State state, const FolderSearch::Counts& counts, int listed)
{
    switch (state) {
    case State::Running:
        return progress(counts, listed);
    case State::Finished:
        return finished(counts, listed) + unread(counts);
    case State::Stopped:
        return stopped(counts, listed) + unread(counts);
    }
    return QString();
}

QString SearchStatus::progress(const FolderSearch::Counts& counts, int listed)
{
    if (counts.photosScanned == 0) {
        return Translate(QT_TRANSLATE_NOOP("Morvelin", "Searching..."));
    }
    return Translate(QT_TRANSLATE_NOOP("Morvelin", "Found in %1 of %2 photos so far."))
        .arg(listed)
        .arg(counts.photosScanned);
}

QString SearchStatus::finished(const FolderSearch::Counts& counts, int listed)
{
    if (counts.photosSeen == 0) {
        return Translate(QT_TRANSLATE_NOOP("Morvelin", "This folder holds no photos."));
    }
    if (listed == 0) {
        return Translate(QT_TRANSLATE_NOOP("Morvelin", "No photo in this folder shows this face (%1 searched)."))
            .arg(counts.photosScanned);
    }
    return Translate(QT_TRANSLATE_NOOP("Morvelin", "Found in %1 of %2 photos.")).arg(listed).arg(counts.photosScanned);
}

// The walk stops with the search, so how many photos the folder holds in all is not known.
QString SearchStatus::stopped(const FolderSearch::Counts& counts, int listed)
{
    const QString after = Translate(QT_TRANSLATE_NOOP("Morvelin", "Stopped after %1 photos; the rest of the folder was not searched."))
                              .arg(counts.photosScanned);
    if (listed == 0) {
        return after;
    }
    return after + QLatin1Char('\n') + Translate(QT_TRANSLATE_NOOP("Morvelin", "Found in %1 of them.")).arg(listed);
}

QString SearchStatus::unread(const FolderSearch::Counts& counts)
{
    QString lines;
    if (counts.unreadablePhotos > 0) {
        lines += QLatin1Char('\n')
            + Translate(QT_TRANSLATE_NOOP("Morvelin", "%1 files could not be read.")).arg(counts.unreadablePhotos);
    }
    if (counts.unreadableFolders > 0) {
        lines += QLatin1Char('\n')
            + Translate(QT_TRANSLATE_NOOP("Morvelin", "%1 folders could not be opened.")).arg(counts.unreadableFolders);
    }
    return lines;
}

} // namespace morvelin
