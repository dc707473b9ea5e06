#include "search/MorvelinFaceDetection.h"

#include "search/FaceDetector.h"

#include <QImage>
#include <QRunnable>
#include <QThread>
#include <QThreadPool>

#include <functional>
#include <memory>

namespace morvelin {

static_assert(sizeof(int) == 4, "the notifications carry 32-bit coordinates");

namespace {

// Carries one run's notifications from a worker thread. Queued connections deliver them on the
// receiver's thread in the order they were sent, and Qt drops them if the receiver is gone.
class DetectionRelay : public QObject {
    Q_OBJECT

signals:
    void started();
    void faceFound(int x1, int x2, int y1, int y2);
    void finished(const QString& error);
};

class DetectionRun : public QRunnable {
public:
    DetectionRun(std::unique_ptr<DetectionRelay> relay, std::function<FaceDetector::Result()> detect)
        : m_relay(std::move(relay)), m_detect(std::move(detect))
    {
    }

    void run() override
    {
        emit m_relay->started();
        QString error;
        try {
            const FaceDetector::Result result = m_detect();
            for (const DetectedFace& face : result.faces) {
                emit m_relay->faceFound(face.x1, face.x2, face.y1, face.y2);
            }
            error = result.error;
        } catch (const std::exception& failure) {
            // Completed must still come, whatever went wrong.
            error = QStringLiteral("face detection failed: %1").arg(QString::fromLocal8Bit(failure.what()));
        }
        emit m_relay->finished(error);
    }

private:
    std::unique_ptr<DetectionRelay> m_relay;
    std::function<FaceDetector::Result()> m_detect;
};

// One detection per core: more would only make each slower and hold more photos in memory.
class DetectionPool : public QThreadPool {
public:
    DetectionPool() { setMaxThreadCount(QThread::idealThreadCount()); }
};

} // namespace

MorvelinFaceDetection::MorvelinFaceDetection(QObject* parent) : QObject(parent) {}

QThreadPool& MorvelinFaceDetection::pool()
{
    static DetectionPool shared;
    return shared;
}

void MorvelinFaceDetection::Detect(const QString& imagePath, const QString& dataPath)
{
    start([imagePath, dataPath] { return FaceDetector::detectFile(imagePath, dataPath); });
}

void MorvelinFaceDetection::Detect(const QImage& picture, const QString& dataPath)
{
    start([picture, dataPath] { return FaceDetector::detect(picture, dataPath); });
}

void MorvelinFaceDetection::start(std::function<FaceDetector::Result()> detect)
{
    auto relay = std::make_unique<DetectionRelay>();
    connect(relay.get(), &DetectionRelay::started, this, &MorvelinFaceDetection::Notice, Qt::QueuedConnection);
    connect(relay.get(), &DetectionRelay::faceFound, this, &MorvelinFaceDetection::FaceFound, Qt::QueuedConnection);
    connect(relay.get(), &DetectionRelay::finished, this, &MorvelinFaceDetection::finish, Qt::QueuedConnection);
    // The relay is only a sender from now on and is deleted by the worker: it belongs to no thread.
    relay->moveToThread(nullptr);
    pool().start(new DetectionRun(std::move(relay), std::move(detect)));
}

void MorvelinFaceDetection::finish(const QString& error)
{
    m_lastError = error;
    emit Completed();
}

} // namespace morvelin

#include "MorvelinFaceDetection.moc"
