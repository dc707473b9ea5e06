#pragma once

#include "engine/PixelCanvas.h"
#include "search/FaceScore.h"
#include "search/PictureSizes.h"

#include <QImage>
#include <QObject>
#include <QRect>
#include <QString>

#include <memory>

class QThreadPool;

namespace morvelin {

// The scan of one photo: load it, scale it down (1200 pixels high for portrait, 1600 wide otherwise),
// filter it, write it as a temporary JPEG for the detector, cut every face found out of the filtered
// photo, compare it with the chosen face and report the photo when a face scores 70 % or more. All of
// it runs on a worker thread; the events below arrive on this object's thread, in order, ending with
// Completed exactly once. The temporary JPEG is gone by then, whatever happened.
class PhotoScan : public QObject {
    Q_OBJECT

public:
    enum class Stage { Loading, ApplyingFilter, DetectingFaces, ComparingFaces, Completed };

    static constexpr int tallestPortrait = PictureSizes::tallestPortrait;
    static constexpr int widestLandscape = PictureSizes::widestLandscape;

    // `sourceFace` is the chosen face, already filtered; `tempFolder` ends with a separator.
    PhotoScan(std::shared_ptr<const PixelCanvas> sourceFace, QString tempFolder, QObject* parent = nullptr);
    ~PhotoScan() override;

    // Returns at once; `XML` is the detector's data file.
    void Start(const QString& FileName, const QString& XML);

    QString fileName() const { return m_fileName; }
    int faceCount() const { return m_faceCount; }
    // Why the photo could not be scanned, empty when it was.
    QString failure() const { return m_failure; }

    // The English status text of a stage, as a window shows it after translation.
    static QString stageText(Stage stage);
    // The pool every scan runs on; its thread count caps the scans under way.
    static QThreadPool& pool();

signals:
    void stageChanged(morvelin::PhotoScan::Stage stage);
    // The photo as scaled for the scan, before the filter.
    void photoLoaded(const QImage& scaledPhoto);
    // One face compared: its number in this photo (from 1), where it was found (in pixels of the
    // scaled photo), the 48 x 48 face and its score.
    void faceScored(int faceCount, const QRect& box, const QImage& face, qint64 scoreTenThousandths);
    // A face of this photo reached the threshold.
    void matched(const QString& fileName, int xscore);
    void Completed();

private:
    class Relay;
    class Run;

    void onFaceScored(int faceCount, const QRect& box, const QImage& face, qint64 scoreTenThousandths);
    void onFinished(const QString& failure);

    std::shared_ptr<const PixelCanvas> m_sourceFace;
    QString m_tempFolder;
    QString m_fileName;
    int m_faceCount = 0;
    QString m_failure;
};

} // namespace morvelin
