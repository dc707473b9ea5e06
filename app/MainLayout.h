// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QRect>
#include <QRectF>
#include <QSizeF>

class QWidget;

namespace morvelin {

// Where the main window's controls go, in twips, for a window of a given outer size: the window's
// own resize rules. Kept apart from the widgets so the arithmetic can be checked on its own.
class MainLayout {
public:
    // The client area the window opens with.
    static constexpr double designClientWidth = 10965;
    static constexpr double designClientHeight = 8190;

    // What the layout takes from the controls themselves, in twips.
    struct Sizes {
        double link4Width = 495;  // "About"
        double link8Width = 1365; // "Check for updates"
        double photoLinkWidth = 1335; // "Select a photo..."
        double watchLinkWidth = 1530; // "Watched folders..."
        double searchPathHeight = 330;
        double chooseImageFileHeight = 450;
        double bottomLeftWidth = 360;
        double bottomLeftHeight = 360;
        QSizeF preview{1725, 1725};
        int chosenFaces = 1; // side by side in the "Search this face:" strip
    };

    struct Placement {
        QRectF fileList;
        QRectF imageList;
        QRectF legalNotice; // Labels 6
        QRectF searchPath;
        QRectF scanSubDirs;
        QRectF compareFeatures;
        QRectF winCaption;
        QRectF winSubCaption;
        QRectF labels0;
        QRectF labels1;
        QRectF labels2;
        QRectF labels3;
        QRectF link4;
        QRectF link8;
        QRectF photoLink;
        QRectF watchLink;
        QRectF face2Search;
        QRectF imgX;
        QRectF imgX2;
        QRectF startSearch;
        QRectF stopSearch;
        QRectF bottomLeft;
        QRectF image1;
        QRectF imgPreview;
        QRectF chooseImageFile;
    };

    MainLayout(double twipsPerPixelX, double twipsPerPixelY);

    // The screen's twips per pixel: 1440 / its logical dots per inch (15 at 96 dpi).
    static MainLayout forWidget(const QWidget* widget);

    double twipsPerPixelX() const { return m_tx; }
    double twipsPerPixelY() const { return m_ty; }

    // The smallest outer size, in twips, at which the left column's controls keep apart from the
    // icon and the preview below them, and the captions fit above the lists.
    QSizeF minimum(const Sizes& sizes) const;

    Placement place(QSizeF window, const Sizes& sizes) const;

    // The result preview: centred under the folder picker, its bottom 60 pixels above the window's.
    QRectF previewRect(QSizeF preview, double windowHeight, const QRectF& searchPath) const;

    QRect toPixels(const QRectF& twips) const;
    QSizeF toTwips(QSize pixels) const;
    // Twips for a length in pixels.
    double twipsX(double pixels) const { return pixels * m_tx; }
    double twipsY(double pixels) const { return pixels * m_ty; }

private:
    // The lists' distance from the window's left edge and right edge, the icon's and the preview's
    // from its bottom edge.
    double listsLeft() const { return twipsX(250); }
    double listsRightMargin() const { return twipsX(30); }
    double bottomLeftMargin() const { return twipsY(35); }
    double previewMargin() const { return twipsY(60); }

    void placeLists(QSizeF window, Placement& placement) const;
    void placeLeftColumn(const Sizes& sizes, Placement& placement) const;
    void placeHeader(QSizeF window, const Sizes& sizes, Placement& placement) const;
    QRectF facesStrip(QPointF topLeft, double width, int faces) const;

    double m_tx;
    double m_ty;
};

} // namespace morvelin
