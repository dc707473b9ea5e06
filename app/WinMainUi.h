// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "app/MainLayout.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <vector>

class QCheckBox;
class QLabel;
class QWidget;

namespace morvelin {

class FA_DriveListBox;
class FaceGallery;
class FlatButton;
class ImageXView;
class ResultListModel;
class ResultListView;

// The main window's controls: made with their looks and object names, and placed by the window's
// resize rules. The window gives them texts and connects them.
class WinMainUi {
public:
    // The labels' old numbers live on in their object names ("Labels4" is the About link).
    static constexpr int aboutLinkNumber = 4;
    static constexpr int updatesLinkNumber = 8;
    static constexpr double winCaptionPoints = 18;
    static constexpr double winSubCaptionPoints = 8.25;

    // Also gives the window its colours and font.
    void setup(QWidget* window, ResultListModel& resultModel);
    // A caption longer than its line gets a smaller font rather than being cut.
    void setWinCaption(const QString& text);
    void setWinSubCaption(const QString& text);
    // Before a face is picked the hint stands where the chosen face will be.
    void showFaceArea(bool picked);
    // One face as picked, filtered and filtered again; several side by side as picked. Takes effect
    // with the next layout.
    void setChosenFaces(const std::vector<QImage>& faces);
    // What a scan window may not cover, on the screen: the Stop button, the captions, the scores.
    QList<QRect> keptInSight() const;
    // `previewTwips` is the result preview's size, empty while it has none; `frame` what the desktop's
    // frame adds to the window's size (the layout rules are written for the outer size).
    void layout(QWidget* window, QSizeF previewTwips, QSize frame);

    QLabel* winCaption = nullptr;
    QLabel* winSubCaption = nullptr;
    QLabel* searchThisFace = nullptr; // Labels0
    QLabel* lookIn = nullptr;         // Labels1
    QLabel* faceHint = nullptr;       // Labels2
    QLabel* status = nullptr;         // Labels3
    QLabel* aboutLink = nullptr;      // Labels4
    QLabel* legalNotice = nullptr;    // Labels6
    QLabel* updatesLink = nullptr;    // Labels8
    QLabel* photoLink = nullptr;      // "Select a photo...", whatever the gallery shows
    QLabel* watchLink = nullptr;      // "Watched folders..."
    FA_DriveListBox* searchPath = nullptr;
    QCheckBox* scanSubDirs = nullptr;
    QCheckBox* compareFeatures = nullptr;
    FlatButton* startSearch = nullptr;
    FlatButton* stopSearch = nullptr;
    FlatButton* chooseImageFile = nullptr;
    QLabel* face2Search = nullptr;
    ImageXView* imgX = nullptr;
    ImageXView* imgX2 = nullptr;
    ImageXView* imgPreview = nullptr;
    FaceGallery* imageList = nullptr;
    ResultListView* fileList = nullptr;
    QLabel* bottomLeft = nullptr;
    QLabel* image1 = nullptr;

private:
    void createLabels(QWidget* window);
    void createLeftColumn(QWidget* window);
    void createLists(QWidget* window, ResultListModel& resultModel);
    static QLabel* addLabel(QWidget* window, int index, bool bold);
    MainLayout::Sizes controlSizes(const MainLayout& layout, QSizeF previewTwips) const;

    int m_chosenFaces = 0;
};

} // namespace morvelin
