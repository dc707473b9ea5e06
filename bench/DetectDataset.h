// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QString>

#include <vector>

namespace morvelin::bench {

// One photo of dlib's image-list files with its hand-marked faces.
struct MarkedPhoto {
    QString path;
    std::vector<QRect> faces;
    std::vector<QRect> ignored; // marked ignore='1': a find there counts neither way
};

// Reads dlib's image-list XML (<image file='...'><box top left width height [ignore='1']/>...).
std::vector<MarkedPhoto> readMarkedPhotos(const QString& xmlPath);

// The test photos' folder: the first argument if given, else the build's own.
QString testPhotosFolder(int argc, char* argv[]);

} // namespace morvelin::bench
