// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/FaceGallery.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

namespace morvelin {

namespace {

constexpr int ChosenRole = Qt::UserRole;

constexpr int selectedFrameWidth = 3;
constexpr int focusFrameWidth = 2;

bool holds(const std::vector<ChosenFace::Key>& keys, const ChosenFace::Key& key)
{
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

// Each face drawn as it is, in the middle of its cell; the chosen ones framed rather than tinted, as a
// tint would change the face a person has to recognise.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QRect face(0, 0, FaceGallery::thumbnailSize, FaceGallery::thumbnailSize);
        face.moveCenter(option.rect.center());
        index.data(Qt::DecorationRole).value<QIcon>().paint(painter, face);
        if (option.state.testFlag(QStyle::State_HasFocus)) {
            paintFocusFrame(painter, option);
        }
        if (!index.data(ChosenRole).toBool()) {
            return;
        }
        const int gap = 1;
        const QRect frame = face.adjusted(-gap - selectedFrameWidth, -gap - selectedFrameWidth, gap + selectedFrameWidth,
                                          gap + selectedFrameWidth);
        painter->save();
        painter->setPen(Qt::NoPen);
        painter->setBrush(Qt::white);
        painter->drawRect(QRect(frame.left(), frame.top(), frame.width(), selectedFrameWidth));
        painter->drawRect(QRect(frame.left(), frame.bottom() - selectedFrameWidth + 1, frame.width(), selectedFrameWidth));
        painter->drawRect(QRect(frame.left(), frame.top(), selectedFrameWidth, frame.height()));
        painter->drawRect(QRect(frame.right() - selectedFrameWidth + 1, frame.top(), selectedFrameWidth, frame.height()));
        painter->restore();
    }

private:
    // Around the whole cell, outside the chosen face's white frame, in the desktop's highlight colour.
    static void paintFocusFrame(QPainter* painter, const QStyleOptionViewItem& option)
    {
        painter->save();
        QPen pen(option.palette.color(QPalette::Highlight), focusFrameWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        const int inset = focusFrameWidth / 2;
        painter->drawRect(option.rect.adjusted(inset, inset, -inset - 1, -inset - 1));
        painter->restore();
    }
};

} // namespace

FaceGallery::FaceGallery(QWidget* parent)
    : QListWidget(parent)
{
    setViewMode(QListView::IconMode);
    setIconSize(QSize(thumbnailSize, thumbnailSize));
    setGridSize(QSize(thumbnailSize + 16, thumbnailSize + 16));
    setMovement(QListView::Static);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setSpacing(4);
    // The chosen faces are ChosenFace's to tell; the view's own selection would follow every click.
    setSelectionMode(QAbstractItemView::NoSelection);
    setFrameShape(QFrame::NoFrame);
    setDragEnabled(false);
    setItemDelegate(new ThumbnailDelegate(this));
    setMouseTracking(true);
}

void FaceGallery::keepOnly(const std::vector<ChosenFace::Key>& chosen)
{
    std::erase_if(m_faces, [&chosen](const Face& face) { return !holds(chosen, face.key); });
    m_collected.clear();
    m_chosen = chosen;
    showFaces();
}

void FaceGallery::addThumbnail(const QImage& thumbnail)
{
    m_collected.push_back(thumbnail);
}

void FaceGallery::showThumbnails(int acquisition, const std::shared_ptr<const SourcePicture::Result>& found)
{
    for (std::size_t i = 0; i < m_collected.size(); ++i) {
        m_faces.push_back({{acquisition, static_cast<int>(i)}, m_collected[i], found});
    }
    m_collected.clear();
    showFaces();
}

void FaceGallery::showFaces()
{
    // A press on an item that is gone must not become a click on the face now in its place.
    m_pressedRow = -1;
    clear();
    for (const Face& face : m_faces) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(face.thumbnail)), QString(), this);
        item->setSizeHint(gridSize());
    }
    markChosen(m_chosen);
}

void FaceGallery::markChosen(const std::vector<ChosenFace::Key>& chosen)
{
    m_chosen = chosen;
    for (int row = 0; row < count(); ++row) {
        item(row)->setData(ChosenRole, holds(chosen, m_faces[static_cast<std::size_t>(row)].key));
    }
}

const FaceGallery::Face* FaceGallery::face(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_faces.size())) {
        return nullptr;
    }
    return &m_faces[static_cast<std::size_t>(row)];
}

QImage FaceGallery::thumbnail(int row) const
{
    const Face* found = face(row);
    return found ? found->thumbnail : QImage();
}

bool FaceGallery::isMarked(int row) const
{
    const QListWidgetItem* shown = item(row);
    return shown != nullptr && shown->data(ChosenRole).toBool();
}

// Read from the events themselves rather than from the keyboard's and pointer's state when the click is
// handled: a click another program sends, or one without a move before it, carries its own.
void FaceGallery::mousePressEvent(QMouseEvent* event)
{
    QListWidget::mousePressEvent(event);
    const QModelIndex pressed = indexAt(event->position().toPoint());
    m_pressedRow = event->button() == Qt::LeftButton && pressed.isValid() ? pressed.row() : -1;
}

void FaceGallery::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    const int pressed = std::exchange(m_pressedRow, -1);
    const QModelIndex released = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || pressed < 0 || !released.isValid() || released.row() != pressed) {
        return;
    }
    emit faceClicked(pressed, event->modifiers().testFlag(Qt::ControlModifier));
}

void FaceGallery::keyPressEvent(QKeyEvent* event)
{
    const bool choose = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    if (!choose || !currentIndex().isValid()) {
        QListWidget::keyPressEvent(event);
        return;
    }
    emit faceClicked(currentIndex().row(), event->modifiers().testFlag(Qt::ControlModifier));
}

// Tabbing into the gallery puts the frame on its first face, so the arrows have somewhere to start.
void FaceGallery::focusInEvent(QFocusEvent* event)
{
    QListWidget::focusInEvent(event);
    if (!currentIndex().isValid() && count() > 0) {
        setCurrentRow(0, QItemSelectionModel::NoUpdate);
    }
}

} // namespace morvelin
