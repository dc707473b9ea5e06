#include "search/PhotoScan.h"

#include "engine/EngineError.h"
#include "engine/FaceMatchTech.h"
#include "search/FaceCutter.h"
#include "search/FaceDetector.h"
#include "search/FacePictureLoader.h"
#include "search/ImageX.h"
#include "search/TemporaryPhotoName.h"

#include <QFile>
#include <QImageWriter>
#include <QRunnable>
#include <QThread>
#include <QThreadPool>

#include <limits>

namespace morvelin {

// Carries one scan's events from its worker thread. Queued connections deliver them on the scan's
// thread in the order they were sent, and Qt drops them if the scan is gone.
class PhotoScan::Relay : public QObject {
    Q_OBJECT

signals:
    void stageChanged(morvelin::PhotoScan::Stage stage);
    void photoLoaded(const QImage& scaledPhoto);
    void faceScored(int faceCount, const QRect& box, const QImage& face, qint64 scoreTenThousandths);
    void matched(const QString& fileName, int xscore);
    void finished(const QString& failure);
};

class PhotoScan::Run : public QRunnable {
public:
    Run(std::unique_ptr<Relay> relay, std::shared_ptr<const PixelCanvas> sourceFace, QString fileName,
        QString dataPath, QString tempFolder)
        : m_relay(std::move(relay))
        , m_sourceFace(std::move(sourceFace))
        , m_fileName(std::move(fileName))
        , m_dataPath(std::move(dataPath))
        , m_tempFolder(std::move(tempFolder))
    {
    }

    void run() override
    {
        QString failure;
        try {
            failure = scan();
        } catch (const std::exception& error) {
            failure = QString::fromLocal8Bit(error.what());
        }
        if (!m_tempJpeg.isEmpty()) {
            QFile::remove(m_tempJpeg);
        }
        emit m_relay->stageChanged(Stage::Completed);
        emit m_relay->finished(failure);
    }

private:
    QString scan()
    {
        emit m_relay->stageChanged(Stage::Loading);
        ImageX photo;
        if (!photo.load(m_fileName)) {
            return photo.errorString();
        }
        scaleDown(photo);
        const QImage scaled = photo.picture();
        if (scaled.isNull()) {
            return photo.errorString();
        }
        emit m_relay->photoLoaded(scaled);

        photo.filter();
        emit m_relay->stageChanged(Stage::ApplyingFilter);
        emit m_relay->stageChanged(Stage::DetectingFaces);
        m_tempJpeg = TemporaryPhotoName::create(m_tempFolder, QStringLiteral("QXT"));
        if (m_tempJpeg.isEmpty() || !writeTemporaryJpeg(photo.picture(), m_tempJpeg)) {
            return QStringLiteral("cannot write the temporary JPEG in %1").arg(m_tempFolder);
        }
        const FaceDetector::Result detected = FaceDetector::detectFile(m_tempJpeg, m_dataPath);
        if (!detected.ok()) {
            return detected.error;
        }
        compareFaces(photo.picture(), detected.faces);
        return QString();
    }

    // The image component's JPEG, at its quality, written straight into the file reserved for it. The
    // component's own save flushes every file to disk before renaming it into place; for a file the
    // detector reads back at once and deletes right after, that flush only leaves the core idle, at
    // times for longer than the encoding takes.
    static bool writeTemporaryJpeg(const QImage& filtered, const QString& path)
    {
        QImageWriter writer(path, QByteArrayLiteral("jpeg"));
        writer.setQuality(ImageX::jpegQuality);
        return writer.write(filtered);
    }

    // Portrait photos (taller than wide) are scanned at most 1200 pixels high, the others at most 1600
    // pixels wide, the other side in proportion.
    static void scaleDown(ImageX& photo)
    {
        const bool portrait = photo.height() > photo.width();
        if (portrait && photo.height() > tallestPortrait) {
            photo.resize(0, tallestPortrait);
        } else if (!portrait && photo.width() > widestLandscape) {
            photo.resize(widestLandscape, 0);
        }
    }

    void compareFaces(const QImage& filtered, const std::vector<DetectedFace>& faces)
    {
        int faceCount = 0;
        for (const DetectedFace& found : faces) {
            // The count stops at the largest 16-bit number rather than wrapping.
            if (faceCount < std::numeric_limits<std::int16_t>::max()) {
                ++faceCount;
            }
            emit m_relay->stageChanged(Stage::ComparingFaces);
            const QImage face = FaceCutter::cut(filtered, found.x1, found.x2, found.y1, found.y2);
            if (face.isNull()) {
                continue;
            }
            const std::int32_t distance =
                FaceMatchTech().CompareFaces(*m_sourceFace, FacePictureLoader::fromImage(face));
            const FaceScore score = FaceScore::fromDistance(distance);
            const QRect box(QPoint(found.x1, found.y1), QPoint(found.x2 - 1, found.y2 - 1));
            emit m_relay->faceScored(faceCount, box, face, score.tenThousandths());
            if (score.isMatch()) {
                emit m_relay->matched(m_fileName, score.xscore());
            }
        }
    }

    std::unique_ptr<Relay> m_relay;
    std::shared_ptr<const PixelCanvas> m_sourceFace;
    QString m_fileName;
    QString m_dataPath;
    QString m_tempFolder;
    QString m_tempJpeg;
};

PhotoScan::PhotoScan(std::shared_ptr<const PixelCanvas> sourceFace, QString tempFolder, QObject* parent)
    : QObject(parent)
    , m_sourceFace(std::move(sourceFace))
    , m_tempFolder(std::move(tempFolder))
{
}

PhotoScan::~PhotoScan() = default;

QThreadPool& PhotoScan::pool()
{
    static QThreadPool shared;
    return shared;
}

QString PhotoScan::stageText(Stage stage)
{
    switch (stage) {
    case Stage::Loading:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Loading"));
    case Stage::ApplyingFilter:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Applying filter..."));
    case Stage::DetectingFaces:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Detecting Faces..."));
    case Stage::ComparingFaces:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Comparing faces..."));
    case Stage::Completed:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Completed."));
    }
    return QString();
}

void PhotoScan::Start(const QString& FileName, const QString& XML)
{
    m_fileName = FileName;
    m_faceCount = 0;
    m_failure.clear();

    auto relay = std::make_unique<Relay>();
    connect(relay.get(), &Relay::stageChanged, this, &PhotoScan::stageChanged, Qt::QueuedConnection);
    connect(relay.get(), &Relay::photoLoaded, this, &PhotoScan::photoLoaded, Qt::QueuedConnection);
    connect(relay.get(), &Relay::faceScored, this, &PhotoScan::onFaceScored, Qt::QueuedConnection);
    connect(relay.get(), &Relay::matched, this, &PhotoScan::matched, Qt::QueuedConnection);
    connect(relay.get(), &Relay::finished, this, &PhotoScan::onFinished, Qt::QueuedConnection);
    // From here on the relay only sends, from the worker, which also deletes it.
    relay->moveToThread(nullptr);
    pool().start(new Run(std::move(relay), m_sourceFace, FileName, XML, m_tempFolder));
}

void PhotoScan::onFaceScored(int faceCount, const QRect& box, const QImage& face, qint64 scoreTenThousandths)
{
    m_faceCount = faceCount;
    emit faceScored(faceCount, box, face, scoreTenThousandths);
}

void PhotoScan::onFinished(const QString& failure)
{
    m_failure = failure;
    emit Completed();
}

} // namespace morvelin

#include "PhotoScan.moc"
