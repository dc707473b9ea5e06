#include "app/ChosenFace.h"

#include "base/BackgroundWork.h"

namespace morvelin {

void ChosenFace::pick(const QImage& thumbnail, const SourcePicture::Prepared& source, int index,
                      const QString& dataPath, bool withFeatures)
{
    m_grid = SourcePicture::chosenFace(thumbnail);
    m_features = QFuture<std::vector<float>>();
    if (!withFeatures) {
        return;
    }
    // The same picture gives the same faces in the same order, now with their key points.
    m_features = BackgroundWork::future([source, dataPath, index] {
        QString problem;
        const SourcePicture::Result found = SourcePicture::findFacesIn(source, dataPath);
        return SourcePicture::sourceFace(found, static_cast<std::size_t>(index), Matcher::Features, dataPath, problem)
            .features;
    });
}

void ChosenFace::clear()
{
    m_grid.reset();
    m_features = QFuture<std::vector<float>>();
}

std::shared_ptr<const SourceFace> ChosenFace::forSearch(bool features)
{
    auto face = std::make_shared<SourceFace>();
    face->grid = m_grid.value_or(PixelCanvas());
    // A future never started counts as cancelled.
    if (!features || m_features.isCanceled()) {
        return face;
    }
    m_features.waitForFinished();
    if (m_features.resultCount() > 0 && !m_features.result().empty()) {
        face->matcher = Matcher::Features;
        face->features = m_features.result();
    }
    return face;
}

} // namespace morvelin
