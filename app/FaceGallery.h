// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "app/ChosenFace.h"
#include "search/PictureSizes.h"
#include "search/SourcePicture.h"

#include <QImage>
#include <QListWidget>

#include <memory>
#include <vector>

namespace morvelin {

// The faces to choose from, as 48 x 48 thumbnails: those of the last source picture in the order the
// detector reported them, after the faces still chosen from earlier ones. Thumbnails are collected
// while the detection runs and shown together when it is done; every chosen face wears a white frame.
class FaceGallery : public QListWidget {
    Q_OBJECT

public:
    static constexpr int thumbnailSize = PictureSizes::face;

    // What ChosenFace needs to read the face: its picture and the detector's findings, shared by the
    // faces of one source picture.
    struct Face {
        ChosenFace::Key key;
        QImage thumbnail;
        std::shared_ptr<const SourcePicture::Result> found;
    };

    explicit FaceGallery(QWidget* parent = nullptr);

    // A new source picture is on its way: only the chosen faces stay.
    void keepOnly(const std::vector<ChosenFace::Key>& chosen);
    void addThumbnail(const QImage& thumbnail);
    // The thumbnails collected since keepOnly join the gallery as the faces `found` in their picture.
    void showThumbnails(int acquisition, const std::shared_ptr<const SourcePicture::Result>& found);
    void markChosen(const std::vector<ChosenFace::Key>& chosen);

    // Null beyond the last row.
    const Face* face(int row) const;
    QImage thumbnail(int row) const;
    bool isMarked(int row) const;

signals:
    // `adding`: the click held Ctrl, to add the face to those chosen or take it back.
    void faceClicked(int row, bool adding);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The arrows move among the faces; Enter or Space chooses the face under the focus frame as a click
    // would, with Ctrl adding it.
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void showFaces();

    std::vector<Face> m_faces;
    std::vector<QImage> m_collected;
    std::vector<ChosenFace::Key> m_chosen;
    int m_pressedRow = -1;
};

} // namespace morvelin
