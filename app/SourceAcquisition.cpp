#include "app/SourceAcquisition.h"

#include "search/FaceCutter.h"
#include "search/ImageX.h"
#include "search/MorvelinFaceDetection.h"
#include "search/TemporaryPhotoName.h"

#include <QFile>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace morvelin {

namespace {

const QString captureFilePrefix = QStringLiteral("FaceMorvelin");
constexpr int screenJpegQuality = 100;

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
    connect(m_faceDet, &MorvelinFaceDetection::FaceFound, this, &SourceAcquisition::onFaceFound);
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
    prepareOnWorker([screen, folder] { return encodeScreen(screen, folder); });
}

void SourceAcquisition::fromPhoto(const QString& photo)
{
    const QString folder = m_tempFolder;
    prepareOnWorker([photo, folder] { return convertPhoto(photo, folder); });
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
    // The continuation is dropped if this acquisition is gone by then; the temporary folder goes
    // with the program.
    QtConcurrent::run(work).then(this, [this](const Prepared& result) { prepared(result); });
}

SourceAcquisition::Prepared SourceAcquisition::encodeScreen(const QImage& screen, const QString& tempFolder)
{
    if (screen.isNull()) {
        return {};
    }
    const QString jpeg = TemporaryPhotoName::create(tempFolder, captureFilePrefix);
    if (jpeg.isEmpty() || !screen.save(jpeg, "JPG", screenJpegQuality)) {
        QFile::remove(jpeg);
        return {};
    }
    // The faces are cut from the pixels the detector sees, JPEG losses included.
    return {jpeg, QImage(jpeg)};
}

SourceAcquisition::Prepared SourceAcquisition::convertPhoto(const QString& photo, const QString& tempFolder)
{
    ImageX image;
    if (!image.load(photo)) {
        return {};
    }
    // Wide photos only: a tall one keeps its height.
    if (image.width() > widestPhoto) {
        image.resize(widestPhoto, 0);
    }
    const QString jpeg = TemporaryPhotoName::create(tempFolder, captureFilePrefix);
    if (jpeg.isEmpty() || !image.save(jpeg)) {
        QFile::remove(jpeg);
        return {};
    }
    // Faces are cut from the scaled photo itself, as a scan cuts them.
    return {jpeg, image.picture()};
}

SourceAcquisition::Prepared SourceAcquisition::readFile(const QString& jpeg)
{
    return {jpeg, QImage(jpeg)};
}

void SourceAcquisition::prepared(const Prepared& result)
{
    m_captureFile = result.jpeg;
    m_ownsCaptureFile = m_ownsCaptureFile || liesIn(result.jpeg, m_tempFolder);
    m_targetPicture = result.picture;
    if (m_abandoned) {
        removeCaptureFile();
        m_busy = false;
        deleteLater();
        return;
    }
    // An unreadable picture goes to the detector all the same: it reports Completed without faces.
    m_facesFound = 0;
    m_faceDet->Detect(m_captureFile, m_dataPath);
}

void SourceAcquisition::onFaceFound(int x1, int x2, int y1, int y2)
{
    if (m_abandoned) {
        return;
    }
    ++m_facesFound;
    QImage thumbnail = FaceCutter::cut(m_targetPicture, x1, x2, y1, y2);
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
