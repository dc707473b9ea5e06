// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/SourcePicture.h"

#include <QStringList>
#include <QTextStream>

namespace morvelin {

class VerbArguments;

// `faces PHOTO [--out DIR [--matcher NAME]]`: the faces of a chosen photo in the detector's order, as
// the gallery would show them; --out writes their 48 x 48 thumbnails, and with the features matcher
// (the default where its model can be used) also the aligned 112 x 112 faces that matcher reads.
class FacesCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);
    // The exit status for a chosen photo that could not be read or shows no face, with its message
    // written to `err`; exitOk when it has faces.
    static int checkFound(const SourcePicture::Result& found, QTextStream& err);
    // `--matcher NAME`, one of the registry's names, which the search takes too.
    static void addMatcherOption(VerbArguments& arguments);

private:
    struct Options {
        QString photo;
        QString outFolder;
        QString matcher; // empty: the default
    };

    static bool writePictures(const SourcePicture::Result& found, const Options& options, QTextStream& err);

    static bool parse(const QStringList& operands, Options& options, QString& problem);
};

} // namespace morvelin
