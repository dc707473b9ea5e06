// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QHash>
#include <QIdentityProxyModel>
#include <QPixmap>
#include <QRect>
#include <QStringList>

#include <memory>

class QLabel;

namespace morvelin {

class ResultList;

// The result list as the main window shows it: translated headings, a file icon per photo, and rows
// that can be dragged out as files.
class ResultListModel : public QIdentityProxyModel {
    Q_OBJECT

public:
    explicit ResultListModel(ResultList& results, QObject* parent = nullptr);
    ~ResultListModel() override;

    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    QStringList mimeTypes() const override;
    // The photos of the rows among `indexes`, top to bottom: as files, and as a text of the paths each
    // followed by "|".
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

    QString pathAt(int row) const;
    // Where the face that matched is in the photo, in the photo's own pixels; empty when not known.
    QRect faceBoxAt(int row) const;
    // Endings seen so far, each with the icon of the first photo reported with it.
    const QHash<QString, QPixmap>& FileIcons() const { return m_fileIcons; }

private:
    void storeIcons(int first, int last);

    ResultList& m_results;
    // Photos whose icon the desktop cannot tell get the last icon drawn rather than none.
    std::unique_ptr<QLabel> m_iconPic;
    QHash<QString, QPixmap> m_fileIcons;
};

} // namespace morvelin
