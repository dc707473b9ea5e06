// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace morvelin {

// One prepared statement, finalised when it goes out of scope.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool ok() const { return m_statement != nullptr; }
    void bind(int index, const QByteArray& bytes);
    void bind(int index, const QString& text);
    void bind(int index, qint64 value);
    // SQLite's result code: SQLITE_ROW, SQLITE_DONE or an error.
    int step();
    // Makes the statement ready to be bound and stepped again.
    void reset();
    qint64 integer(int column) const;
    QByteArray blob(int column) const;
    QString text(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
};

} // namespace morvelin
