// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceScore.h"
#include "search/PictureSizes.h"
#include "search/FaceQuery.h"

#include <QImage>
#include <QObject>
#include <QJsonObject>
#include <QRect>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>


namespace morvelin {

class FaceIndex;
class ImageX;
class MemoryBudget;

// The scan of one photo: load it, scale it down (1200 pixels high for portrait, 1600 wide otherwise),
// hand the scaled pixels to the detector, cut every face found out of the same pixels, filter
// it, let the query's matcher read and score it, and report the photo when a face reaches the
// query's threshold (70 % unless the search says otherwise). With a
// face index, a photo it remembers unchanged is only compared, never decoded, and what a scan finds
// is handed to the index. All of it runs on a worker thread; the events below arrive on this object's
// thread, in order, ending with Completed exactly once, whatever happened. Nothing is written to disk
// but the index.
class PhotoScan : public QObject {
    Q_OBJECT

public:
    enum class Stage { Loading, DetectingFaces, ComparingFaces, Completed };

    static constexpr int tallestPortrait = PictureSizes::tallestPortrait;
    static constexpr int widestLandscape = PictureSizes::widestLandscape;

    // `query` holds the person searched for, its matcher prepared.
    explicit PhotoScan(std::shared_ptr<const FaceQuery> query, QObject* parent = nullptr);
    ~PhotoScan() override;

    // The search's shared memory budget; a photo waits for its share before it is decoded. Without
    // one nothing is counted.
    void setMemoryBudget(std::shared_ptr<MemoryBudget> budget);
    // Where the findings of photos scanned before are asked for and those of new scans go; without one
    // every photo is scanned.
    void setFaceIndex(std::shared_ptr<FaceIndex> index);
    // What a scan needs beside decoding its photo, for a photo scaled to width x height.
    static std::int64_t scanWorkingBytes(int width, int height);

    // A window shows the photo, at most `size` large: from now on photoLoaded carries it scaled to fit
    // that size. Without it the picture stays on the worker, so that scans nobody watches post no
    // pixels. Safe to call while the scan runs.
    void showPhotoWithin(QSize size);

    // Returns at once; `XML` is the detector's data file.
    void Start(const QString& FileName, const QString& XML);

    QString fileName() const { return m_fileName; }
    int faceCount() const { return m_faceCount; }
    // Why the photo could not be scanned, empty when it was.
    QString failure() const { return m_failure; }
    // The search stopped while the photo waited for its memory: it was neither read nor found unreadable.
    bool stoppedBeforeScan() const { return m_stoppedBeforeScan; }

    // The English status text of a stage, as a window shows it after translation.
    static QString stageText(Stage stage);
    // Portrait photos (taller than wide) are scanned at most 1200 pixels high, the others at most 1600
    // pixels wide, the other side in proportion. A chosen photo is scaled the same way, so that its
    // faces are cut as a scan cuts them.
    static void scaleDown(ImageX& photo);

signals:
    // Before anything else when the face index answers for the photo: no stage but Completed follows.
    void answeredFromIndex();
    void stageChanged(morvelin::PhotoScan::Stage stage);
    // The photo as scaled for the scan, made smaller still to the size showPhotoWithin asked for;
    // only after showPhotoWithin.
    void photoLoaded(const QImage& shownPhoto);
    // The photo's own size (as its orientation turns it) and the size it was scanned at, in which
    // the boxes below are given; from the scan or from the face index.
    void photoMeasured(const QSize& photoSize, const QSize& scanSize);
    // One face compared: its number in this photo (from 1), where it was found (in pixels of the
    // scaled photo), the 48 x 48 face as compared (filtered) and its score.
    void faceScored(int faceCount, const QRect& box, const QImage& face, qint64 scoreTenThousandths);
    // Just before that face's faceScored: the face as `--json` tells of it — its box and key points in
    // pixels of the photo's own size, and what the matcher adds (the features matcher: its cosine
    // similarity, -1..1).
    void faceDescribed(int faceCount, const QJsonObject& face);
    // A face of this photo reached the threshold: its 48 x 48 thumbnail (unfiltered) and its box in
    // pixels of the photo's own size.
    void matched(const QString& fileName, int xscore, const QImage& face, const QRect& box);
    void Completed();

private:
    class Relay;
    class Run;

    void onFaceScored(int faceCount, const QRect& box, const QImage& face, qint64 scoreTenThousandths);
    void onFinished(const QString& failure, bool stopped);

    std::shared_ptr<const FaceQuery> m_query;
    std::shared_ptr<MemoryBudget> m_budget;
    std::shared_ptr<FaceIndex> m_index;
    // Width and height the photo is shown at, 0 while nobody shows it; the worker reads it.
    std::shared_ptr<std::atomic<std::uint64_t>> m_shownSize = std::make_shared<std::atomic<std::uint64_t>>(0);
    QString m_fileName;
    int m_faceCount = 0;
    QString m_failure;
    bool m_stoppedBeforeScan = false;
};

} // namespace morvelin
