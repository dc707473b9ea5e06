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
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace morvelin {

class FaceIndexStore;
class FaceIndexWriter;
class SqliteStatement;

// Remembers what each scanned photo holds — its faces, as the comparison reads them — so that a
// repeat search only compares. A photo's entry counts only while the file keeps its stamp and the scan
// that made it had the same version (detector, its data, scan size, filter, feature model). A photo
// that moved, was renamed, copied or reached through another mount is found by its content (see
// FileFingerprint) with the same size and modification time. It is a cache: losing it changes speed,
// never results; a damaged file is moved aside and started anew. find() may be called from several
// threads at once; writes go to one writer thread in batches. An index this process may not write
// only answers.
class FaceIndex {
public:
    using Face = FoundFace;

    struct Entry {
        FileStamp stamp;          // of the file the scan read
        QString error;            // why the photo could not be scanned; empty when it was
        QSize photoSize;          // the photo's own size, turned as its orientation says
        QSize scanSize;           // the size it was scanned at: the faces' boxes are in its pixels
        std::vector<Face> faces;  // their thumbnails left to thumbnailOf(), which decodes only what is shown
        std::vector<QByteArray> storedThumbnails; // as the index keeps them, one per face

        // The face's thumbnail, decoded from the index when it came from there.
        QImage thumbnailOf(std::size_t face) const;
    };

    // What a search reads of each entry beside the boxes and vectors.
    enum class Pictures { Skipped, Read };

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

    bool readOnly() const;

    // The stored scan of `photo`, when it was made by this version from the file as it is now — under
    // its name, or under another with the same content. The grid pictures are read only when asked for.
    std::optional<Entry> find(const QString& photo, const FileStamp& stamp, Pictures pictures = Pictures::Read) const;
    // Queues the scan of `photo` for the writer; it replaces an older entry. The grid pictures are
    // kept only when `pictures` says so: a search that does not compare them would pay twice their bytes.
    void remember(const QString& photo, Entry entry, Pictures pictures = Pictures::Read);
    // Queues the removal of entries for files directly in `folder` (anywhere below it when
    // `recursive`) that no longer exist.
    void pruneMissing(const QString& folder, bool recursive);
    // Removes, before returning, every entry whose file is gone; the number removed, or -1 when the
    // index could not be changed.
    qint64 pruneEverywhere();
    // Returns when everything queued so far is written (or given up).
    void flush();

    // Every face the index holds that this version made, in one pass over the file, reading only the
    // boxes and vectors: `visit` gets the photo's key (its path's bytes), the face's number in it and
    // its vector (empty for a blank face). Damaged entries are skipped.
    using FaceVisitor = std::function<void(const QByteArray& key, std::size_t face, const std::vector<float>& vector)>;
    void forEachFace(const FaceVisitor& visit) const;

    Stats stats() const;
    // Empties the index and removes the damaged copies moved aside, so that no face the index held is
    // left on disk; a search in another process stops storing. On a full disk, or when the index
    // cannot be opened, its files are removed instead. False when something could not be removed.
    bool clear();

private:
    std::optional<Entry> findByContent(const QString& photo, const FileStamp& stamp, Pictures pictures) const;
    std::optional<Entry> decoded(SqliteStatement& row, Pictures pictures) const;
    void rememberUnder(const QString& photo, qint64 id, const FileStamp& stamp) const;
    QStringList brokenCopies() const;
    bool removeBrokenCopies() const;

    std::shared_ptr<FaceIndexStore> m_store;
    std::unique_ptr<FaceIndexWriter> m_writer;
};

} // namespace morvelin
