// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FoundFace.h"
#include "search/PhotoPixels.h"

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QRect>
#include <QStringList>
#include <QTextStream>
#include <QTimer>

#include <vector>

namespace morvelin {

class FolderSearch;
class ResultList;

// What the command line shows of a search: a progress line on a terminal, the summary, and the
// listed photos as lines or as one JSON document.
class SearchReport : public QObject {
    Q_OBJECT

public:
    // What was searched for, as `--json` tells it.
    struct Query {
        struct Face {
            QString photo;
            int pick = 1;
            PhotoPixels inPhoto; // from the photo's scan-sized pixels, where `face` was found
            QSize photoSize;
            FoundFace face;
        };
        QString matcher;
        std::int64_t thresholdTenThousandths = 0;
        std::vector<Face> faces;
    };

    // The version of the `--json` document's layout (docs/search-json.schema.json).
    static constexpr int jsonSchema = 1;

    SearchReport(const ResultList& results, FolderSearch& search, bool onTerminal, QTextStream& err);

    // Keeps every path not read with its reason, for the summary.
    void setVerbose(bool verbose) { m_verbose = verbose; }
    void noteStopping();
    // Ends the progress line and writes the summary; `complete` is false for a search cut short.
    void finish(bool complete);
    void writeList(QTextStream& out) const;
    // The query, and every listed photo with its size and its faces, each in the photo's own pixels
    // with its score and what the matcher adds (the features matcher: its cosine similarity).
    void writeJson(QTextStream& out, const Query& query) const;

private:
    struct Photo {
        QSize size;
        std::vector<QJsonObject> faces;
    };

    void watchScan(class PhotoScan* scan);
    void noteNotRead(const QString& path, const QString& reason);
    QString unreadText() const;
    void showProgress();
    QString progressText() const;

    const ResultList& m_results;
    FolderSearch& m_search;
    bool m_onTerminal;
    QTextStream& m_err;
    QTimer m_progressTimer;
    QHash<QString, Photo> m_photos;
    bool m_verbose = false;
    bool m_complete = true;
    QStringList m_notRead;
    QHash<QString, QJsonObject> m_pendingFace; // by photo: the face scored next, as faceDescribed told it
};

} // namespace morvelin
