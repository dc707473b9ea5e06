#include "app/ResultListView.h"

#include "app/ResultListModel.h"
#include "search/ResultList.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

namespace morvelin {

ResultListView::ResultListView(ResultListModel& model, QWidget* parent)
    : QTreeView(parent)
    , m_model(model)
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
    // The list keeps itself best first; a click on a heading must not reorder it.
    setSortingEnabled(false);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    setDefaultDropAction(Qt::CopyAction);
    // The score column takes what is left, so the scores line up with the right edge.
    header()->setStretchLastSection(true);
    header()->setSectionsMovable(false);
    connect(this, &QTreeView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            emit previewRequested(m_model.pathAt(index.row()));
        }
    });
}

void ResultListView::resetColumns()
{
    const int scoreWidth = header()->defaultSectionSize();
    // Room for the scroll bar that a long list brings, so that the score is never pushed out of sight.
    const int scrollBar = verticalScrollBar()->isVisible()
        ? 0
        : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    const int available = std::max(0, viewport()->width() - scrollBar - scoreWidth);
    setColumnWidth(ResultList::FileNameColumn, available * 2 / 3);
    setColumnWidth(ResultList::FolderColumn, available - available * 2 / 3);
    setColumnWidth(ResultList::ScoreColumn, scoreWidth);
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

void ResultListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    const QString path = selectedPath();
    if (!path.isEmpty()) {
        emit openRequested(path);
    }
}

} // namespace morvelin
