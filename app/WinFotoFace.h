// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "app/MainLayout.h"
#include "search/PhotoScan.h"

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QWidget>

class QLabel;

namespace morvelin {

class FlatButton;

// The small window that shows the scan of a photo: the photo, the face searched for, the face
// just compared with its number and score. It stays when the scan completes, for the next photo.
class WinFotoFace : public QWidget {
    Q_OBJECT

public:
    // The client area, in twips.
    static constexpr double designWidth = 5820;
    static constexpr double designHeight = 4200;

    // sourceFace: the chosen face as the scan compares it (filtered, 48 x 48). `scale` shrinks the
    // window and its texts, not the faces, for a screen too small to show it whole beside the main
    // window's parts it must leave in sight.
    explicit WinFotoFace(const QImage& sourceFace, double scale = 1, QWidget* parent = nullptr);

    // Shows the events of a scan that is about to start or under way, instead of the last one's.
    void Start(PhotoScan* scan);
    // The scan shown has completed (or none was given yet): the window may take the next photo.
    bool isIdle() const { return m_scan.isNull(); }

    // Where the scaled photo is shown, in twips: 1500 twips high for a portrait photo, 2000 twips
    // wide otherwise but never higher than 1500, so that a nearly square photo stays clear of Stop;
    // centred across the window's width, at the design top.
    static QRectF targetPictureRect(QSize photo, double twipsPerPixelX, double twipsPerPixelY, double windowWidth);

    // "Face: 2" and "87%" on two lines; the score is truncated to whole per cent.
    static QString faceTitle(int faceCount, qint64 scoreTenThousandths);

signals:
    void StopSearchClicked();
    void ScanCompleted();

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QLabel* addLabel(const char* name, const QRectF& twips, double pointSize, Qt::Alignment alignment);
    QLabel* addFaceBox(const char* name, const QRectF& twips);
    void showStage(PhotoScan::Stage stage);
    void showPhoto(const QImage& scaledPhoto);
    void showFace(int faceCount, const QImage& face, qint64 scoreTenThousandths);
    void scanCompleted();
    QRect pixels(const QRectF& twips) const;
    // The screen's twips per pixel, grown by the window's scale.
    MainLayout units() const;

    double m_scale;
    QPointer<PhotoScan> m_scan;
    QLabel* m_masterTitle = nullptr;
    QLabel* m_detailedStatus = nullptr;
    QLabel* m_targetPicture = nullptr;
    QLabel* m_sourceFace = nullptr;
    QLabel* m_detectedFace = nullptr;
    QLabel* m_sourceFaceTitle = nullptr;
    QLabel* m_faceDetTitle = nullptr;
    FlatButton* m_stopSearch = nullptr;
};

} // namespace morvelin
