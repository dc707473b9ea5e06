// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/FaceDetector.h"

#include "search/BlazeFaceModel.h"
#include "search/FaceFraming.h"
#include "search/FaceGeometry.h"

#include <QDir>
#include <QFileInfo>

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <optional>

namespace morvelin {

namespace {

FaceDetector::Result failure(const QString& why)
{
    return {{}, why};
}

// The part of the image one run of the model sees: a square of `side` pixels from `origin`. What lies
// past the image's right or bottom edge is black, as MediaPipe pads its input.
struct Window {
    cv::Point origin;
    int side = 0;
};

struct ModelInput {
    cv::Mat rgb; // inputSize x inputSize
    BlazeFaceDecoder::Placement placement;
};

// Area averaging is fast only for whole factors: shrink by the largest whole factor first, then by
// what remains. `part` must be a multiple of that factor on both sides (see modelInput).
cv::Mat shrink(const cv::Mat& part, int width, int height, int factor)
{
    cv::Mat result;
    if (factor < 2) {
        cv::resize(part, result, cv::Size(width, height), 0, 0, cv::INTER_LINEAR);
        return result;
    }
    cv::Mat averaged;
    cv::resize(part, averaged, cv::Size(part.cols / factor, part.rows / factor), 0, 0, cv::INTER_AREA);
    cv::resize(averaged, result, cv::Size(width, height), 0, 0, cv::INTER_LINEAR);
    return result;
}

// Pale or dim pictures (a grey screen capture, a faded scan) lose faces; the model finds them best in
// the full range. Colour ratios are kept, so a colour photo that already spans the range is unchanged.
void stretchContrast(cv::Mat& part)
{
    double darkest = 0;
    double brightest = 0;
    cv::minMaxLoc(part.reshape(1), &darkest, &brightest);
    if (brightest - darkest < 1 || (darkest == 0 && brightest == 255)) {
        return;
    }
    part.convertTo(part, -1, 255.0 / (brightest - darkest), -darkest * 255.0 / (brightest - darkest));
}

// The model learnt from colour photos and misses about one grey face in five; a grey picture (a
// black-and-white photo) given a skin-like tint loses almost none.
void tintIfGrey(cv::Mat& part)
{
    std::vector<cv::Mat> channels;
    cv::split(part, channels);
    // JPEG leaves a grey picture's channels a level or two apart.
    constexpr double greyTolerance = 2.0;
    if (cv::norm(channels[0], channels[1], cv::NORM_L1) > greyTolerance * double(part.total())
        || cv::norm(channels[1], channels[2], cv::NORM_L1) > greyTolerance * double(part.total())) {
        return;
    }
    cv::multiply(part, cv::Scalar(1.0, 0.8, 0.7), part);
}

ModelInput modelInput(const cv::Mat& rgb, const Window& window, int inputSize)
{
    cv::Rect inside = cv::Rect(window.origin, cv::Size(window.side, window.side)) & cv::Rect(0, 0, rgb.cols, rgb.rows);
    const double zoom = double(inputSize) / window.side;
    const int factor = std::min({static_cast<int>(1.0 / zoom), inside.width, inside.height});
    if (factor >= 2) {
        // Dropping the last few columns and rows (fewer than the factor) keeps the shrinking fast.
        inside.width -= inside.width % factor;
        inside.height -= inside.height % factor;
    }
    const int width = std::clamp(static_cast<int>(std::lrint(inside.width * zoom)), 1, inputSize);
    const int height = std::clamp(static_cast<int>(std::lrint(inside.height * zoom)), 1, inputSize);

    ModelInput input;
    input.rgb = cv::Mat(inputSize, inputSize, CV_8UC3, cv::Scalar::all(0));
    cv::Mat part = input.rgb(cv::Rect(0, 0, width, height));
    shrink(rgb(inside), width, height, factor).copyTo(part);
    stretchContrast(part);
    tintIfGrey(part);
    input.placement = {double(inside.width) / width, double(inside.height) / height, QPointF(inside.x, inside.y)};
    return input;
}

// Start positions of `count` windows of `side` pixels spread evenly over `length` pixels.
std::vector<int> spread(int length, int side, int count)
{
    std::vector<int> starts;
    for (int i = 0; i < count; ++i) {
        starts.push_back(count == 1 ? 0 : static_cast<int>(std::lrint(double(length - side) * i / (count - 1))));
    }
    return starts;
}

// How many windows of `side` pixels, overlapping by `overlap` of a side, cover `length` pixels.
int windowsAlong(int length, int side, double overlap)
{
    if (length <= side) {
        return 1;
    }
    return static_cast<int>(std::ceil((length - side * overlap) / (side * (1 - overlap))));
}

// The whole image, then the tiles when the data file asks for them. A tile is never smaller than the
// model's input: blown up, a small photo's patterns look like faces and nothing small is gained.
std::vector<Window> windowsFor(const cv::Size& size, const DetectorConfig& config)
{
    const int longSide = std::max(size.width, size.height);
    std::vector<Window> windows{{cv::Point(0, 0), longSide}};
    const int across = config.tilesAcross;
    if (across < 2) {
        return windows;
    }
    const double overlap = config.tileOverlap;
    const int side = std::max(config.inputSize, static_cast<int>(std::ceil(longSide / (across - (across - 1) * overlap))));
    if (side >= longSide) {
        return windows;
    }
    const std::vector<int> xs = spread(size.width, std::min(side, size.width), windowsAlong(size.width, side, overlap));
    const std::vector<int> ys = spread(size.height, std::min(side, size.height), windowsAlong(size.height, side, overlap));
    for (const int y : ys) {
        for (const int x : xs) {
            windows.push_back({cv::Point(x, y), side});
        }
    }
    return windows;
}

// A face's second look: a square about `zoom` times its size around it, at the model's input size.
// The whole-picture pass sees a small face in a few pixels and places its eyes roughly; here every face
// is seen at one scale, so its key points, and the box placed from them, do not depend on its size in
// the picture. Past the picture's edges the square is black, as in the first pass. Nothing when the
// data file asks the second look to confirm the face and it does not.
std::optional<BlazeFaceDecoder::Candidate> lookAgain(const cv::Mat& rgb, const BlazeFaceDecoder::Candidate& found,
                                      BlazeFaceModel& model, const DetectorConfig& config)
{
    constexpr double zoom = 2.0;
    const int inputSize = config.inputSize;
    const int side = std::max(1, static_cast<int>(std::lrint(std::max(found.box.width(), found.box.height()) * zoom)));
    const cv::Point origin(static_cast<int>(std::lrint(found.box.center().x() - side / 2.0)),
                           static_cast<int>(std::lrint(found.box.center().y() - side / 2.0)));
    const cv::Rect inside = cv::Rect(origin, cv::Size(side, side)) & cv::Rect(0, 0, rgb.cols, rgb.rows);
    if (inside.empty()) {
        return found;
    }
    cv::Mat square(side, side, CV_8UC3, cv::Scalar::all(0));
    rgb(inside).copyTo(square(inside - origin));
    cv::Mat input;
    cv::resize(square, input, cv::Size(inputSize, inputSize), 0, 0, side > inputSize ? cv::INTER_AREA : cv::INTER_LINEAR);
    stretchContrast(input);
    tintIfGrey(input);
    const double scale = double(side) / inputSize;
    const BlazeFaceDecoder::Placement placement{scale, scale, QPointF(origin.x, origin.y)};

    // The same face seen again is the candidate overlapping the first find most.
    const BlazeFaceDecoder::Candidate* best = nullptr;
    double bestOverlap = 0.3;
    const std::vector<BlazeFaceDecoder::Candidate> again =
        BlazeFaceDecoder::mergeOverlaps(model.run(input, config.scoreThreshold, placement), config.nmsThreshold);
    for (const BlazeFaceDecoder::Candidate& candidate : again) {
        const double overlap = BlazeFaceDecoder::intersectionOverUnion(candidate.box, found.box);
        if (overlap > bestOverlap) {
            best = &candidate;
            bestOverlap = overlap;
        }
    }
    if (config.secondLookScore > 0 && (best == nullptr || best->score < config.secondLookScore)) {
        return std::nullopt;
    }
    return best != nullptr ? *best : found;
}

// A tile that holds only part of a large face may take that part for a face of its own: a find
// whose centre lies inside a find at least twice as wide is such a part.
std::vector<BlazeFaceDecoder::Candidate> withoutPartsOfLargerFaces(std::vector<BlazeFaceDecoder::Candidate> candidates)
{
    const auto partOfAnother = [&](const BlazeFaceDecoder::Candidate& part) {
        return std::any_of(candidates.begin(), candidates.end(), [&](const BlazeFaceDecoder::Candidate& whole) {
            return whole.box.width() >= 2 * part.box.width() && whole.box.contains(part.box.center());
        });
    };
    std::vector<BlazeFaceDecoder::Candidate> kept;
    std::copy_if(candidates.begin(), candidates.end(), std::back_inserter(kept),
                 [&](const BlazeFaceDecoder::Candidate& candidate) { return !partOfAnother(candidate); });
    return kept;
}

cv::Mat rgbPixels(const QImage& image)
{
    // Qt keeps 32-bit pixels as B, G, R, A bytes on this platform; one conversion gives RGB.
    const QImage bgra = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    const cv::Mat wrapped(bgra.height(), bgra.width(), CV_8UC4, const_cast<uchar*>(bgra.constBits()),
                          static_cast<std::size_t>(bgra.bytesPerLine()));
    cv::Mat rgb;
    cv::cvtColor(wrapped, rgb, cv::COLOR_BGRA2RGB);
    return rgb;
}

} // namespace

DetectorConfig::Result FaceDetector::config(const QString& dataPath)
{
    static std::mutex cacheMutex;
    static std::map<QString, DetectorConfig> cache;

    const QString key = QDir::cleanPath(QFileInfo(dataPath).absoluteFilePath());
    const std::lock_guard lock(cacheMutex);
    if (const auto found = cache.find(key); found != cache.end()) {
        return {found->second, QString()};
    }
    DetectorConfig::Result read = DetectorConfig::readFile(key);
    if (read.config) {
        cache.emplace(key, *read.config);
    }
    return read;
}

FaceDetector::Result FaceDetector::detect(const QImage& image, const QString& dataPath)
{
    const DetectorConfig::Result settings = config(dataPath);
    if (!settings.config) {
        return failure(settings.error);
    }
    return detect(image, *settings.config);
}

FaceDetector::Result FaceDetector::detect(const QImage& image, const DetectorConfig& config)
{
    if (image.isNull()) {
        return failure(QStringLiteral("the image is empty"));
    }
    const BlazeFaceModel::Loaded loaded = BlazeFaceModel::forFile(config.modelPath, config.inputSize);
    if (!loaded.model) {
        return failure(loaded.error);
    }
    std::vector<BlazeFaceDecoder::Candidate> found;
    try {
        const cv::Mat rgb = rgbPixels(image);
        std::vector<BlazeFaceDecoder::Candidate> candidates;
        for (const Window& window : windowsFor(rgb.size(), config)) {
            const ModelInput input = modelInput(rgb, window, config.inputSize);
            for (BlazeFaceDecoder::Candidate& candidate :
                 loaded.model->run(input.rgb, config.scoreThreshold, input.placement)) {
                candidates.push_back(std::move(candidate));
            }
        }
        for (const BlazeFaceDecoder::Candidate& candidate : BlazeFaceDecoder::mergeOverlaps(candidates, config.nmsThreshold)) {
            const std::optional<BlazeFaceDecoder::Candidate> seen = lookAgain(rgb, candidate, *loaded.model, config);
            if (seen && (!config.keyPointsChecked || FaceGeometry::makesAFace(*seen))) {
                found.push_back(*seen);
            }
        }
    } catch (const cv::Exception& error) {
        return failure(QStringLiteral("face model failed: %1").arg(QString::fromStdString(error.msg)));
    }

    Result result;
    // Two finds of one face look again at the same face.
    for (const BlazeFaceDecoder::Candidate& candidate : withoutPartsOfLargerFaces(BlazeFaceDecoder::mergeOverlaps(found, config.nmsThreshold))) {
        if (const std::optional<DetectedFace> face = FaceFraming::place(candidate, config, image.size())) {
            result.faces.push_back(*face);
        }
    }
    FaceFraming::sortInReadingOrder(result.faces);
    return result;
}

} // namespace morvelin
