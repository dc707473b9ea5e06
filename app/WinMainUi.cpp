// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/WinMainUi.h"

#include "app/AppIcon.h"
#include "app/FaceGallery.h"
#include "app/ImageXView.h"
#include "app/ResultListView.h"
#include "app/WindowStyle.h"
#include "controls/FA_DriveListBox.h"
#include "controls/FlatButton.h"

#include "search/PictureSizes.h"
#include "search/SourcePicture.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QPalette>

#include <algorithm>

namespace morvelin {

namespace {

constexpr int bottomLeftPixels = 24;

// The faces as picked, each at its own size; the strip's label scales them to the room it has.
QImage sideBySide(const std::vector<QImage>& faces)
{
    if (faces.size() == 1) {
        return faces.front();
    }
    const int side = PictureSizes::face;
    QImage strip(side * int(faces.size()), side, QImage::Format_RGB32);
    strip.fill(Qt::black);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (std::size_t i = 0; i < faces.size(); ++i) {
        painter.drawImage(QRect(side * int(i), 0, side, side), faces[i]);
    }
    return strip;
}

} // namespace

void WinMainUi::setup(QWidget* window, ResultListModel& resultModel)
{
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, WindowStyle::steelBlue());
    window->setPalette(palette);
    window->setFont(WindowStyle::font(QStringLiteral("Sans Serif"), 8.25, false));
    createLabels(window);
    createLeftColumn(window);
    createLists(window, resultModel);
    bottomLeft = new QLabel(window);
    bottomLeft->setObjectName(QStringLiteral("BottomLeft"));
    bottomLeft->setPixmap(WindowStyle::viewfinder(bottomLeftPixels, window->devicePixelRatioF()));
    image1 = new QLabel(window);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(AppIcon().pixmap(QSize(96, 96)));
    image1->setAlignment(Qt::AlignCenter);
}

void WinMainUi::showFaceArea(bool picked)
{
    // The filtered pictures tell one face's story; beside several they would take the strip's room.
    const bool filtersShown = picked && m_chosenFaces == 1;
    faceHint->setVisible(!picked);
    imgX->setVisible(filtersShown);
    imgX2->setVisible(filtersShown);
    face2Search->setVisible(picked);
    searchThisFace->setVisible(picked);
}

void WinMainUi::setChosenFaces(const std::vector<QImage>& faces)
{
    m_chosenFaces = int(faces.size());
    if (faces.empty()) {
        return;
    }
    imgX->imageX().setPicture(SourcePicture::filteredFace(faces.front()));
    imgX->imageX().displayFlag = true;
    imgX2->imageX().setPicture(imgX->imageX().picture());
    imgX2->imageX().secondFilter();
    imgX2->imageX().displayFlag = true;
    imgX->update();
    imgX2->update();
    face2Search->setPixmap(QPixmap::fromImage(sideBySide(faces)));
}

void WinMainUi::setWinCaption(const QString& text)
{
    winCaption->setText(text);
    WindowStyle::fitFont(winCaption, winCaptionPoints);
}

void WinMainUi::setWinSubCaption(const QString& text)
{
    winSubCaption->setText(text);
    WindowStyle::fitFont(winSubCaption, winSubCaptionPoints);
}

