// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/ResultList.h"

#include "base/Folders.h"

namespace morvelin {

ResultList::ResultList(QObject* parent)
    : QAbstractTableModel(parent)
{
}

QString ResultList::iconKeyOf(const QString& path)
{
    return path.right(3).toLower();
}

void ResultList::NewFile(const QString& xfile, std::int32_t xscore, const QImage& face, const QRect& faceBox)
{
    ++m_filesFound;
    emit filesFoundChanged(m_filesFound);

    const int existing = rowOfPath(xfile);
    if (existing >= 0) {
        if (m_rows[existing].xscore >= xscore) {
            return;
        }
        beginRemoveRows(QModelIndex(), existing, existing);
        m_rows.erase(m_rows.begin() + existing);
        endRemoveRows();
    }
    insertRow({xfile, NameOfPath(xfile), FolderOfPath(xfile), xscore, iconKeyOf(xfile), face, faceBox});
}

void ResultList::clear()
{
    beginResetModel();
    m_rows.clear();
    m_filesFound = 0;
    endResetModel();
    emit filesFoundChanged(0);
}

int ResultList::rowOfPath(const QString& path) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].path == path) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int ResultList::insertionRow(std::int32_t xscore) const
{
    // After every row with the same score or better: equal scores keep the order they came in.
    int row = 0;
    while (row < static_cast<int>(m_rows.size()) && m_rows[row].xscore >= xscore) {
        ++row;
    }
    return row;
}

void ResultList::insertRow(Row row)
{
    const int at = insertionRow(row.xscore);
    beginInsertRows(QModelIndex(), at, at);
    m_rows.insert(m_rows.begin() + at, std::move(row));
    endInsertRows();
}

int ResultList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ResultList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ResultList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size())) {
        return QVariant();
    }
    const Row& row = m_rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == FileNameColumn) {
            return row.name;
        }
        if (index.column() == FolderColumn) {
            return row.folder;
        }
        return QString::number(row.xscore);
    case PathRole:
        return row.path;
    case ScoreRole:
        return row.xscore;
    case IconKeyRole:
        return row.iconKey;
    case FaceRole:
        return row.face;
    case FaceBoxRole:
        return row.faceBox;
    default:
        return QVariant();
    }
}

QVariant ResultList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QVariant();
    }
    switch (section) {
    case FileNameColumn:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Filename"));
    case FolderColumn:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "In Folder"));
    case ScoreColumn:
        return QString::fromUtf8(QT_TRANSLATE_NOOP("Morvelin", "Score"));
    default:
        return QVariant();
    }
}

} // namespace morvelin
