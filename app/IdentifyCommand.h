// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/ClassFaceRecogniser.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace morvelin {

// `identify --gallery DIR [--json] IMAGE`: enrols every face picture in DIR under its file name without
// the extension and prints what the recogniser answers for IMAGE: the nearest name and its distance.
class IdentifyCommand {
public:
    static int run(const QStringList& operands, QTextStream& out, QTextStream& err);

private:
    struct Options {
        QString gallery;
        QString image;
        bool json = false;
    };

    static bool parse(const QStringList& operands, Options& options, QString& problem);
    static void print(const ClassFaceRecogniser::Match& match, bool json, QTextStream& out);
    static QStringList galleryPictures(const QString& folder);
};

} // namespace morvelin
