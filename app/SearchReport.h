#pragma once

#include "search/Matcher.h"

#include <QHash>
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
    SearchReport(const ResultList& results, FolderSearch& search, bool onTerminal, QTextStream& err);

    // Keeps every path not read with its reason, for the summary.
    void setVerbose(bool verbose) { m_verbose = verbose; }
    void noteStopping();
    // Ends the progress line and writes the summary; `complete` is false for a search cut short.
    void finish(bool complete);
    void writeList(QTextStream& out) const;
    // Names the matcher; with the features matcher each face also gives its cosine similarity.
    void writeJson(QTextStream& out, Matcher matcher) const;

private:
    struct ScoredFace {
        QRect box;
        qint64 scoreTenThousandths;
        double similarity; // the features matcher's, 0 with the grid
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
    QHash<QString, std::vector<ScoredFace>> m_faces;
    bool m_verbose = false;
    bool m_complete = true;
    QStringList m_notRead;
    QHash<QString, double> m_pendingSimilarity; // by photo: the similarity of the face scored next
};

} // namespace morvelin
