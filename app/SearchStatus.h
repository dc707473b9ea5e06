// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FolderSearch.h"

#include <QString>

namespace morvelin {

// What the main window's status line says of a search: photos listed beside photos searched, and at
// the end whether the folder held no photo at all, none showed the face, the user stopped the search
// early or files could not be read. Translated.
class SearchStatus {
public:
    enum class State { Running, Finished, Stopped };

    // `listed`: the photos in the result list, one per photo however many of its faces matched.
    static QString text(State state, const FolderSearch::Counts& counts, int listed);

private:
    static QString progress(const FolderSearch::Counts& counts, int listed);
    static QString finished(const FolderSearch::Counts& counts, int listed);
    static QString stopped(const FolderSearch::Counts& counts, int listed);
    static QString unread(const FolderSearch::Counts& counts);
};

} // namespace morvelin
