// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>
#include <vector>

class QWidget;

namespace morvelin {

class PhotoScan;
class WinFotoFace;

// The scan windows of a search: one per scan under way, each kept on screen and at its place from
// photo to photo, so that a person can follow the scans and press their Stop. They stand beside the
// main window where there is room, else over it but never over what it must keep in sight (its Stop
// button, its caption, the scores), smaller on a screen too small for them; they go when the search
// is over.
class ScanWindows : public QObject {
    Q_OBJECT

public:
    // The windows' places and the scale of their contents.
    struct Arrangement {
        double scale = 1;
        QList<QRect> places;
    };
    // The smallest scale of a scan window's contents.
    static constexpr double smallestScale = 0.8;

    // keepClear: the main window's parts, on the screen, that no scan window may cover.
    ScanWindows(QWidget* mainWindow, std::function<QList<QRect>()> keepClear);
    ~ScanWindows() override;

    // The scan is shown in a window whose last scan has completed, else in a new one at the next free
    // place; when every place is taken it runs unseen.
    void show(PhotoScan* scan, const QImage& sourceFace);
    // Shows the scan once it loads its photo: a photo the face index answers is never loaded, and
    // gets no window.
    void follow(PhotoScan* scan, const QImage& sourceFace);
    // The search is over.
    void closeAll();

    // Places for windows of outer size `window` on `screen`, best first, none overlapping another or
    // `keepClear`: in columns beside `mainWindow` first, then along the screen's edges and the edges of
    // what must be kept clear, over the main window.
    static QList<QRect> places(const QRect& screen, QSize window, const QRect& mainWindow, const QList<QRect>& keepClear);
    // Full size where `wanted` windows (or at least two) find a place; else smaller, down to
    // smallestScale, the largest scale that places the most. `client` is a window's design client
    // size, `frame` what the desktop adds to it.
    static Arrangement arrange(const QRect& screen, QSize client, QSize frame, const QRect& mainWindow,
                               const QList<QRect>& keepClear, int wanted);

signals:
    void StopSearchClicked();

private:
    WinFotoFace* idleWindow() const;
    WinFotoFace* newWindow(const QImage& sourceFace);
    QList<QRect> keepClearWithMargin() const;

    QWidget* m_mainWindow;
    std::function<QList<QRect>()> m_keepClear;
    // One entry per place handed out in this search; a window the user closed leaves its place empty.
    std::vector<QPointer<WinFotoFace>> m_windows;
    Arrangement m_arrangement;
};

} // namespace morvelin
