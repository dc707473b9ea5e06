// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/SourceAcquisition.h"

#include "base/BackgroundWork.h"
#include "search/FaceCutter.h"
#include "search/MorvelinFaceDetection.h"

#include <QFile>
#include <QFileInfo>

namespace morvelin {

namespace {

bool liesIn(const QString& path, const QString& folder)
{
    if (folder.isEmpty()) {
        return false;
    }
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    return !canonicalFolder.isEmpty() && QFileInfo(path).canonicalPath() == canonicalFolder;
}

} // namespace

SourceAcquisition::SourceAcquisition(QString tempFolder, QString dataPath, QObject* parent)
    : QObject(parent)
    , m_tempFolder(std::move(tempFolder))
    , m_dataPath(std::move(dataPath))
    , m_faceDet(new MorvelinFaceDetection(this))
{
    connect(m_faceDet, &MorvelinFaceDetection::Notice, this, [this] {
        if (!m_abandoned) {
            emit Notice();
        }
    });
    connect(m_faceDet, &MorvelinFaceDetection::FaceDetected, this, &SourceAcquisition::onFaceDetected);
    connect(m_faceDet, &MorvelinFaceDetection::Completed, this, &SourceAcquisition::onCompleted);
}

// Gone before its detection completed (the program is ending): the file must not stay behind.
SourceAcquisition::~SourceAcquisition()
{
    if (m_busy) {
        removeCaptureFile();
    }
}

void SourceAcquisition::fromScreen(const QImage& screen)
{
    const QString folder = m_tempFolder;
    prepareOnWorker([screen, folder] { return SourcePicture::prepareScreen(screen, folder); });
}

void SourceAcquisition::fromPhoto(const QString& photo)
{
    prepareOnWorker([photo] { return SourcePicture::preparePhoto(photo); });
}

void SourceAcquisition::fromFile(const QString& jpeg)
{
    m_ownsCaptureFile = liesIn(jpeg, m_tempFolder);
    prepareOnWorker([jpeg] { return readFile(jpeg); });
}

void SourceAcquisition::abandon()
{
    m_abandoned = true;
    if (!m_busy) {
        deleteLater();
    }
}

template <typename Work>
void SourceAcquisition::prepareOnWorker(Work work)
{
    m_busy = true;
    // The result is dropped if this acquisition is gone by then; the temporary folder goes with the
    // program.
    BackgroundWork::run(this, work, [this](const Prepared& result) { prepared(result); });
}

SourceAcquisition::Prepared SourceAcquisition::readFile(const QString& jpeg)
{
    Prepared result;
    result.jpeg = jpeg;
    result.picture = QImage(jpeg);
    return result;
}

void SourceAcquisition::prepared(const Prepared& result)
{
    m_captureFile = result.jpeg;
    m_ownsCaptureFile = m_ownsCaptureFile || liesIn(result.jpeg, m_tempFolder);
    m_target = result;
    if (m_abandoned) {
        removeCaptureFile();
        m_busy = false;
        deleteLater();
        return;
    }
    // An unreadable picture goes to the detector all the same: it reports Completed without faces.
    m_found = SourcePicture::Result();
    m_found.picture = m_target.picture;
    m_found.photoSize = m_target.photoSize;
    m_faceDet->Detect(m_target.picture, m_dataPath);
}

void SourceAcquisition::onFaceDetected(const DetectedFace& face)
{
    if (m_abandoned) {
        return;
    }
    m_found.faces.push_back(face);
    QImage thumbnail = SourcePicture::thumbnail(m_target.picture, face);
    if (thumbnail.isNull()) {
        thumbnail = QImage(FaceCutter::faceSize, FaceCutter::faceSize, QImage::Format_RGB32);
        thumbnail.fill(Qt::black);
    }
    emit FaceFound(thumbnail);
}

void SourceAcquisition::onCompleted()
{
    removeCaptureFile();
    m_busy = false;
    if (m_abandoned) {
        deleteLater();
        return;
    }
    emit Completed();
}

void SourceAcquisition::removeCaptureFile()
{
    if (m_ownsCaptureFile && !m_captureFile.isEmpty()) {
        QFile::remove(m_captureFile);
    }
}

} // namespace morvelin
