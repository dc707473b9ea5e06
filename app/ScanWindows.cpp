// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/ScanWindows.h"

#include "app/MainLayout.h"
#include "app/WinFotoFace.h"
#include "search/PhotoScan.h"

#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace morvelin {

namespace {

// Room around what is kept clear, so that a window edge never touches it.
constexpr int keepClearMargin = 8;
// A screen too small for two windows beside and over the main window shows them smaller, in steps.
constexpr int scaleStepsPerWhole = 10;

// Left edges packed outward from the main window's right, then from its left.
QList<int> besideColumns(const QRect& screen, int width, const QRect& mainWindow)
{
    QList<int> columns;
    for (int x = mainWindow.right() + 1; x + width - 1 <= screen.right(); x += width) {
        columns.append(x);
    }
    for (int x = mainWindow.left() - width; x >= screen.left(); x -= width) {
        columns.append(x);
    }
    return columns;
}

// Over the main window: along the screen's edges, then against each side of what is kept clear.
QList<int> overColumns(const QRect& screen, int width, const QList<QRect>& keepClear)
{
    QList<int> columns{screen.right() + 1 - width, screen.left()};
    for (const QRect& kept : keepClear) {
        columns.append(kept.left() - width);
        columns.append(kept.right() + 1);
    }
    return columns;
}

// Top edges stacked down from `top` as far as the screen goes.
void appendRowsFrom(int top, const QRect& screen, int height, QList<int>& rows)
{
    for (int y = top; y + height - 1 <= screen.bottom(); y += height) {
        rows.append(y);
    }
}

// From the screen's top, then stacked below each part kept clear, then above it and at the bottom.
QList<int> overRows(const QRect& screen, int height, const QList<QRect>& keepClear)
{
    QList<int> rows;
    appendRowsFrom(screen.top(), screen, height, rows);
    for (const QRect& kept : keepClear) {
        appendRowsFrom(kept.bottom() + 1, screen, height, rows);
        rows.append(kept.top() - height);
    }
    rows.append(screen.bottom() + 1 - height);
    return rows;
}

} // namespace

ScanWindows::ScanWindows(QWidget* mainWindow, std::function<QList<QRect>()> keepClear)
    : QObject(mainWindow)
    , m_mainWindow(mainWindow)
    , m_keepClear(std::move(keepClear))
{
}

ScanWindows::~ScanWindows()
{
    closeAll();
}

QList<QRect> ScanWindows::places(const QRect& screen, QSize window, const QRect& mainWindow, const QList<QRect>& keepClear)
{
    QList<QRect> chosen;
    if (window.isEmpty()) {
        return chosen;
    }
    const auto take = [&](int x, int y) {
        const QRect place(QPoint(x, y), window);
        const auto overlaps = [&place](const QRect& other) { return other.intersects(place); };
        if (screen.contains(place) && std::none_of(keepClear.cbegin(), keepClear.cend(), overlaps)
            && std::none_of(chosen.cbegin(), chosen.cend(), overlaps)) {
            chosen.append(place);
        }
    };
    QList<int> besideRows;
    appendRowsFrom(screen.top(), screen, window.height(), besideRows);
    for (const int x : besideColumns(screen, window.width(), mainWindow)) {
        for (const int y : besideRows) {
            take(x, y);
        }
    }
    const QList<int> rows = overRows(screen, window.height(), keepClear);
    for (const int x : overColumns(screen, window.width(), keepClear)) {
        for (const int y : rows) {
            take(x, y);
        }
    }
    return chosen;
}

ScanWindows::Arrangement ScanWindows::arrange(const QRect& screen, QSize client, QSize frame, const QRect& mainWindow,
                                              const QList<QRect>& keepClear, int wanted)
{
    const int enough = std::clamp(wanted, 1, 2);
    Arrangement best;
    const int smallest = qRound(smallestScale * scaleStepsPerWhole);
    for (int steps = scaleStepsPerWhole; steps >= smallest; --steps) {
        const double scale = double(steps) / scaleStepsPerWhole;
        const QSize window = QSize(qRound(client.width() * scale), qRound(client.height() * scale)) + frame;
        const QList<QRect> found = places(screen, window, mainWindow, keepClear);
        if (found.size() >= enough) {
            return Arrangement{scale, found};
        }
        if (found.size() > best.places.size()) {
            best = Arrangement{scale, found};
        }
    }
    return best;
}

void ScanWindows::follow(PhotoScan* scan, const QImage& sourceFace)
{
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(scan, &PhotoScan::stageChanged, this, [this, scan, sourceFace, connection](PhotoScan::Stage stage) {
        QObject::disconnect(*connection);
        if (stage == PhotoScan::Stage::Loading) {
            show(scan, sourceFace);
        }
    });
}

void ScanWindows::show(PhotoScan* scan, const QImage& sourceFace)
{
    WinFotoFace* window = idleWindow();
    if (window == nullptr) {
        window = newWindow(sourceFace);
    }
    if (window != nullptr) {
        window->Start(scan);
    }
}

void ScanWindows::closeAll()
{
    for (const QPointer<WinFotoFace>& window : m_windows) {
        if (window) {
            window->close();
        }
    }
    m_windows.clear();
    m_arrangement = Arrangement();
}

WinFotoFace* ScanWindows::idleWindow() const
{
    for (const QPointer<WinFotoFace>& window : m_windows) {
        if (window && window->isIdle()) {
            return window;
        }
    }
    return nullptr;
}

WinFotoFace* ScanWindows::newWindow(const QImage& sourceFace)
{
    if (m_windows.empty()) {
        // The desktop frames a scan window as it framed the main window.
        const QSize frame = m_mainWindow->frameGeometry().size() - m_mainWindow->geometry().size();
        const QSize client = MainLayout::forWidget(m_mainWindow)
                                 .toPixels(QRectF(0, 0, WinFotoFace::designWidth, WinFotoFace::designHeight))
                                 .size();
        const QScreen* screen = m_mainWindow->screen() ? m_mainWindow->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect();
        m_arrangement = arrange(area, client, frame, m_mainWindow->frameGeometry(), keepClearWithMargin(),
                                QThread::idealThreadCount());
    }
    const auto place = static_cast<qsizetype>(m_windows.size());
    if (place >= m_arrangement.places.size()) {
        return nullptr;
    }
    auto* window = new WinFotoFace(sourceFace, m_arrangement.scale);
    m_windows.emplace_back(window);
    window->move(m_arrangement.places[place].topLeft());
    connect(window, &WinFotoFace::StopSearchClicked, this, &ScanWindows::StopSearchClicked);

    // Minimised with the main window, the scan windows stay out of sight too.
    const Qt::WindowStates mainState = m_mainWindow->windowState();
    if (!(mainState & Qt::WindowMaximized)) {
        window->setWindowState(mainState & Qt::WindowMinimized);
    }
    if (!(window->windowState() & Qt::WindowMinimized)) {
        window->show();
    }
    return window;
}

QList<QRect> ScanWindows::keepClearWithMargin() const
{
    QList<QRect> kept = m_keepClear ? m_keepClear() : QList<QRect>();
    for (QRect& rect : kept) {
        rect.adjust(-keepClearMargin, -keepClearMargin, keepClearMargin, keepClearMargin);
    }
    return kept;
}

} // namespace morvelin
