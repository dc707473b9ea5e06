// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QTreeView>

namespace morvelin {

class ResultListModel;

// The result list on screen: one row per photo with the face that matched, its icon, name, folder and
// score. A click previews a photo, a double click or Enter opens the selected one, a drag offers the
// selected ones as files.
class ResultListView : public QTreeView {
    Q_OBJECT

public:
    explicit ResultListView(ResultListModel& model, QWidget* parent = nullptr);

    // As a new search begins, name and folder share the width left by the score column (and a scroll
    // bar) four to three; the share a person drags them to holds until the next search.
    void resetColumns();

    // The score column with the heading above it and the scroll bar beside it, in the view's own
    // coordinates.
    QRect scoreColumn() const;

    // The photo of the current row, or empty.
    QString selectedPath() const;

    // A folder too long for `width` pixels loses its start, whole folders first: "…/holiday/".
    static QString elidedFolder(const QString& folder, const QFontMetrics& metrics, int width);

signals:
    // `faceBox`: where the face that matched is, in the photo's own pixels.
    void previewRequested(const QString& path, const QRect& faceBox);
    void openRequested(const QString& path);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // The columns follow the list's width, so that the score never goes out of sight.
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitColumns();
    void noteDraggedShare(int column);
    int scoreWidth() const;

    ResultListModel& m_model;
    double m_nameShare;
    bool m_fitting = false;
};

} // namespace morvelin
