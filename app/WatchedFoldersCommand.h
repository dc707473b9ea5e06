// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStringList>
#include <QTextStream>

namespace morvelin {

class FolderIndexer;

// `index --watch FOLDER | --unwatch FOLDER | --list | --update FOLDER...`: the folders the tray program
// keeps indexed, and bringing the face index up to date for folders without a window, for a timer or
// a NAS.
class WatchedFoldersCommand {
public:
    // Whether the words after `index` are for this verb rather than for the index itself.
    static bool handles(const QStringList& operands);
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);

private:
    static int watch(const QString& folder, QTextStream& err);
    static int unwatch(const QString& folder, QTextStream& err);
    static int list(QTextStream& out, QTextStream& err);
    static int update(const QStringList& folders, QTextStream& err);
    static int runToTheEnd(FolderIndexer& indexer, const QStringList& folders, QTextStream& err);
    [[noreturn]] static void endNow(int status);
};

} // namespace morvelin
