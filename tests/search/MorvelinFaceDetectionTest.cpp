#include "FaceDetectorTestFolder.h"

#include "search/FaceDetector.h"
#include "search/MorvelinFaceDetection.h"

#include "WaitUntil.h"

#include <QCoreApplication>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

using namespace morvelin;

namespace {

std::string faceEvent(int x1, int x2, int y1, int y2)
{
    return "F " + std::to_string(x1) + " " + std::to_string(x2) + " " + std::to_string(y1) + " " + std::to_string(y2);
}

// Every notification one object raised, as a string ("N", "F x1 x2 y1 y2", "C"), and whether each
// arrived on the object's own thread.
class Recorder {
public:
    explicit Recorder(MorvelinFaceDetection& detection) : m_detection(detection)
    {
        QObject::connect(&detection, &MorvelinFaceDetection::Notice, [this] { record("N"); });
        QObject::connect(&detection, &MorvelinFaceDetection::FaceFound,
                         [this](int x1, int x2, int y1, int y2) { record(faceEvent(x1, x2, y1, y2)); });
        QObject::connect(&detection, &MorvelinFaceDetection::Completed, [this] { record("C"); });
    }

    const std::vector<std::string>& events() const { return m_events; }
    bool allOnOwnThread() const { return m_allOnOwnThread; }
    int completions() const { return static_cast<int>(std::count(m_events.begin(), m_events.end(), "C")); }

private:
    void record(const std::string& event)
    {
        m_events.push_back(event);
        m_allOnOwnThread = m_allOnOwnThread && QThread::currentThread() == m_detection.thread();
    }

    MorvelinFaceDetection& m_detection;
    std::vector<std::string> m_events;
    bool m_allOnOwnThread = true;
};

// Waits for `done`, then a little longer, so a notification that should not come has the chance to.
void runEventsUntil(const std::function<bool()>& done)
{
    waitUntil(done, 60000);
    QThread::msleep(50);
    QCoreApplication::processEvents();
}

std::vector<std::string> expectedEvents(const QString& image, const QString& dataPath)
{
    std::vector<std::string> events{"N"};
    for (const DetectedFace& face : FaceDetector::detectFile(image, dataPath).faces) {
        events.push_back(faceEvent(face.x1, face.x2, face.y1, face.y2));
    }
    events.push_back("C");
    return events;
}

} // namespace

TEST(MorvelinFaceDetectionTest, CompletedComesOnceAndTheErrorSaysWhyWhenNothingCanBeUsed)
{
    const FaceDetectorTestFolder folder;
    const QString small = folder.path(QStringLiteral("small.png"));
    QImage(32, 32, QImage::Format_RGB32).save(small);
    folder.write(QStringLiteral("broken.onnx"), "not a network");
    // Without the model the data file cannot be used, whatever the picture.
    const char* const unreadable = folder.hasModel() ? "cannot be read" : "";
    const struct {
        QString image;
        QString data;
        const char* says;
    } cases[] = {
        {small, folder.path(QStringLiteral("absent.xml")), "not found"},
        {small, folder.write(QStringLiteral("not.xml"), "<detector><model"), "not.xml"},
        {small, folder.write(QStringLiteral("nomodel.xml"), "<detector><model file='absent.onnx'/></detector>"), "absent.onnx"},
        {small, folder.write(QStringLiteral("badmodel.xml"), "<detector><model file='broken.onnx'/></detector>"), "broken.onnx"},
        {folder.write(QStringLiteral("garbage.jpg"), "this is no picture"), folder.dataPath(), unreadable},
        {folder.path(QStringLiteral("absent.jpg")), folder.dataPath(), folder.hasModel() ? "not found" : ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data.toStdString() + " " + c.image.toStdString());
        MorvelinFaceDetection detection;
        const Recorder recorder(detection);
        detection.Detect(c.image, c.data);
        runEventsUntil([&] { return recorder.completions() > 0; });
        EXPECT_EQ(recorder.events(), (std::vector<std::string>{"N", "C"}));
        EXPECT_TRUE(recorder.allOnOwnThread());
        EXPECT_FALSE(detection.lastError().isEmpty());
        EXPECT_TRUE(detection.lastError().contains(QLatin1String(c.says))) << detection.lastError().toStdString();
    }
}

TEST(MorvelinFaceDetectionTest, NoticeThenEachFaceThenCompletedOnTheObjectsThreadForManyAtOnce)
{
    const FaceDetectorTestFolder folder;
    if (const std::string why = folder.missing(QStringLiteral("faces/bald_guys.jpg")); !why.empty()) {
        GTEST_SKIP() << why;
    }
    const QStringList images{FaceDetectorTestFolder::photo(QStringLiteral("faces/bald_guys.jpg")),
                             FaceDetectorTestFolder::photo(QStringLiteral("astronaut.png")),
                             FaceDetectorTestFolder::photo(QStringLiteral("faces/2008_002470.jpg"))};
    // More detections than the pool has threads: the rest wait their turn.
    std::vector<std::unique_ptr<MorvelinFaceDetection>> detections;
    std::vector<std::unique_ptr<Recorder>> recorders;
    const int count = 2 * QThread::idealThreadCount() + static_cast<int>(images.size());
    for (int i = 0; i < count; ++i) {
        detections.push_back(std::make_unique<MorvelinFaceDetection>());
        recorders.push_back(std::make_unique<Recorder>(*detections.back()));
        detections.back()->Detect(images[i % images.size()], folder.dataPath());
    }
    EXPECT_TRUE(recorders.front()->events().empty()) << "Detect returns before the work is done";
    EXPECT_LE(MorvelinFaceDetection::pool().maxThreadCount(), QThread::idealThreadCount());

    runEventsUntil([&] {
        return std::all_of(recorders.begin(), recorders.end(), [](const auto& r) { return r->completions() > 0; });
    });
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(recorders[i]->events(), expectedEvents(images[i % images.size()], folder.dataPath()));
        EXPECT_TRUE(recorders[i]->allOnOwnThread());
        EXPECT_TRUE(detections[i]->lastError().isEmpty()) << detections[i]->lastError().toStdString();
    }
}

TEST(MorvelinFaceDetectionTest, DestroyingTheObjectWhileItDetectsIsSafe)
{
    const FaceDetectorTestFolder folder;
    if (const std::string why = folder.missing(QStringLiteral("faces/bald_guys.jpg")); !why.empty()) {
        GTEST_SKIP() << why;
    }
    int notifications = 0;
    for (int i = 0; i < 4; ++i) {
        auto detection = std::make_unique<MorvelinFaceDetection>();
        QObject::connect(detection.get(), &MorvelinFaceDetection::Notice, [&] { ++notifications; });
        QObject::connect(detection.get(), &MorvelinFaceDetection::FaceFound, [&] { ++notifications; });
        QObject::connect(detection.get(), &MorvelinFaceDetection::Completed, [&] { ++notifications; });
        detection->Detect(FaceDetectorTestFolder::photo(QStringLiteral("faces/bald_guys.jpg")), folder.dataPath());
        if (i % 2 == 1) {
            QThread::msleep(30); // let some runs be under way when their object goes
        }
    }
    MorvelinFaceDetection::pool().waitForDone();
    QCoreApplication::processEvents();
    EXPECT_EQ(notifications, 0);
}
