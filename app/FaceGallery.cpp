#include "app/FaceGallery.h"

#include <QPixmap>
#include <QStyledItemDelegate>

namespace morvelin {

namespace {

constexpr int ImageIndexRole = Qt::UserRole;

// Thumbnails have no text, so the focus frame of the text below them would be a stray dotted line.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain(option);
        plain.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, plain, index);
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
    // The face chosen shows beside the picker; a highlight here would only tint the thumbnail.
    setSelectionMode(QAbstractItemView::NoSelection);
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
