// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/SourcePicture.h"

#include <QImage>
#include <QObject>
#include <QString>

namespace morvelin {

class MorvelinFaceDetection;

// One source picture on its way to the gallery, by the steps of SourcePicture: the picture is prepared
// on a worker thread, the detector reports face by face, and each face is cut out as a 48 x 48
// thumbnail. A captured screen's JPEG file is removed when the detection completes, and only this
// acquisition's own.
class SourceAcquisition : public QObject {
    Q_OBJECT

public:
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
    int FacesFound() const { return int(m_found.faces.size()); }
    QImage TargetPicture() const { return m_target.picture; }
    // The source picture as prepared for the detector.
    const SourcePicture::Prepared& target() const { return m_target; }
    // The picture and the faces found in it so far, key points and all, so that a face picked from the
    // gallery needs no second detection.
    const SourcePicture::Result& found() const { return m_found; }

signals:
    void Notice();
    void FaceFound(const QImage& thumbnail);
    // Also when nothing could be read or written: then no face was found.
    void Completed();

private:
    using Prepared = SourcePicture::Prepared;

    static Prepared readFile(const QString& jpeg);

    template <typename Work>
    void prepareOnWorker(Work work);
    void prepared(const Prepared& result);
    void onFaceDetected(const DetectedFace& face);
    void onCompleted();
    void removeCaptureFile();

    QString m_tempFolder;
    QString m_dataPath;
    QString m_captureFile;
    bool m_ownsCaptureFile = false;
    SourcePicture::Prepared m_target;
    SourcePicture::Result m_found;
    bool m_abandoned = false;
    bool m_busy = false;
    MorvelinFaceDetection* m_faceDet = nullptr;
};

} // namespace morvelin
