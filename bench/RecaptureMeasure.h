// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace morvelin::bench {

// The search as a user meets it: a face shown on screen and captured again, searched in a folder that
// holds its own photo among others. Every face the scan finds in the photos becomes a source: its
// photo scaled to 40-90 %, gain and gamma changed by up to 15 %, saved as JPEG of quality 70-90, every
// other one inside a window frame on a desktop-coloured screen (fixed seed, so every run is alike).
// The face is chosen from that capture as the program chooses one, and the folder (the photos, their
// mirrored and their tinted copies) is scanned by the program's own scan.
//   first:   share of sources whose own photo scores best of the folder (its copies left out)
//   listed:  share of sources whose own photo scores 70 % or more
//   wrong:   mean share of the other photos (not the source's photo or its copies) scoring 70 % or more
class RecaptureMeasure {
public:
    struct Figures {
        int sources = 0;
        int lost = 0; // the capture's face was not found again
        int first = 0;
        int listed = 0;
        double wrongListed = 0;
        int folderSize = 0;
    };

    // `dataPath` is a detector data file beside its model; `workFolder` an empty folder to write in.
    static Figures run(const QStringList& photos, const QString& dataPath, const QString& workFolder);
    static void print(const Figures& figures);
};

} // namespace morvelin::bench
