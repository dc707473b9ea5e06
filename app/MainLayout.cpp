// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/MainLayout.h"

#include "controls/LayoutUnits.h"
#include "search/PictureSizes.h"

#include <QWidget>

#include <algorithm>

namespace morvelin {

namespace {

// Design values, in twips, that the resize rules leave as they are.
constexpr double linkTop = 120;
constexpr double linkHeight = 210;
constexpr double winCaptionTop = 360;
constexpr double winCaptionHeight = 435;
constexpr double winSubCaptionTop = 720;
constexpr double winSubCaptionHeight = 255;
constexpr double captionMinimumWidth = 4575;
constexpr double leftColumnWidth = 3015;
constexpr double labels0Top = 2040;
constexpr double labels1Top = 3240;
constexpr double labels2Top = 2280;
constexpr double labels2Height = 855;
constexpr double labels3Top = 5220;
constexpr double labels3Height = 1335;
constexpr double headingHeight = 240;
constexpr double searchPathTop = 3480;
constexpr double scanSubDirsTop = 3960;
constexpr double scanSubDirsHeight = 285;
// Two lines: the features check box's text does not fit the column's width on one.
constexpr double compareFeaturesTop = 4245;
constexpr double compareFeaturesHeight = 450;
constexpr double buttonTop = 4740;
constexpr double buttonHeight = 375;
constexpr double face2SearchTop = 2280;
constexpr double legalNoticeHeight = 210;
constexpr double image1Left = 1155;
constexpr double image1Top = 360;
constexpr double image1Size = 1440;
// Pixels between controls that a small window brings together.
constexpr double minimumGap = 4;

} // namespace

MainLayout::MainLayout(double twipsPerPixelX, double twipsPerPixelY)
    : m_tx(twipsPerPixelX)
    , m_ty(twipsPerPixelY)
{
}

MainLayout MainLayout::forWidget(const QWidget* widget)
{
    return MainLayout(LayoutUnits::twipsPerPixel(widget->logicalDpiX()),
                      LayoutUnits::twipsPerPixel(widget->logicalDpiY()));
}

QSizeF MainLayout::minimum(const Sizes& sizes) const
{
    const double width = listsLeft() + captionMinimumWidth + listsRightMargin();
    const double belowStatus = labels3Top + labels3Height + twipsY(minimumGap) + sizes.bottomLeftHeight + bottomLeftMargin();
    // The preview at its design size: a tall photo's may still reach up to the button.
    const double belowButton = buttonTop + buttonHeight + twipsY(minimumGap) + Sizes().preview.height() + previewMargin();
    return QSizeF(width, std::max(belowStatus, belowButton));
}

MainLayout::Placement MainLayout::place(QSizeF window, const Sizes& sizes) const
{
    Placement placement;
    placeLists(window, placement);
    placeLeftColumn(sizes, placement);
    placeHeader(window, sizes, placement);

    placement.bottomLeft = QRectF(twipsX(5), window.height() - sizes.bottomLeftHeight - bottomLeftMargin(),
                                  sizes.bottomLeftWidth, sizes.bottomLeftHeight);
    placement.imgPreview = previewRect(sizes.preview, window.height(), placement.searchPath);

    const QRectF& gallery = placement.imageList;
    const double chooseWidth = gallery.width() / 3 * 2;
    const double chooseHeight = sizes.chooseImageFileHeight;
    placement.chooseImageFile = QRectF(gallery.left() + (gallery.width() - chooseWidth) / 2,
                                       gallery.top() + (gallery.height() - chooseHeight) / 2, chooseWidth, chooseHeight);
    return placement;
}

// The result list and the gallery share one rectangle, with the legal notice along its bottom edge.
void MainLayout::placeLists(QSizeF window, Placement& placement) const
{
    const double left = listsLeft();
    const double top = twipsY(125);
    placement.fileList = QRectF(left, top, window.width() - left - listsRightMargin(),
                                (window.height() - twipsY(50)) - top - twipsY(5));
    placement.imageList = placement.fileList;
    const QRectF& gallery = placement.imageList;
    placement.legalNotice =
        QRectF(gallery.left(), gallery.top() + gallery.height() - twipsY(1), gallery.width(), legalNoticeHeight);
}

void MainLayout::placeLeftColumn(const Sizes& sizes, Placement& placement) const
{
    const double left = twipsX(10);
    const double width = placement.fileList.left() - 2 * left;
    placement.searchPath = QRectF(left, searchPathTop, width, sizes.searchPathHeight);
    placement.labels0 = QRectF(left, labels0Top, leftColumnWidth, headingHeight);
    placement.labels1 = QRectF(left, labels1Top, width, headingHeight);
    placement.labels2 = QRectF(left, labels2Top, leftColumnWidth, labels2Height);
    placement.labels3 = QRectF(left, labels3Top, leftColumnWidth, labels3Height);
    placement.scanSubDirs = QRectF(left, scanSubDirsTop, leftColumnWidth, scanSubDirsHeight);
    placement.compareFeatures = QRectF(left, compareFeaturesTop, width, compareFeaturesHeight);

    const QSizeF face(twipsX(PictureSizes::face), twipsY(PictureSizes::face));
    placement.face2Search = facesStrip(QPointF(left, face2SearchTop), width, sizes.chosenFaces);
    placement.imgX = QRectF(QPointF(placement.face2Search.left() + face.width(), face2SearchTop), face);
    placement.imgX2 = QRectF(QPointF(placement.imgX.left() + face.width(), face2SearchTop), face);

    const double buttonWidth = placement.fileList.left() / 2;
    placement.startSearch = QRectF(left + width - buttonWidth, buttonTop, buttonWidth, buttonHeight);
    placement.stopSearch = placement.startSearch;
    placement.image1 = QRectF(image1Left, image1Top, image1Size, image1Size);
}

// Several faces share the column's width, each square and whole pixels wide, at most as large as one.
QRectF MainLayout::facesStrip(QPointF topLeft, double width, int faces) const
{
    const int count = std::max(1, faces);
    const int side = std::min(PictureSizes::face, qRound(width / m_tx) / count);
    return QRectF(topLeft, QSizeF(twipsX(side * count), twipsY(side)));
}

// The captions may run as far as the result area does: the searching subtitle is longer than their
// design width.
void MainLayout::placeHeader(QSizeF window, const Sizes& sizes, Placement& placement) const
{
    const double captionWidth = std::max(captionMinimumWidth, placement.fileList.width());
    placement.winCaption = QRectF(placement.fileList.left(), winCaptionTop, captionWidth, winCaptionHeight);
    placement.winSubCaption = QRectF(placement.fileList.left(), winSubCaptionTop, captionWidth, winSubCaptionHeight);

    const double link4Left = window.width() - sizes.link4Width - twipsX(20);
    placement.link4 = QRectF(link4Left, linkTop, sizes.link4Width, linkHeight);
    placement.link8 = QRectF(link4Left - sizes.link8Width - twipsX(20), linkTop, sizes.link8Width, linkHeight);
    placement.photoLink = QRectF(placement.link8.left() - sizes.photoLinkWidth - twipsX(20), linkTop,
                                 sizes.photoLinkWidth, linkHeight);
    placement.watchLink = QRectF(placement.photoLink.left() - sizes.watchLinkWidth - twipsX(20), linkTop,
                                 sizes.watchLinkWidth, linkHeight);
}

QRectF MainLayout::previewRect(QSizeF preview, double windowHeight, const QRectF& searchPath) const
{
    return QRectF(searchPath.left() + (searchPath.width() - preview.width()) / 2,
                  windowHeight - preview.height() - previewMargin(), preview.width(), preview.height());
}

QRect MainLayout::toPixels(const QRectF& twips) const
{
    // Whole twips first, as the window stores positions, then the nearest pixel.
    const auto px = [](double value, double perPixel) { return qRound(qRound(value) / perPixel); };
    return QRect(px(twips.left(), m_tx), px(twips.top(), m_ty), px(twips.width(), m_tx), px(twips.height(), m_ty));
}

QSizeF MainLayout::toTwips(QSize pixels) const
{
    return QSizeF(pixels.width() * m_tx, pixels.height() * m_ty);
}

} // namespace morvelin
