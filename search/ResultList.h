// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractTableModel>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

namespace morvelin {

// The photos that matched, one row per photo keyed by its full path, best score first.
class ResultList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { FileNameColumn, FolderColumn, ScoreColumn, ColumnCount };
    enum Role { PathRole = Qt::UserRole, ScoreRole, IconKeyRole, FaceRole, FaceBoxRole };

    struct Row {
        QString path;
        QString name;
        QString folder;
        std::int32_t xscore = 0;
        QString iconKey;
        QImage face;  // the 48 x 48 thumbnail of the face that scored best, unfiltered
        QRect faceBox; // where that face is, in pixels of the photo's own size
    };

    explicit ResultList(QObject* parent = nullptr);

    // One report of a matching face, with its thumbnail and where it is in the photo. A photo reported
    // again keeps one row with its best score and that face; the running count counts every report.
    void NewFile(const QString& xfile, std::int32_t xscore, const QImage& face = QImage(), const QRect& faceBox = QRect());
    void clear();

    int filesFound() const { return m_filesFound; }
    const std::vector<Row>& rows() const { return m_rows; }

    // The lower-case last three characters: photos with the same ending share one icon.
    static QString iconKeyOf(const QString& path);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void filesFoundChanged(int filesFound);

private:
    int rowOfPath(const QString& path) const;
    int insertionRow(std::int32_t xscore) const;
    void insertRow(Row row);

    std::vector<Row> m_rows;
    int m_filesFound = 0;
};

} // namespace morvelin
