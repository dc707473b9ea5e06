#pragma once

#include "engine/PixelCanvas.h"
#include "search/SourceFace.h"
#include "search/SourcePicture.h"

#include <QFuture>
#include <QImage>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace morvelin {

// The face picked in the gallery, made the face to search for the way the verbs make it: its filtered
// grid at once, its facial features on a worker (they need the detector's key points, which the
// gallery does not keep, and a model run) so that the window does not wait for them.
class ChosenFace {
public:
    // `source` is the picture the gallery's faces were found in.
    void pick(const QImage& thumbnail, const SourcePicture::Prepared& source, int index, const QString& dataPath,
              bool withFeatures);
    void clear();
    bool isPicked() const { return m_grid.has_value(); }

    // The face for a search; the features matcher when asked for and its features could be read,
    // otherwise the grid.
    std::shared_ptr<const SourceFace> forSearch(bool features);

private:
    std::optional<PixelCanvas> m_grid;
    QFuture<std::vector<float>> m_features;
};

} // namespace morvelin
