#pragma once

#include <QImage>
#include <QObject>
#include <QString>

namespace morvelin {

class MorvelinFaceDetection;

// One source picture on its way to the gallery: written to a JPEG file of its own (the captured
// screen, or a chosen photo at most 1600 pixels wide), handed to the detector, and each face found
// cut out as a 48 x 48 thumbnail. Encoding and decoding run on a worker thread. The JPEG file is
// removed when the detection completes, and only this acquisition's own file.
class SourceAcquisition : public QObject {
    Q_OBJECT

public:
    static constexpr int widestPhoto = 1600;

    // tempFolder ends with a separator; dataPath is the detector's data file.
    SourceAcquisition(QString tempFolder, QString dataPath, QObject* parent = nullptr);
    ~SourceAcquisition() override;

    void fromScreen(const QImage& screen);
    // The photo is only read.
    void fromPhoto(const QString& photo);
    // A JPEG a caller prepared; removed afterwards only when it lies in the temporary folder.
    void fromFile(const QString& jpeg);

    // A newer acquisition took over: nothing more is reported. The detection under way still runs to
    // its end, then this acquisition removes its file and deletes itself.
    void abandon();
    bool isAbandoned() const { return m_abandoned; }

    QString CaptureFile() const { return m_captureFile; }
    int FacesFound() const { return m_facesFound; }
    QImage TargetPicture() const { return m_targetPicture; }

signals:
    void Notice();
    void FaceFound(const QImage& thumbnail);
    // Also when nothing could be read or written: then no face was found.
    void Completed();

private:
    struct Prepared {
        QString jpeg;
        QImage picture;
    };

    static Prepared encodeScreen(const QImage& screen, const QString& tempFolder);
    static Prepared convertPhoto(const QString& photo, const QString& tempFolder);
    static Prepared readFile(const QString& jpeg);

    template <typename Work>
    void prepareOnWorker(Work work);
    void prepared(const Prepared& result);
    void onFaceFound(int x1, int x2, int y1, int y2);
    void onCompleted();
    void removeCaptureFile();

    QString m_tempFolder;
    QString m_dataPath;
    QString m_captureFile;
    bool m_ownsCaptureFile = false;
    QImage m_targetPicture;
    int m_facesFound = 0;
    bool m_abandoned = false;
    bool m_busy = false;
    MorvelinFaceDetection* m_faceDet = nullptr;
};

} // namespace morvelin
