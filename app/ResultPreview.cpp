// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/ResultPreview.h"

#include "app/ImageXView.h"
#include "app/MainLayout.h"
#include "base/BackgroundWork.h"
#include "search/ImageX.h"

#include <QWidget>

#include <algorithm>
#include <utility>

namespace morvelin {

namespace {

constexpr int decodeFactor = 2;

// The photo is decoded smaller than it is: the box shrinks with it.
QRect boxIn(const QImage& picture, QSize photoSize, const QRect& box)
{
    const double x = double(picture.width()) / photoSize.width();
    const double y = double(picture.height()) / photoSize.height();
    return QRectF(box.left() * x, box.top() * y, box.width() * x, box.height() * y).toRect();
}

} // namespace

ResultPreview::ResultPreview(ImageXView* view, QWidget* picker, QWidget* window)
    : QObject(window)
    , m_view(view)
    , m_picker(picker)
    , m_window(window)
{
}

void ResultPreview::hide()
{
    m_view->hide();
}

void ResultPreview::show(const QString& path, const QRect& faceBox)
{
    ++m_sequence;
    m_wanted = path;
    m_wantedBox = faceBox;
    // One decode at a time: clicking down a long list must not start one per row. The decode under
    // way starts the latest request when it ends.
    if (!m_decoding) {
        decodeWanted();
    }
}

void ResultPreview::decodeWanted()
{
    m_decoding = true;
    const int sequence = m_sequence;
    const QString path = m_wanted;
    const int decodeWidth = std::max(1, m_picker->width() * decodeFactor);
    const auto decode = [path, decodeWidth] {
        ImageX image;
        if (!image.load(path)) {
            return std::pair<QImage, QSize>();
        }
        const QSize photoSize(image.width(), image.height());
        if (image.width() > decodeWidth) {
            image.resize(decodeWidth, 0);
        }
        return std::pair<QImage, QSize>(image.picture(), photoSize);
    };
    // The user waits for it: it goes ahead of the scans a search has waiting.
    const auto done = [this, sequence](const std::pair<QImage, QSize>& preview) {
        m_decoding = false;
        place(sequence, preview.first, preview.second);
        if (sequence != m_sequence) {
            decodeWanted();
        }
    };
    BackgroundWork::run(this, decode, done, BackgroundWork::Turn::First);
}

void ResultPreview::place(int sequence, const QImage& picture, QSize photoSize)
{
    // A later click wins; an unreadable photo leaves the preview as it was.
    if (sequence != m_sequence || picture.isNull() || photoSize.isEmpty()) {
        return;
    }
    const MainLayout layout = MainLayout::forWidget(m_window);
    const QRectF picker = QRectF(layout.twipsX(m_picker->x()), layout.twipsY(m_picker->y()),
                                 layout.twipsX(m_picker->width()), layout.twipsY(m_picker->height()));
    const double width = photoSize.width() > photoSize.height() ? picker.width() / 2 : picker.width() / 3;
    // The control keeps the photo's proportions.
    const double previewHeight = layout.twipsY(layout.toPixels(QRectF(0, 0, width, 0)).width()
                                               * double(photoSize.height()) / photoSize.width());
    m_twips = QSizeF(width, previewHeight);
    const QSize frame = m_window->isVisible() ? m_window->frameGeometry().size() - m_window->size() : QSize(0, 0);
    const double windowHeight = layout.twipsY(m_window->height() + frame.height());
    m_view->setGeometry(layout.toPixels(layout.previewRect(m_twips, windowHeight, picker)));
    m_view->imageX().setPicture(picture);
    m_view->imageX().displayFlag = true;
    m_view->setMark(boxIn(picture, photoSize, m_wantedBox));
    m_view->show();
    m_view->update();
}

} // namespace morvelin
