// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/PhotoScan.h"

#include "base/BackgroundWork.h"
#include "engine/EngineError.h"
#include "search/FaceDetector.h"
#include "search/FaceIndex.h"
#include "search/ImageX.h"
#include "search/MemoryBudget.h"
#include "search/PhotoPixels.h"

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace morvelin {

namespace {

constexpr std::int64_t megabyte = 1 << 20;
// The detector's own buffers beside the copies of the scaled photo.
constexpr std::int64_t detectorBytes = 32 * megabyte;
// The scaled photo, the detector's two copies of it and the features matcher's colour copy.
constexpr std::int64_t scaledCopies = 4;
// A camera photo's scan reserves about 64 MB; what is well above came from a photo decoded large.
constexpr std::int64_t largeScanBytes = 128 * megabyte;

// A size in one word, so that the worker reads both sides of the same request.
std::uint64_t packSize(QSize size)
{
    if (size.isEmpty()) {
        return 0;
    }
    return (std::uint64_t(std::uint32_t(size.width())) << 32) | std::uint32_t(size.height());
}

QSize unpackSize(std::uint64_t packed)
{
    return QSize(int(packed >> 32), int(packed & 0xffffffffu));
}

} // namespace

std::int64_t PhotoScan::scanWorkingBytes(int width, int height)
{
    return std::int64_t(width) * height * 4 * scaledCopies + detectorBytes;
}

// Hands one scan's events from its worker to the PhotoScan, on the PhotoScan's thread in the order
// they were sent; none once the PhotoScan is gone.
class PhotoScan::Relay {
public:
    Relay(BackgroundWork& work, PhotoScan* scan) : m_work(work), m_scan(scan) {}

    void answeredFromIndex() { post(&PhotoScan::answeredFromIndex); }
    void stageChanged(Stage stage) { post(&PhotoScan::stageChanged, stage); }
    void photoLoaded(const QImage& shownPhoto) { post(&PhotoScan::photoLoaded, shownPhoto); }
    void photoMeasured(const QSize& photoSize, const QSize& scanSize)
    {
        post(&PhotoScan::photoMeasured, photoSize, scanSize);
    }
    void faceScored(int faceCount, const QRect& box, const QImage& face, qint64 scoreTenThousandths)
    {
        post(&PhotoScan::onFaceScored, faceCount, box, face, scoreTenThousandths);
    }
    void faceDescribed(int faceCount, const QJsonObject& face) { post(&PhotoScan::faceDescribed, faceCount, face); }
    void matched(const QString& fileName, int xscore, const QImage& face, const QRect& box)
    {
        post(&PhotoScan::matched, fileName, xscore, face, box);
    }
    void finished(const QString& failure, bool stopped) { post(&PhotoScan::onFinished, failure, stopped); }

private:
    template <typename Event, typename... Args>
    void post(Event event, Args... args)
    {
        m_work.post([scan = m_scan, event, args...] { (scan->*event)(args...); });
    }

    BackgroundWork& m_work;
    PhotoScan* m_scan;
};

class PhotoScan::Run {
public:
    Run(std::unique_ptr<Relay> relay, std::shared_ptr<const FaceQuery> query, QString fileName,
        QString dataPath, std::shared_ptr<MemoryBudget> budget, std::shared_ptr<FaceIndex> index,
        std::shared_ptr<const std::atomic<std::uint64_t>> shownSize)
        : m_relay(std::move(relay))
        , m_query(std::move(query))
        , m_fileName(std::move(fileName))
        , m_dataPath(std::move(dataPath))
        , m_budget(std::move(budget))
        , m_index(std::move(index))
        , m_shownSize(std::move(shownSize))
    {
    }

    void run()
    {
        QString failure;
        try {
            failure = m_index ? scanThroughIndex() : scan();
        } catch (const std::exception& error) {
            failure = QString::fromLocal8Bit(error.what());
        }
        if (m_reserved >= largeScanBytes) {
            // What a large photo freed may lie between pictures the allocator keeps for the next
            // photos; it goes back to the system before the budget hands it out again.
            ::malloc_trim(0);
        }
        if (m_reserved > 0) {
            m_budget->release(m_reserved);
        }
        m_relay->stageChanged(Stage::Completed);
        m_relay->finished(failure, m_stopped);
    }

private:
    // The stamp is taken before the photo is read: a file changed during its scan is scanned again
    // next time. Only what the photo itself decides is remembered, not a stop or a full disk.
    QString scanThroughIndex()
    {
        const std::optional<FileStamp> stamp = FileStamp::of(m_fileName);
        if (!stamp) {
            return scan();
        }
        const FaceIndex::Pictures pictures =
            m_query->matcher->comparesPictures() ? FaceIndex::Pictures::Read : FaceIndex::Pictures::Skipped;
        if (std::optional<FaceIndex::Entry> known = m_index->find(m_fileName, *stamp, pictures); known && answers(*known)) {
            m_relay->answeredFromIndex();
            return compareKnown(*known);
        }
        m_recording = true;
        const QString failure = scan();
        if (failure.isEmpty() || m_photoFailed) {
            m_found.stamp = *stamp;
            m_found.error = failure;
            m_index->remember(m_fileName, std::move(m_found), pictures);
        }
        return failure;
    }

    // An entry made by a search with another matcher may lack what this one reads (a grid search
    // reads no features): such a photo is scanned again.
    bool answers(const FaceIndex::Entry& known) const
    {
        return std::all_of(known.faces.begin(), known.faces.end(),
                           [this](const FaceIndex::Face& face) { return m_query->matcher->hasRead(face); });
    }

    QString compareKnown(const FaceIndex::Entry& known)
    {
        if (!known.error.isEmpty()) {
            return known.error;
        }
        measured(known.photoSize, known.scanSize);
        int faceCount = 0;
        for (std::size_t n = 0; n < known.faces.size(); ++n) {
            faceCount = nextFaceCount(faceCount);
            if (!known.faces[n].blank) {
                scoreFace(faceCount, known.faces[n], [&known, n] { return known.thumbnailOf(n); });
            }
        }
        return QString();
    }

    QString scan()
    {
        m_relay->stageChanged(Stage::Loading);
        ImageX photo;
        if (!photo.load(m_fileName)) {
            m_photoFailed = !photo.errorPasses();
            return photo.errorString();
        }
        const QSize photoSize(photo.width(), photo.height());
        scaleDown(photo);
        if (const QString refused = reserveMemory(photo); !refused.isEmpty()) {
            return refused;
        }
        const QImage scaled = photo.picture();
        if (scaled.isNull()) {
            m_photoFailed = !photo.errorPasses();
            return photo.errorString();
        }
        showPhoto(scaled);
        measured(photoSize, scaled.size());

        // The filter works on each face as it is cut out (see FaceFilter), so the detector reads the
        // photo as it is: every face is framed alike whatever the filter does, and a face chosen from
        // a photo gets the same box as the same face found by a scan.
        m_relay->stageChanged(Stage::DetectingFaces);
        const FaceDetector::Result detected = FaceDetector::detect(scaled, m_dataPath);
        if (!detected.ok()) {
            return detected.error;
        }
        return compareFaces(scaled, detected.faces);
    }

    void showPhoto(const QImage& scaled)
    {
        const QSize within = unpackSize(m_shownSize->load());
        if (within.isEmpty()) {
            return;
        }
        m_relay->photoLoaded(scaled.scaled(within, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }

    // Decoding, the scaled copies and the detector all happen inside the budget.
    QString reserveMemory(const ImageX& photo)
    {
        if (!m_budget) {
            return QString();
        }
        const std::int64_t need = photo.decodingMemory() + scanWorkingBytes(photo.width(), photo.height());
        switch (m_budget->acquire(need)) {
        case MemoryBudget::Grant::Granted:
            m_reserved = need;
            return QString();
        case MemoryBudget::Grant::TooLarge:
            return QStringLiteral("needs %1 MB to scan, more than the memory limit of %2 MB")
                .arg((need + megabyte - 1) / megabyte)
                .arg(m_budget->total() / megabyte);
        case MemoryBudget::Grant::Cancelled:
            break;
        }
        m_stopped = true;
        return QStringLiteral("not scanned: the search was stopped");
    }

    void measured(const QSize& photoSize, const QSize& scanSize)
    {
        m_photoSize = photoSize;
        m_scanSize = scanSize;
        m_found.photoSize = photoSize;
        m_found.scanSize = scanSize;
        m_relay->photoMeasured(photoSize, scanSize);
    }

    QString compareFaces(const QImage& photo, const std::vector<DetectedFace>& detected)
    {
        std::vector<FaceIndex::Face> faces;
        faces.reserve(detected.size());
        for (const DetectedFace& found : detected) {
            faces.push_back(FaceIndex::Face::cutFrom(photo, found));
        }
        if (const QString problem = m_query->matcher->read(photo, detected, faces); !problem.isEmpty()) {
            return problem;
        }
        int faceCount = 0;
        for (FaceIndex::Face& face : faces) {
            faceCount = nextFaceCount(faceCount);
            m_relay->stageChanged(Stage::ComparingFaces);
            if (!face.blank) {
                scoreFace(faceCount, face, [&face] { return face.thumbnail; });
            }
            if (m_recording) {
                m_found.faces.push_back(std::move(face));
            }
        }
        return QString();
    }

    // The count stops at the largest 16-bit number rather than wrapping.
    static int nextFaceCount(int faceCount)
    {
        return faceCount < std::numeric_limits<std::int16_t>::max() ? faceCount + 1 : faceCount;
    }

    // The thumbnail is asked for only when it is shown: a face answered by the index decodes it then.
    void scoreFace(int faceCount, const FaceIndex::Face& face, const std::function<QImage()>& thumbnail)
    {
        const FaceMatcher::Score score = m_query->matcher->score(face);
        const PhotoPixels inPhoto(m_photoSize, m_scanSize);
        QJsonObject described = inPhoto.describe(face);
        for (auto detail = score.details.begin(); detail != score.details.end(); ++detail) {
            described.insert(detail.key(), detail.value());
        }
        m_relay->faceDescribed(faceCount, described);
        // A face from the index may have no grid picture; a scan window then shows its thumbnail.
        const bool watched = !unpackSize(m_shownSize->load()).isEmpty();
        const QImage shown = face.picture.isNull() && watched ? thumbnail() : face.picture;
        m_relay->faceScored(faceCount, face.box, shown, score.score.tenThousandths());
        if (m_query->lists(score.score)) {
            m_relay->matched(m_fileName, score.score.xscore(), thumbnail(), inPhoto.box(face.box));
        }
    }

    std::unique_ptr<Relay> m_relay;
    std::shared_ptr<const FaceQuery> m_query;
    QString m_fileName;
    QString m_dataPath;
    std::shared_ptr<MemoryBudget> m_budget;
    std::int64_t m_reserved = 0;
    std::shared_ptr<FaceIndex> m_index;
    std::shared_ptr<const std::atomic<std::uint64_t>> m_shownSize;
    bool m_recording = false;   // what the scan finds goes to the index
    bool m_photoFailed = false; // the photo itself could not be read
    bool m_stopped = false;     // the search stopped before the photo was decoded
    QSize m_photoSize;
    QSize m_scanSize;
    FaceIndex::Entry m_found;
};

PhotoScan::PhotoScan(std::shared_ptr<const FaceQuery> query, QObject* parent)
    : QObject(parent)
    , m_query(std::move(query))
{
}

void PhotoScan::scaleDown(ImageX& photo)
{
    const bool portrait = photo.height() > photo.width();
    if (portrait && photo.height() > tallestPortrait) {
        photo.resize(0, tallestPortrait);
    } else if (!portrait && photo.width() > widestLandscape) {
        photo.resize(widestLandscape, 0);
    }
}

PhotoScan::~PhotoScan() = default;

void PhotoScan::setMemoryBudget(std::shared_ptr<MemoryBudget> budget)
{
    m_budget = std::move(budget);
}

void PhotoScan::setFaceIndex(std::shared_ptr<FaceIndex> index)
{
    m_index = std::move(index);
}

QString PhotoScan::stageText(Stage stage)
{
    switch (stage) {
    case Stage::Loading:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Loading"));
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
    m_stoppedBeforeScan = false;

    // The worker holds this scan only to address what it posts, which runs while the scan lives.
    BackgroundWork::start(this, [this, query = m_query, FileName, XML, budget = m_budget, index = m_index,
                                 shownSize = m_shownSize](BackgroundWork& work) {
        Run(std::make_unique<Relay>(work, this), query, FileName, XML, budget, index, shownSize).run();
    });
}

void PhotoScan::showPhotoWithin(QSize size)
{
    m_shownSize->store(packSize(size));
}

void PhotoScan::onFaceScored(int faceCount, const QRect& box, const QImage& face, qint64 scoreTenThousandths)
{
    m_faceCount = faceCount;
    emit faceScored(faceCount, box, face, scoreTenThousandths);
}

void PhotoScan::onFinished(const QString& failure, bool stopped)
{
    m_failure = failure;
    m_stoppedBeforeScan = stopped;
    emit Completed();
}

} // namespace morvelin
