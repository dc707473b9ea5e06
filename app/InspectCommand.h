// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/FaceMatchTech.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace morvelin {

class classImageProcessing;

// `inspect IMAGE --out DIR [--size W H] [--scale N]`: the engine's view of one picture. Writes the
// sampled grid, its edge picture, traces, edge map and contour picture and the two histograms as
// PNGs, and prints a summary a script can read, one `name<TAB>values` line each.
class InspectCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);

    // At most seven significant digits of the number as single precision, never with an exponent.
    static QString plainNumber(double value);

private:
    struct Options {
        QString image;
        QString outFolder;
        int width = FaceMatchTech::gridSize;
        int height = FaceMatchTech::gridSize;
        int scale = 0; // pixels per grid cell; 0 when not given
    };

    static bool parse(const QStringList& operands, Options& options, QString& problem);
    static bool chooseScale(Options& options, QString& problem);
    static void printSummary(const classImageProcessing& edges, QTextStream& out);
};

} // namespace morvelin
