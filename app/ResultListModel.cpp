// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/ResultListModel.h"

#include "app/Helpers.h"
#include "app/Translate.h"
#include "search/ResultList.h"

#include <QLabel>
#include <QDir>
#include <QMimeData>
#include <QUrl>

#include <set>

namespace morvelin {

ResultListModel::ResultListModel(ResultList& results, QObject* parent)
    : QIdentityProxyModel(parent)
    , m_results(results)
    , m_iconPic(std::make_unique<QLabel>())
{
    setSourceModel(&results);
    connect(&results, &ResultList::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { storeIcons(first, last); });
}

ResultListModel::~ResultListModel() = default;

QVariant ResultListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const QVariant english = QIdentityProxyModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole || !english.isValid()) {
        return english;
    }
    return Translate(english.toString());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::DecorationRole && index.column() == ResultList::FileNameColumn) {
        const QString key = QIdentityProxyModel::data(index, ResultList::IconKeyRole).toString();
        const auto icon = m_fileIcons.constFind(key);
        return icon == m_fileIcons.cend() ? QVariant() : QVariant(*icon);
    }
    // The columns show as much of a long name as fits; the whole path is a hover away.
    if (role == Qt::ToolTipRole && index.column() != ResultList::ScoreColumn) {
        return QDir::toNativeSeparators(pathAt(index.row()));
    }
    if (role == Qt::TextAlignmentRole && index.column() == ResultList::ScoreColumn) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    return QIdentityProxyModel::data(index, role);
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags flags = QIdentityProxyModel::flags(index);
    return index.isValid() ? flags | Qt::ItemIsDragEnabled | Qt::ItemIsSelectable | Qt::ItemIsEnabled : flags;
}

QStringList ResultListModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};
}

QMimeData* ResultListModel::mimeData(const QModelIndexList& indexes) const
{
    std::set<int> rows;
    for (const QModelIndex& index : indexes) {
        if (index.isValid()) {
            rows.insert(index.row());
        }
    }
    QList<QUrl> files;
    QString text;
    for (const int row : rows) {
        const QString path = pathAt(row);
        files.append(QUrl::fromLocalFile(path));
        text += path + QLatin1Char('|');
    }
    auto* data = new QMimeData;
    data->setUrls(files);
    data->setText(text);
    return data;
}

QString ResultListModel::pathAt(int row) const
{
    return QIdentityProxyModel::data(index(row, ResultList::FileNameColumn), ResultList::PathRole).toString();
}

QRect ResultListModel::faceBoxAt(int row) const
{
    return QIdentityProxyModel::data(index(row, ResultList::FileNameColumn), ResultList::FaceBoxRole).toRect();
}

void ResultListModel::storeIcons(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        const QString path = pathAt(row);
        const QString key = ResultList::iconKeyOf(path);
        if (m_fileIcons.contains(key)) {
            continue;
        }
        DrawFileIcon(path, m_iconPic.get(), true);
        m_fileIcons.insert(key, m_iconPic->pixmap());
        const QModelIndex cell = index(row, ResultList::FileNameColumn);
        emit dataChanged(cell, cell, {Qt::DecorationRole});
    }
}

} // namespace morvelin
