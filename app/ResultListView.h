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

    // Name and folder share the width left by the score column (and a scroll bar) two to one, as a
    // new search begins.
    void resetColumns();

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

private:
    ResultListModel& m_model;
};

} // namespace morvelin
