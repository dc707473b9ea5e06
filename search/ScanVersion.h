#pragma once

#include <QByteArray>
#include <QString>

namespace morvelin {

// Everything besides the photo that shapes what a scan finds: the detector's data file and model, the
// facial-features model, the scan size, the filter and the cut. Remembered findings of another version
// are never used.
class ScanVersion {
public:
    // Raise it whenever a change to the scan's code changes what it finds for the same files (framing,
    // the order of the faces, the alignment, the contents it reads, a photo's turn...): the filter is
    // fingerprinted on its own.
    static constexpr int revision = 4;

    static QByteArray of(const QString& dataPath);
    // The filter's answer on a fixed picture: any change to the filter changes it.
    static QByteArray filterFingerprint();
};

} // namespace morvelin
