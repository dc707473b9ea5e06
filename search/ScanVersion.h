// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceCutter.h"
#include "search/FaceFraming.h"

#include <QByteArray>
#include <QString>

namespace morvelin {

// Everything besides the photo that shapes what a scan finds: the detector's data file and model, the
// facial-features model, the scan size, the filter, the cut and the framing, and the versions of the
// libraries that decode photos and run the models. Remembered findings of another version are never
// used.
class ScanVersion {
public:
    // Raise it whenever a change to the scan's code changes what it finds for the same files (framing,
    // the order of the faces, the alignment, the contents it reads, a photo's turn...): the filter is
    // fingerprinted on its own.
    static constexpr int revision = 5;

    // The code's own revisions, kept beside the code they follow.
    struct Revisions {
        int scan = revision;
        int cutting = FaceCutter::revision;
        int framing = FaceFraming::revision;
    };

    static QByteArray of(const QString& dataPath);
    static QByteArray of(const QString& dataPath, const Revisions& revisions);
    // Qt's, OpenCV's and ImageMagick's versions as this process loaded them: an upgrade of a decoder
    // or of the detector's runtime may change the pixels or the faces found.
    static QString libraryVersions();
    // The filter's answer on a fixed picture: any change to the filter changes it.
    static QByteArray filterFingerprint();
};

} // namespace morvelin