void WinMainUi::createLabels(QWidget* window)
{
    winCaption = new QLabel(window);
    winCaption->setObjectName(QStringLiteral("WinCaption"));
    winCaption->setFont(WindowStyle::font(QStringLiteral("Arial"), winCaptionPoints, false));
    WindowStyle::setTextColour(winCaption, Qt::white);
    winSubCaption = new QLabel(window);
    winSubCaption->setObjectName(QStringLiteral("WinSubCaption"));
    winSubCaption->setFont(WindowStyle::font(QStringLiteral("Arial"), winSubCaptionPoints, true));
    WindowStyle::setTextColour(winSubCaption, Qt::white);

    searchThisFace = addLabel(window, 0, true);
    lookIn = addLabel(window, 1, false);
    faceHint = addLabel(window, 2, true);
    status = addLabel(window, 3, false);
    for (QLabel* wrapped : {faceHint, status}) {
        wrapped->setWordWrap(true);
        wrapped->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    aboutLink = addLabel(window, aboutLinkNumber, false);
    updatesLink = addLabel(window, updatesLinkNumber, false);
    photoLink = new QLabel(window);
    photoLink->setObjectName(QStringLiteral("PhotoLink"));
    WindowStyle::setTextColour(photoLink, Qt::white);
    watchLink = new QLabel(window);
    watchLink->setObjectName(QStringLiteral("WatchLink"));
    WindowStyle::setTextColour(watchLink, Qt::white);
    for (QLabel* link : {aboutLink, updatesLink, photoLink, watchLink}) {
        QFont font = WindowStyle::font(QStringLiteral("Arial"), 8.25, false);
        font.setUnderline(true);
        link->setFont(font);
        link->setCursor(Qt::PointingHandCursor);
        link->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    legalNotice = addLabel(window, 6, false);
    legalNotice->setFont(WindowStyle::font(QStringLiteral("Arial"), 7, false));
    legalNotice->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QLabel* WinMainUi::addLabel(QWidget* window, int index, bool bold)
{
    auto* label = new QLabel(window);
    label->setObjectName(QStringLiteral("Labels%1").arg(index));
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    WindowStyle::setTextColour(label, Qt::white);
    return label;
}

void WinMainUi::createLeftColumn(QWidget* window)
{
    searchPath = new FA_DriveListBox(window);
    searchPath->setObjectName(QStringLiteral("SearchPath"));
    scanSubDirs = new QCheckBox(window);
    scanSubDirs->setObjectName(QStringLiteral("ScanSubDirs"));
    compareFeatures = new QCheckBox(window);
    compareFeatures->setObjectName(QStringLiteral("CompareFeatures"));
    for (QCheckBox* box : {scanSubDirs, compareFeatures}) {
        // Only its caption is white: the tick is drawn in the text colour, inside a white box.
        QPalette caption = box->palette();
        caption.setColor(QPalette::WindowText, Qt::white);
        box->setPalette(caption);
    }

    startSearch = new FlatButton(window);
    startSearch->setObjectName(QStringLiteral("StartSearch"));
    stopSearch = new FlatButton(window);
    stopSearch->setObjectName(QStringLiteral("StopSearch"));
    stopSearch->hide();

    face2Search = new QLabel(window);
    face2Search->setObjectName(QStringLiteral("Face2Search"));
    // Five faces fit the column only a little smaller than one.
    face2Search->setScaledContents(true);
    imgX = new ImageXView(window);
    imgX->setObjectName(QStringLiteral("ImgX"));
    imgX2 = new ImageXView(window);
    imgX2->setObjectName(QStringLiteral("ImgX2"));
    imgPreview = new ImageXView(window);
    imgPreview->setObjectName(QStringLiteral("ImgPreview"));
}

void WinMainUi::createLists(QWidget* window, ResultListModel& resultModel)
{
    imageList = new FaceGallery(window);
    imageList->setObjectName(QStringLiteral("ImageList"));
    QPalette gallery = imageList->palette();
    gallery.setColor(QPalette::Base, WindowStyle::steelBlue());
    imageList->setPalette(gallery);

    fileList = new ResultListView(resultModel, window);
    fileList->setObjectName(QStringLiteral("FileList"));
    fileList->hide();

    // Over the gallery, so created after it.
    chooseImageFile = new FlatButton(window);
    chooseImageFile->setObjectName(QStringLiteral("ChooseImageFile"));
}

QList<QRect> WinMainUi::keptInSight() const
{
    const auto onScreen = [](const QWidget* control, const QRect& rect) {
        return QRect(control->mapToGlobal(rect.topLeft()), rect.size());
    };
    const QRect captions = winCaption->geometry().united(winSubCaption->geometry());
    return {onScreen(stopSearch, stopSearch->rect()), onScreen(winCaption->parentWidget(), captions),
            onScreen(fileList, fileList->scoreColumn())};
}

MainLayout::Sizes WinMainUi::controlSizes(const MainLayout& layout, QSizeF previewTwips) const
{
    MainLayout::Sizes sizes;
    // A translation longer than the link's design width widens it rather than being cut.
    const auto linkWidth = [&layout](const QLabel* link, double design) {
        const int text = link->fontMetrics().horizontalAdvance(link->text()) + 4;
        return std::max(design, layout.twipsX(text));
    };
    sizes.link4Width = linkWidth(aboutLink, sizes.link4Width);
    sizes.link8Width = linkWidth(updatesLink, sizes.link8Width);
    sizes.photoLinkWidth = linkWidth(photoLink, sizes.photoLinkWidth);
    sizes.watchLinkWidth = linkWidth(watchLink, sizes.watchLinkWidth);
    sizes.searchPathHeight = layout.twipsY(searchPath->sizeHint().height());
    sizes.bottomLeftWidth = layout.twipsX(bottomLeftPixels);
    sizes.bottomLeftHeight = layout.twipsY(bottomLeftPixels);
    if (!previewTwips.isEmpty()) {
        sizes.preview = previewTwips;
    }
    sizes.chosenFaces = m_chosenFaces;
    return sizes;
}

void WinMainUi::layout(QWidget* window, QSizeF previewTwips, QSize frame)
{
    const MainLayout layout = MainLayout::forWidget(window);
    const QSizeF outer = layout.toTwips(window->size() + frame);
    const MainLayout::Sizes sizes = controlSizes(layout, previewTwips);
    window->setMinimumSize(layout.toPixels(QRectF(QPointF(0, 0), layout.minimum(sizes))).size() - frame);
    const MainLayout::Placement place = layout.place(outer, sizes);
    const auto put = [&layout](QWidget* control, const QRectF& twips) { control->setGeometry(layout.toPixels(twips)); };
    put(fileList, place.fileList);
    put(imageList, place.imageList);
    put(legalNotice, place.legalNotice);
    put(searchPath, place.searchPath);
    put(searchThisFace, place.labels0);
    put(lookIn, place.labels1);
    put(faceHint, place.labels2);
    put(status, place.labels3);
    put(scanSubDirs, place.scanSubDirs);
    put(compareFeatures, place.compareFeatures);
    put(winCaption, place.winCaption);
    put(winSubCaption, place.winSubCaption);
    put(face2Search, place.face2Search);
    put(imgX, place.imgX);
    put(imgX2, place.imgX2);
    put(startSearch, place.startSearch);
    put(stopSearch, place.stopSearch);
    put(bottomLeft, place.bottomLeft);
    put(image1, place.image1);
    put(aboutLink, place.link4);
    put(updatesLink, place.link8);
    put(photoLink, place.photoLink);
    put(watchLink, place.watchLink);
    put(imgPreview, place.imgPreview);
    put(chooseImageFile, place.chooseImageFile);
    WindowStyle::fitFont(winCaption, winCaptionPoints);
    WindowStyle::fitFont(winSubCaption, winSubCaptionPoints);
}

} // namespace morvelin
