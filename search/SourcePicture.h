// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/PixelCanvas.h"
#include "search/DetectedFace.h"
#include "search/FaceMatcher.h"
#include "search/FoundFace.h"
#include "search/PictureSizes.h"

#include <QImage>
#include <QString>

#include <vector>

namespace morvelin {

// The face to search for, made the one way the main window and every verb make it: a photo is scaled
// as a scan scales it (PhotoScan::scaleDown), the captured screen becomes a temporary JPEG read back;
// the detector reads those pixels, and each face is cut out of them and read by the matcher the way
// a scan cuts and reads the faces it finds, so that a photo searched for its own face scores 100 %.
class SourcePicture {
public:

    // A source picture ready for the detector. The caller removes `jpeg` when done.
    struct Prepared {
        QString jpeg;                    // the captured screen's file; empty for a photo
        // The pixels the detector reads and faces are cut from: for the screen, its JPEG's, so that a
        // face chosen from it and the same face found by a scan of the JPEG get the same box.
        QImage picture;
        QSize photoSize;                 // the picture's own size, before it was scaled
        QString error;                   // why there is nothing to detect in, empty on success
        bool unreadablePhoto = false;    // the error is the photo's, not the temporary folder's

        bool ok() const { return error.isEmpty(); }
    };

    struct Result {
        QImage picture;                  // the scaled photo; face rectangles are in its pixels
        QSize photoSize;                 // the photo's own size, before it was scaled
        std::vector<DetectedFace> faces; // in the detector's order
        QString error;                   // why nothing could be looked for, empty on success
        bool unreadablePhoto = false;    // the error is the photo's, not the detector's

        bool ok() const { return error.isEmpty(); }
    };

    // The photo is only read.
    static Prepared preparePhoto(const QString& photo);
    // tempFolder ends with a separator.
    static Prepared prepareScreen(const QImage& screen, const QString& tempFolder);

    // Prepares the photo and detects its faces.
    static Result findFaces(const QString& photo, const QString& dataPath);
    // The faces of a picture already prepared (the window's captured screen or converted photo), found
    // the way findFaces finds them: the same picture gives the same faces in the same order.
    static Result findFacesIn(const Prepared& prepared, const QString& dataPath);

    // The 48 x 48 thumbnail of a face (left x1, right x2, top y1, bottom y2 in the picture's pixels),
    // unfiltered, as the gallery shows it; null when the rectangle holds nothing.
    static QImage thumbnail(const QImage& picture, const DetectedFace& face);
    // The thumbnail of face `index` (0-based).
    static QImage thumbnail(const Result& found, std::size_t index);
    // The picture the comparison reads for a thumbnail: filtered like every face a scan cuts out. The
    // window shows it as the chosen face; `faces --out` writes it as compared_N.png.
    static QImage filteredFace(const QImage& thumbnail);
    // Face `index` (0-based, one the picture has) as a scan finds it, read by `matcher`; `error` tells
    // why the matcher could not read it.
    static FoundFace personFace(const Result& found, std::size_t index, const FaceMatcher& matcher, QString& error);
    // The 112 x 112 face the features matcher reads, null for a face the photo does not have.
    static QImage alignedFace(const Result& found, std::size_t index);
};

} // namespace morvelin
