// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/IndentedItemDelegate.h"

namespace morvelin {

IndentedItemDelegate::IndentedItemDelegate(int indentRole, int pixelsPerLevel, QObject* parent)
    : QStyledItemDelegate(parent)
    , m_indentRole(indentRole)
    , m_pixelsPerLevel(pixelsPerLevel)
{
}

int IndentedItemDelegate::indentOf(const QModelIndex& index) const
{
    return qMax(0, index.data(m_indentRole).toInt()) * m_pixelsPerLevel;
}

void IndentedItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    QStyleOptionViewItem shifted(option);
    shifted.rect.setLeft(option.rect.left() + indentOf(index));
    QStyledItemDelegate::paint(painter, shifted, index);
}

QSize IndentedItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QStyledItemDelegate::sizeHint(option, index) + QSize(indentOf(index), 0);
}

} // namespace morvelin
