// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/SearchReport.h"

#include "search/FaceScore.h"
#include "app/CommandLine.h"
#include "search/FolderSearch.h"
#include "search/NativePath.h"
#include "search/PhotoScan.h"
#include "search/ResultList.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>


namespace morvelin {

namespace {

constexpr int progressIntervalMs = 250;

QString scoreText(qint64 tenThousandths)
{
    return QString::fromStdString(FaceScore::fromTenThousandths(tenThousandths).text());
}

QString counted(int count, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(count).arg(QLatin1String(count == 1 ? one : many));
}

} // namespace

SearchReport::SearchReport(const ResultList& results, FolderSearch& search, bool onTerminal, QTextStream& err)
    : m_results(results)
    , m_search(search)
    , m_onTerminal(onTerminal)
    , m_err(err)
{
    connect(&search, &FolderSearch::scanStarted, this, &SearchReport::watchScan);
    connect(&search, &FolderSearch::notRead, this,
            [this](const QString& path, const QString& reason, bool) { noteNotRead(path, reason); });
    if (m_onTerminal) {
        connect(&m_progressTimer, &QTimer::timeout, this, &SearchReport::showProgress);
        m_progressTimer.start(progressIntervalMs);
    }
}

void SearchReport::watchScan(PhotoScan* scan)
{
    connect(scan, &PhotoScan::photoMeasured, this,
            [this, scan](const QSize& photoSize, const QSize&) { m_photos[scan->fileName()].size = photoSize; });
    connect(scan, &PhotoScan::faceDescribed, this,
            [this, scan](int, const QJsonObject& face) { m_pendingFace[scan->fileName()] = face; });
    connect(scan, &PhotoScan::faceScored, this, [this, scan](int, const QRect&, const QImage&, qint64 tenThousandths) {
        QJsonObject face = m_pendingFace.take(scan->fileName());
        const FaceScore score = FaceScore::fromTenThousandths(tenThousandths);
        face.insert(QStringLiteral("score"), scoreText(tenThousandths));
        face.insert(QStringLiteral("xscore"), score.xscore());
        m_photos[scan->fileName()].faces.push_back(face);
    });
}

QString SearchReport::progressText() const
{
    const FolderSearch::Counts counts = m_search.counts();
    const QString fromIndex = counts.photosFromIndex > 0
        ? QStringLiteral(" (%1 from the face index)").arg(counts.photosFromIndex)
        : QString();
    return QStringLiteral("%1 found, %2 scanned%3, %4 matching, %5 photos/s")
        .arg(counted(counts.photosSeen, "photo", "photos"))
        .arg(counts.photosScanned)
        .arg(fromIndex)
        .arg(m_results.rows().size())
        .arg(m_search.photosPerSecond(), 0, 'f', 1);
}

void SearchReport::showProgress()
{
    // \r and the erase-to-end sequence keep the progress on one line of the terminal.
    m_err << '\r' << CommandLine::programName << ": " << progressText() << "\x1b[K";
    m_err.flush();
}

void SearchReport::noteStopping()
{
    if (m_onTerminal) {
        m_err << '\n';
    }
    m_err << CommandLine::programName << ": stopping: finishing the photos in hand..." << Qt::endl;
}

void SearchReport::noteNotRead(const QString& path, const QString& reason)
{
    if (m_verbose) {
        m_notRead.append(QStringLiteral("%1: not read: %2: %3")
                             .arg(CommandLine::programName, NativePath::escaped(path), reason));
    }
}

QString SearchReport::unreadText() const
{
    const FolderSearch::Counts counts = m_search.counts();
    QStringList parts;
    if (counts.unreadablePhotos > 0) {
        parts.append(counted(counts.unreadablePhotos, "file", "files"));
    }
    if (counts.unreadableFolders > 0) {
        parts.append(counted(counts.unreadableFolders, "folder", "folders"));
    }
    if (parts.isEmpty()) {
        return QString();
    }
    return QStringLiteral(" %1 could not be read%2.")
        .arg(parts.join(QStringLiteral(" and ")), m_verbose ? QString() : QStringLiteral(" (--verbose names them)"));
}

void SearchReport::finish(bool complete)
{
    m_complete = complete;
    m_progressTimer.stop();
    if (m_onTerminal) {
        m_err << '\r' << "\x1b[K";
    }
    for (const QString& line : m_notRead) {
        m_err << line << '\n';
    }
    m_err << CommandLine::programName << ": " << progressText() << '.' << unreadText();
    if (!complete) {
        m_err << " Stopped before the end: the list is partial.";
    }
    m_err << Qt::endl;
}

void SearchReport::writeList(QTextStream& out) const
{
    for (const ResultList::Row& row : m_results.rows()) {
        out << row.xscore << '\t' << NativePath::escaped(row.path) << '\n';
    }
    out.flush();
}

void SearchReport::writeJson(QTextStream& out, const Query& query) const
{
    QJsonArray queryFaces;
    for (const Query::Face& face : query.faces) {
        QJsonObject entry = face.inPhoto.describe(face.face);
        entry.insert(QStringLiteral("photo"), face.photo);
        entry.insert(QStringLiteral("pick"), face.pick);
        entry.insert(QStringLiteral("width"), face.photoSize.width());
        entry.insert(QStringLiteral("height"), face.photoSize.height());
        queryFaces.append(entry);
    }
    QJsonArray photos;
    for (const ResultList::Row& row : m_results.rows()) {
        const Photo photo = m_photos.value(row.path);
        QJsonArray faces;
        for (const QJsonObject& face : photo.faces) {
            faces.append(face);
        }
        photos.append(QJsonObject{
            {QStringLiteral("path"), row.path},
            {QStringLiteral("width"), photo.size.width()},
            {QStringLiteral("height"), photo.size.height()},
            {QStringLiteral("xscore"), row.xscore},
            {QStringLiteral("faces"), faces},
        });
    }
    const FolderSearch::Counts counts = m_search.counts();
    const QJsonObject document{
        {QStringLiteral("schema"), jsonSchema},
        {QStringLiteral("matcher"), query.matcher},
        {QStringLiteral("query"),
         QJsonObject{
             {QStringLiteral("matcher"), query.matcher},
             {QStringLiteral("threshold"), scoreText(query.thresholdTenThousandths)},
             {QStringLiteral("faces"), queryFaces},
         }},
        {QStringLiteral("photos"), photos},
        {QStringLiteral("photosScanned"), counts.photosScanned},
        {QStringLiteral("photosFromIndex"), counts.photosFromIndex},
        {QStringLiteral("unreadableFiles"), counts.unreadablePhotos},
        {QStringLiteral("unreadableFolders"), counts.unreadableFolders},
        {QStringLiteral("complete"), m_complete},
    };
    out << QJsonDocument(document).toJson(QJsonDocument::Indented);
    out.flush();
}

} // namespace morvelin
