#include "app/FaceGallery.h"

#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace morvelin {

namespace {

constexpr int ImageIndexRole = Qt::UserRole;

constexpr int selectedFrameWidth = 3;

// Each face drawn as it is, in the middle of its cell; the chosen one framed rather than tinted, as a
// tint would change the face a person has to recognise.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QRect face(0, 0, FaceGallery::thumbnailSize, FaceGallery::thumbnailSize);
        face.moveCenter(option.rect.center());
        index.data(Qt::DecorationRole).value<QIcon>().paint(painter, face);
        if (!option.state.testFlag(QStyle::State_Selected)) {
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
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFrameShape(QFrame::NoFrame);
    setDragEnabled(false);
    setItemDelegate(new ThumbnailDelegate(this));
    setMouseTracking(true);
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit faceClicked(item->data(ImageIndexRole).toInt()); });
}

void FaceGallery::clearFaces()
{
    clear();
    m_imageBox.clear();
}

void FaceGallery::addThumbnail(const QImage& thumbnail)
{
    m_imageBox.push_back(thumbnail);
}

void FaceGallery::showThumbnails()
{
    clear();
    for (std::size_t i = 0; i < m_imageBox.size(); ++i) {
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(m_imageBox[i])), QString(), this);
        item->setData(ImageIndexRole, static_cast<int>(i));
        item->setSizeHint(gridSize());
    }
}

QImage FaceGallery::thumbnail(int index) const
{
    if (index < 0 || index >= thumbnailCount()) {
        return QImage();
    }
    return m_imageBox[static_cast<std::size_t>(index)];
}

} // namespace morvelin
