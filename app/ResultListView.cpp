// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/ResultListView.h"

#include "app/ResultListModel.h"
#include "search/PictureSizes.h"
#include "search/ResultList.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

namespace morvelin {

namespace {

const QString ellipsis = QStringLiteral("\u2026");
// The name's column also holds the matched face and the file's icon.
constexpr double defaultNameShare = 4.0 / 7.0;

// The folder column keeps the end of the folder, where the photo lies, rather than its middle.
class FolderDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QStyle* style = option->widget ? option->widget->style() : QApplication::style();
        const int margins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, option->widget) + 1);
        option->text = ResultListView::elidedFolder(option->text, option->fontMetrics, option->rect.width() - margins);
        option->textElideMode = Qt::ElideLeft;
    }
};

// The face that made the photo match stands before its icon and name, as the gallery shows it: which
// of the person's faces matched, and whether it is the person at all, shows at a glance.
class MatchedFaceDelegate : public QStyledItemDelegate {
public:
    static constexpr int margin = 2;
    static constexpr int faceWidth = PictureSizes::face + 2 * margin;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        // The selection's colour runs under the face too.
        QStyleOptionViewItem whole = option;
        initStyleOption(&whole, index);
        const QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &whole, painter, option.widget);

        QStyleOptionViewItem rest = option;
        rest.rect.setLeft(option.rect.left() + faceWidth);
        QStyledItemDelegate::paint(painter, rest, index);

        const QImage face = index.data(ResultList::FaceRole).value<QImage>();
        if (!face.isNull()) {
            const int top = option.rect.top() + (option.rect.height() - PictureSizes::face) / 2;
            painter->drawImage(QRect(option.rect.left() + margin, top, PictureSizes::face, PictureSizes::face), face);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize text = QStyledItemDelegate::sizeHint(option, index);
        return QSize(text.width() + faceWidth, std::max(text.height(), PictureSizes::face + 2 * margin));
    }
};

} // namespace

ResultListView::ResultListView(ResultListModel& model, QWidget* parent)
    : QTreeView(parent)
    , m_model(model)
    , m_nameShare(defaultNameShare)
{
    setModel(&model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setIconSize(QSize(16, 16));
    setTextElideMode(Qt::ElideMiddle);
    setItemDelegateForColumn(ResultList::FileNameColumn, new MatchedFaceDelegate(this));
    setItemDelegateForColumn(ResultList::FolderColumn, new FolderDelegate(this));
    // The list keeps itself best first; a click on a heading must not reorder it.
    setSortingEnabled(false);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    // The score column takes what is left, so the scores line up with the right edge.
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    connect(header(), &QHeaderView::sectionResized, this, &ResultListView::noteDraggedShare);
    connect(this, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit previewRequested(m_model.pathAt(index.row()), m_model.faceBoxAt(index.row()));
        }
    });
}

void ResultListView::resetColumns()
{
    m_nameShare = defaultNameShare;
    fitColumns();
}

void ResultListView::resizeEvent(QResizeEvent* event)
{
    QTreeView::resizeEvent(event);
    fitColumns();
}

void ResultListView::fitColumns()
{
    const int score = scoreWidth();
    // Room for the scroll bar that a long list brings, so that the score is never pushed out of sight.
    const int scrollBar = verticalScrollBar()->isVisible()
        ? 0
        : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    const int available = std::max(0, viewport()->width() - scrollBar - score);
    const int name = qRound(available * m_nameShare);
    m_fitting = true;
    setColumnWidth(ResultList::FileNameColumn, name);
    setColumnWidth(ResultList::FolderColumn, available - name);
    setColumnWidth(ResultList::ScoreColumn, score);
    m_fitting = false;
}

void ResultListView::noteDraggedShare(int column)
{
    if (m_fitting || column == ResultList::ScoreColumn) {
        return;
    }
    const int name = columnWidth(ResultList::FileNameColumn);
    const int both = name + columnWidth(ResultList::FolderColumn);
    if (both > 0) {
        m_nameShare = double(name) / both;
    }
}

// As wide as its heading or the highest score needs, whichever is wider.
int ResultListView::scoreWidth() const
{
    const int margins = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 8;
    const int score = fontMetrics().horizontalAdvance(QStringLiteral("100000")) + margins;
    return std::max(score, header()->sectionSizeHint(ResultList::ScoreColumn));
}

QRect ResultListView::scoreColumn() const
{
    const int left = viewport()->mapTo(this, QPoint(columnViewportPosition(ResultList::ScoreColumn), 0)).x();
    return QRect(QPoint(left, 0), QPoint(width() - 1, height() - 1));
}

QString ResultListView::selectedPath() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isRowSelected(current.row(), QModelIndex())) {
        return m_model.pathAt(current.row());
    }
    return rows.isEmpty() ? QString() : m_model.pathAt(rows.first().row());
}

QString ResultListView::elidedFolder(const QString& folder, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(folder) <= width) {
        return folder;
    }
    // From the last folder backwards, as many whole folders as fit after the ellipsis.
    const QStringList parts = folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.isEmpty()) {
        return folder;
    }
    const QString end = folder.endsWith(QLatin1Char('/')) ? QStringLiteral("/") : QString();
    QString kept = end;
    for (qsizetype i = parts.size() - 1; i >= 0; --i) {
        const QString longer = QLatin1Char('/') + parts[i] + kept;
        if (metrics.horizontalAdvance(ellipsis + longer) > width) {
            break;
        }
        kept = longer;
    }
    // Not even the last folder fits whole: the view cuts it at its start.
    if (kept == end) {
        kept = QLatin1Char('/') + parts.last() + end;
    }
    return ellipsis + kept;
}

void ResultListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    const QString path = selectedPath();
    if (!path.isEmpty()) {
        emit openRequested(path);
    }
}

void ResultListView::keyPressEvent(QKeyEvent* event)
{
    const QString path = selectedPath();
    if ((event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) || path.isEmpty()) {
        QTreeView::keyPressEvent(event);
        return;
    }
    emit openRequested(path);
}

} // namespace morvelin
