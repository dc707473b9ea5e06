#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <vector>

class QWidget;

namespace morvelin {

class PhotoScan;
class WinFotoFace;

// The scan windows of a search: one per scan under way, each kept on screen and at its place from
// photo to photo, so that a person can follow the scans and press their Stop. They stand beside the
// main window where there is room and never over its Stop button; they go when the search is over.
class ScanWindows : public QObject {
    Q_OBJECT

public:
    // keepClear: the main window's control that no scan window may cover.
    ScanWindows(QWidget* mainWindow, QWidget* keepClear);
    ~ScanWindows() override;

    // The scan is shown in a window whose last scan has completed, else in a new one at the next free
    // place; when every place is taken it runs unseen.
    void show(PhotoScan* scan, const QImage& sourceFace);
    // Shows the scan once it loads its photo: a photo the face index answers is never loaded, and
    // gets no window.
    void follow(PhotoScan* scan, const QImage& sourceFace);
    // The search is over.
    void closeAll();
    int windowCount() const;

    // Places for windows of outer size `window` on `screen`, best first, none overlapping another or
    // `keepClear`: in columns beside `mainWindow` first, then along the screen's edges over it.
    static QList<QRect> places(const QRect& screen, QSize window, const QRect& mainWindow, const QRect& keepClear);

signals:
    void StopSearchClicked();

private:
    WinFotoFace* idleWindow() const;
    WinFotoFace* newWindow(const QImage& sourceFace);
    QRect keepClearOnScreen() const;

    QWidget* m_mainWindow;
    QPointer<QWidget> m_keepClear;
    // One entry per place handed out in this search; a window the user closed leaves its place empty.
    std::vector<QPointer<WinFotoFace>> m_windows;
    QList<QRect> m_places;
};

} // namespace morvelin
