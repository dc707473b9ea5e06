#include "app/ScanWindows.h"

#include "app/MainLayout.h"
#include "app/WinFotoFace.h"
#include "search/PhotoScan.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <memory>

namespace morvelin {

namespace {

// Room around the kept-clear control, so that a window edge never touches it.
constexpr int keepClearMargin = 8;

// The columns' left edges: packed outward from the main window's right, then from its left, then the
// screen's own edges for a screen too small to hold a window beside it.
QList<int> columnsOf(const QRect& screen, int width, const QRect& mainWindow)
{
    QList<int> columns;
    for (int x = mainWindow.right() + 1; x + width - 1 <= screen.right(); x += width) {
        columns.append(x);
    }
    for (int x = mainWindow.left() - width; x >= screen.left(); x -= width) {
        columns.append(x);
    }
    columns.append(screen.right() + 1 - width);
    columns.append(screen.left());
    return columns;
}

} // namespace

ScanWindows::ScanWindows(QWidget* mainWindow, QWidget* keepClear)
    : QObject(mainWindow)
    , m_mainWindow(mainWindow)
    , m_keepClear(keepClear)
{
}

ScanWindows::~ScanWindows()
{
    closeAll();
}

QList<QRect> ScanWindows::places(const QRect& screen, QSize window, const QRect& mainWindow, const QRect& keepClear)
{
    QList<QRect> chosen;
    if (window.isEmpty()) {
        return chosen;
    }
    for (const int x : columnsOf(screen, window.width(), mainWindow)) {
        for (int y = screen.top(); y + window.height() - 1 <= screen.bottom(); y += window.height()) {
            const QRect place(QPoint(x, y), window);
            const bool taken = std::any_of(chosen.cbegin(), chosen.cend(),
                                           [&place](const QRect& other) { return other.intersects(place); });
            if (screen.contains(place) && !place.intersects(keepClear) && !taken) {
                chosen.append(place);
            }
        }
    }
    return chosen;
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
    m_places.clear();
}

int ScanWindows::windowCount() const
{
    return static_cast<int>(std::count_if(m_windows.cbegin(), m_windows.cend(),
                                          [](const QPointer<WinFotoFace>& window) { return !window.isNull(); }));
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
        m_places = places(area, client + frame, m_mainWindow->frameGeometry(), keepClearOnScreen());
    }
    const auto place = static_cast<qsizetype>(m_windows.size());
    if (place >= m_places.size()) {
        return nullptr;
    }
    auto* window = new WinFotoFace(sourceFace);
    m_windows.emplace_back(window);
    window->move(m_places[place].topLeft());
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

QRect ScanWindows::keepClearOnScreen() const
{
    if (!m_keepClear) {
        return QRect();
    }
    const QRect onScreen(m_keepClear->mapToGlobal(QPoint(0, 0)), m_keepClear->size());
    return onScreen.adjusted(-keepClearMargin, -keepClearMargin, keepClearMargin, keepClearMargin);
}

} // namespace morvelin
