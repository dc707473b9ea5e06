#pragma once

#include "engine/PixelCanvas.h"
#include "search/DetectedFace.h"

#include <QImage>
#include <QString>

#include <vector>

namespace morvelin {

// The faces of a chosen photo, found the way a pick in the gallery needs them: the photo is scaled to
// at most 1600 pixels wide (taller photos keep their height) and written as a temporary JPEG, the
// detector reads that JPEG, each face is cut out of the scaled photo, and the temporary file is
// removed again.
class SourcePicture {
public:
    static constexpr int widestPhoto = 1600;

    struct Result {
        QImage picture;                  // the scaled photo; face rectangles are in its pixels
        std::vector<DetectedFace> faces; // in the detector's order
        QString error;                   // why nothing could be looked for, empty on success
        bool unreadablePhoto = false;    // the error is the photo's, not the detector's

        bool ok() const { return error.isEmpty(); }
    };

    static Result findFaces(const QString& photo, const QString& tempFolder, const QString& dataPath);

    // The 48 x 48 thumbnail of face `index` (0-based), unfiltered, as the gallery shows it.
    static QImage thumbnail(const Result& found, std::size_t index);
    // The picture the comparison reads for a thumbnail: filtered like every face a scan cuts out.
    static QImage comparedFace(const QImage& thumbnail);
    // A thumbnail made the face to search for.
    static PixelCanvas chosenFace(const QImage& thumbnail);
};

} // namespace morvelin
