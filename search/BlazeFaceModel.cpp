// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/BlazeFaceModel.h"

#include <QFile>

#include <map>
#include <mutex>
#include <utility>

namespace morvelin {

namespace {

std::span<const float> valuesOf(const cv::Mat& mat)
{
    return {mat.ptr<float>(), mat.total()};
}

} // namespace

BlazeFaceModel::BlazeFaceModel(std::vector<uchar> bytes, int inputSize)
    : m_networks(std::move(bytes)), m_inputSize(inputSize)
{
}

BlazeFaceModel::Loaded BlazeFaceModel::forFile(const QString& path, int inputSize)
{
    static std::mutex cacheMutex;
    static std::map<std::pair<QString, int>, std::shared_ptr<BlazeFaceModel>> cache;

    // Held while loading, so two first detections never read the same model twice.
    const std::lock_guard lock(cacheMutex);
    const auto key = std::make_pair(path, inputSize);
    if (const auto found = cache.find(key); found != cache.end()) {
        return {found->second, QString()};
    }
    Loaded loaded = load(path, inputSize);
    if (loaded.model) {
        cache.emplace(key, loaded.model);
    }
    return loaded;
}

BlazeFaceModel::Loaded BlazeFaceModel::load(const QString& path, int inputSize)
{
    QFile file(path);
    if (!file.exists()) {
        return {nullptr, QStringLiteral("face model %1 not found").arg(path)};
    }
    if (!file.open(QIODevice::ReadOnly)) {
        return {nullptr, QStringLiteral("face model %1: %2").arg(path, file.errorString())};
    }
    const QByteArray data = file.readAll();
    std::shared_ptr<BlazeFaceModel> model(
        new BlazeFaceModel(std::vector<uchar>(data.begin(), data.end()), inputSize));
    try {
        // A trial run catches a broken file or a wrong input size now rather than on every photo.
        const Outputs outputs = model->forward(cv::Mat(inputSize, inputSize, CV_8UC3, cv::Scalar::all(0)));
        if (outputs.fineScores.empty() || outputs.fineBoxes.empty() || outputs.coarseScores.empty()
            || outputs.coarseBoxes.empty()) {
            return {nullptr, QStringLiteral("face model %1 does not answer as BlazeFace does").arg(path)};
        }
    } catch (const cv::Exception& error) {
        return {nullptr, QStringLiteral("face model %1 cannot run: %2").arg(path, QString::fromStdString(error.msg))};
    }
    return {model, QString()};
}

std::vector<BlazeFaceDecoder::Candidate> BlazeFaceModel::run(const cv::Mat& rgb, float threshold,
                                                             const BlazeFaceDecoder::Placement& placement)
{
    const Outputs outputs = forward(rgb);
    return BlazeFaceDecoder::decode(valuesOf(outputs.fineScores), valuesOf(outputs.fineBoxes),
                                    valuesOf(outputs.coarseScores), valuesOf(outputs.coarseBoxes), m_inputSize,
                                    threshold, placement);
}

BlazeFaceModel::Outputs BlazeFaceModel::forward(const cv::Mat& rgb)
{
    // NHWC, channels scaled to -1..1: the float picture's own memory is already that layout.
    cv::Mat scaled;
    rgb.convertTo(scaled, CV_32FC3, 1.0 / 127.5, -1.0);
    const int shape[] = {1, m_inputSize, m_inputSize, 3};
    const cv::Mat blob(4, shape, CV_32F, scaled.data);

    cv::dnn::Net net = m_networks.borrow();
    std::vector<cv::Mat> results;
    try {
        net.setInput(blob);
        net.forward(results, net.getUnconnectedOutLayersNames());
    } catch (...) {
        m_networks.giveBack(net);
        throw;
    }
    m_networks.giveBack(net);

    // Told apart by size, which does not depend on how the converter named the outputs.
    Outputs outputs;
    const std::size_t fine = BlazeFaceDecoder::fineAnchors;
    const std::size_t coarse = BlazeFaceDecoder::coarseAnchors;
    for (const cv::Mat& result : results) {
        const std::size_t count = result.total();
        if (count == fine) {
            outputs.fineScores = result;
        } else if (count == coarse) {
            outputs.coarseScores = result;
        } else if (count == fine * BlazeFaceDecoder::valuesPerAnchor) {
            outputs.fineBoxes = result;
        } else if (count == coarse * BlazeFaceDecoder::valuesPerAnchor) {
            outputs.coarseBoxes = result;
        }
    }
    return outputs;
}

} // namespace morvelin
