// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FileStamp.h"
#include "search/FoundFace.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace morvelin {

class FaceIndexStore;
class FaceIndexWriter;

// Remembers what each scanned photo holds — its faces, as the comparison reads them — so that a
// repeat search only compares. A photo's entry counts only while the file keeps its stamp and the scan
// that made it had the same version (detector, its data, scan size, filter, feature model). It is a
// cache: losing it changes speed, never results; a damaged file is moved aside and started anew.
// find() may be called from several threads at once; writes go to one writer thread in batches.
class FaceIndex {
public:
    using Face = FoundFace;

    struct Entry {
        FileStamp stamp;          // of the file the scan read
        QString error;            // why the photo could not be scanned; empty when it was
        QSize photoSize;          // the photo's own size, turned as its orientation says
        QSize scanSize;           // the size it was scanned at: the faces' boxes are in its pixels
        std::vector<Face> faces;
    };

    struct Stats {
        qint64 photos = 0;
        qint64 faces = 0;
        qint64 bytes = 0; // the database with its write-ahead log, and the damaged copies
        qint64 brokenCopies = 0; // damaged files moved aside, faces and all
    };

    // `$XDG_CACHE_HOME/face-morvelin/faces.sqlite`.
    static QString defaultPath();
    // A digest of the files' contents and of `settings`: what a scan's findings depend on.
    static QByteArray versionOf(const QStringList& files, const QByteArray& settings);

    // Opens the index at `path`, creating it (folder 0700, file 0600). Entries of another `version`
    // are never answered. Check isOpen(); notice() says what the user should hear of it.
    FaceIndex(const QString& path, const QByteArray& version);
    // Writes what is still queued.
    ~FaceIndex();
    FaceIndex(const FaceIndex&) = delete;
    FaceIndex& operator=(const FaceIndex&) = delete;

    bool isOpen() const;
    // One line for the user: a damaged index moved aside, or why the search runs without one. Empty
    // when there is nothing to say.
    QString notice() const;
    QString path() const;

    // The stored scan of `photo`, when it was made by this version from the file as it is now.
    std::optional<Entry> find(const QString& photo, const FileStamp& stamp) const;
    // Queues the scan of `photo` for the writer; it replaces an older entry.
    void remember(const QString& photo, Entry entry);
    // Queues the removal of entries for files directly in `folder` (anywhere below it when
    // `recursive`) that no longer exist.
    void pruneMissing(const QString& folder, bool recursive);
    // Returns when everything queued so far is written (or given up).
    void flush();

    Stats stats() const;
    // Empties the index and removes the damaged copies moved aside, so that no face the index held is
    // left on disk; a search in another process stops storing. On a full disk, or when the index
    // cannot be opened, its files are removed instead. False when something could not be removed.
    bool clear();

private:
    QStringList brokenCopies() const;
    bool removeBrokenCopies() const;

    std::shared_ptr<FaceIndexStore> m_store;
    std::unique_ptr<FaceIndexWriter> m_writer;
};

} // namespace morvelin
