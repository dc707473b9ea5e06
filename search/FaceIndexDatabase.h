// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

struct sqlite3;

namespace morvelin {

// The face index's SQLite file: how it is made safe to open, opened, recognised as ours and given
// its tables. Every connection, the readers' and the writer's, is opened here.
class FaceIndexDatabase {
public:
    // Outdated: ours, made by an older program; it is emptied and made anew, without a word.
    enum class Soundness { Sound, Outdated, Damaged, Unusable };

    // Makes the folder and the file, both private to their owner; false when either cannot be made
    // or written.
    static bool prepareFile(const QString& path);
    // A connection, or null; safe to use from several threads. A read-only connection to a file whose
    // folder cannot be written (a share, a read-only medium) takes the file as it is.
    static sqlite3* open(const QString& path, bool readOnly = false);
    // Whether this process may change the file and make its log beside it.
    static bool writable(const QString& path);
    static Soundness soundness(sqlite3* db);
    // The tables and the marks that tell the file as ours, in the write-ahead log's mode.
    static bool createSchema(sqlite3* db);
    // The tables of an outdated file dropped, their pages wiped, and made anew.
    static bool renewSchema(sqlite3* db);

    static bool execute(sqlite3* db, const char* sql);
    // The single integer a query returns, if it returns one.
    static std::optional<qint64> integer(sqlite3* db, const char* sql);
    // How many times the index was emptied: a writer that sees it move on stops.
    static qint64 generationOf(sqlite3* db);
    // Why SQLite refused, for the user.
    static QString failureOf(sqlite3* db);
};

} // namespace morvelin
