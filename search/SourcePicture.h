#pragma once

#include "engine/PixelCanvas.h"
#include "search/DetectedFace.h"
#include "search/SourceFace.h"

#include <QImage>
#include <QString>

#include <vector>

namespace morvelin {

// The faces of a chosen photo, found the way a pick in the gallery needs them: the photo becomes a
// temporary JPEG at most 1600 pixels wide (taller photos keep their height), the detector reads that
// JPEG, each face is cut out of it, and the temporary file is removed again.
class SourcePicture {
public:
    static constexpr int widestPhoto = 1600;

    struct Result {
        QImage picture;                  // the picture the detector saw; face rectangles are in its pixels
        std::vector<DetectedFace> faces; // in the detector's order
        QString error;                   // why nothing could be looked for, empty on success
        bool unreadablePhoto = false;    // the error is the photo's, not the detector's

        bool ok() const { return error.isEmpty(); }
    };

    static Result findFaces(const QString& photo, const QString& tempFolder, const QString& dataPath);
    // The faces of a picture already at hand, made the way findFaces makes its picture (the window's
    // captured screen or converted photo): the same picture gives the same faces in the same order.
    static Result findFacesIn(const QImage& picture, const QString& dataPath);

    // The 48 x 48 thumbnail of face `index` (0-based), unfiltered, as the gallery shows it.
    static QImage thumbnail(const Result& found, std::size_t index);
    // A thumbnail made the face to search for: filtered like every photo the search looks at.
    static PixelCanvas chosenFace(const QImage& thumbnail);
    // Face `index` made the face to search for with `matcher`. The features matcher reads the face
    // from the unfiltered picture, aligned by its key points, with the model beside `dataPath`;
    // `error` tells why that model cannot be used (the face then has no features).
    static SourceFace sourceFace(const Result& found, std::size_t index, Matcher matcher, const QString& dataPath,
                                 QString& error);
    // The 112 x 112 face the features matcher reads, null for a face the photo does not have.
    static QImage alignedFace(const Result& found, std::size_t index);
};

} // namespace morvelin
