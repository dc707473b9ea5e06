// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QStyledItemDelegate>

namespace morvelin {

// Draws list entries shifted right by their indentation level, for tree-like drop-down lists.
class IndentedItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    IndentedItemDelegate(int indentRole, int pixelsPerLevel, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int indentOf(const QModelIndex& index) const;

    int m_indentRole;
    int m_pixelsPerLevel;
};

} // namespace morvelin
