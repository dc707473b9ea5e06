// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceQuery.h"
#include "search/GridMatcher.h"

#include <QImage>

#include <memory>

// A search for one face compared by the grid, the face given as the picture the grid reads; plain
// grey unless given.
inline std::shared_ptr<const morvelin::FaceQuery> gridQuery(const QImage& picture = QImage())
{
    morvelin::FoundFace face;
    face.picture = picture;
    if (face.picture.isNull()) {
        face.picture = QImage(48, 48, QImage::Format_RGB32);
        face.picture.fill(qRgb(128, 128, 128));
    }
    return morvelin::FaceQuery::of(std::make_unique<morvelin::GridMatcher>(), {face});
}
