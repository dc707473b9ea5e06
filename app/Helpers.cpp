// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/Helpers.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMimeDatabase>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace morvelin {

namespace {

constexpr int smallIconSize = 16;
constexpr int largeIconSize = 32;

void setStaysOnTop(QWidget* window, bool onTop)
{
    if (window == nullptr) {
        return;
    }
    QWidget* topLevel = window->window();
    const Qt::WindowFlags flags = topLevel->windowFlags().setFlag(Qt::WindowStaysOnTopHint, onTop);
    if (flags != topLevel->windowFlags()) {
        // The native window takes the hint as it is: re-creating it (what setWindowFlags does) would
        // leave the toolkit believing no window is active while this one has the keyboard, and its
        // buttons would ignore the mouse until some other window had been activated.
        topLevel->overrideWindowFlags(flags);
        if (QWindow* native = topLevel->windowHandle()) {
            native->setFlags(flags);
        }
    }
    topLevel->raise();
    topLevel->activateWindow();
}

QUrl urlOfTarget(const QString& target)
{
    // A path must never be parsed as a URL: "#" or "%" in a file name would be taken apart.
    if (QDir::isAbsolutePath(target) || QFileInfo::exists(target)) {
        return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    }
    return QUrl::fromUserInput(target);
}

// The icon theme the user chose in the desktop's settings, which a desktop without its own Qt
// integration keeps where GTK reads it.
QString desktopIconTheme()
{
    const QString key = QStringLiteral("Settings/gtk-icon-theme-name");
    for (const char* version : {"gtk-4.0", "gtk-3.0"}) {
        QStringList files;
        files << QStandardPaths::locateAll(QStandardPaths::GenericConfigLocation,
                                           QLatin1String(version) + QStringLiteral("/settings.ini"));
        files << QStringLiteral("/etc/") + QLatin1String(version) + QStringLiteral("/settings.ini");
        for (const QString& file : files) {
            const QString theme = QSettings(file, QSettings::IniFormat).value(key).toString();
            if (!theme.isEmpty()) {
                return theme;
            }
        }
    }
    return {};
}

// An installed theme beyond the bare fallback one, which holds no file types' icons.
QString installedIconTheme()
{
    for (const QString& folder : QIcon::themeSearchPaths()) {
        for (const QString& theme : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            const bool bare = theme == QLatin1String("hicolor") || theme == QLatin1String("locolor")
                || theme == QLatin1String("default");
            if (!bare && QFileInfo::exists(folder + QLatin1Char('/') + theme + QStringLiteral("/index.theme"))) {
                return theme;
            }
        }
    }
    return {};
}

// Without a desktop integration Qt names no icon theme, and every file would get the same blank page.
void useDesktopIconTheme()
{
    static bool checked = false;
    if (checked) {
        return;
    }
    checked = true;
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QIcon::fallbackThemeName()) {
        return;
    }
    QString theme = desktopIconTheme();
    if (theme.isEmpty()) {
        theme = installedIconTheme();
    }
    if (!theme.isEmpty()) {
        QIcon::setThemeName(theme);
    }
}

QIcon iconOfFile(const QFileInfo& file)
{
    useDesktopIconTheme();
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) {
        icon = QIcon::fromTheme(type.genericIconName());
    }
    if (icon.isNull()) {
        icon = QFileIconProvider().icon(file);
    }
    return icon;
}

QPointer<QWidget>& mainWindow()
{
    static QPointer<QWidget> window;
    return window;
}

QPixmap pixmapOfIcon(const QIcon& icon, int size, qreal pixelRatio)
{
    // Themes do not have every size; the box must still hold exactly one icon.
    QPixmap pixmap(QSize(size, size) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    icon.paint(&painter, QRect(0, 0, size, size));
    return pixmap;
}

} // namespace

void FormOnTop(QWidget* window)
{
    setStaysOnTop(window, true);
}

void FormNotOnTop(QWidget* window)
{
    setStaysOnTop(window, false);
}

bool OpenWithShell(const QString& target)
{
    if (target.isEmpty()) {
        return false;
    }
    return QDesktopServices::openUrl(urlOfTarget(target));
}

QString BrowseFolder(QWidget* owner, const QString& title, [[maybe_unused]] bool newStyle,
                     const QString& root)
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
        return QString();
    }
    const QString start = QFileInfo(root).isDir() ? root : QDir::homePath();
    return FolderWithSeparator(QFileDialog::getExistingDirectory(owner, title, start));
}

QImage DesktopCapture()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return QImage();
    }
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty()) {
        return QImage();
    }
    qreal ratio = 1.0;
    for (const QScreen* screen : screens) {
        ratio = std::max(ratio, screen->devicePixelRatio());
    }
    // Screens left of or above the primary one have negative coordinates.
    const QRect desktop = screens.first()->virtualGeometry();
    QImage image(desktop.size() * ratio, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    bool grabbed = false;
    for (QScreen* screen : screens) {
        const QPixmap shot = screen->grabWindow(0);
        if (shot.isNull()) {
            continue;
        }
        const QRect place = screen->geometry().translated(-desktop.topLeft());
        const QRectF target(QPointF(place.topLeft()) * ratio, QSizeF(place.size()) * ratio);
        painter.drawPixmap(target, shot, QRectF(QPointF(0, 0), QSizeF(shot.size())));
        grabbed = true;
    }
    painter.end();
    return grabbed ? image : QImage();
}

void DrawFileIcon(const QString& path, QLabel* box, bool small)
{
    const QFileInfo file(path);
    if (box == nullptr || path.isEmpty() || !file.exists()) {
        return;
    }
    const QIcon icon = iconOfFile(file);
    if (icon.isNull()) {
        return;
    }
    const int size = small ? smallIconSize : largeIconSize;
    box->setFixedSize(size, size);
    box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    box->setPixmap(pixmapOfIcon(icon, size, box->devicePixelRatioF()));
}

void SetMainWindow(QWidget* window)
{
    mainWindow() = window;
}

void ExitProgram()
{
    // Closed from code, the main window takes its tray icon down; every other window goes without
    // its close handler when the program ends.
    if (!mainWindow().isNull()) {
        mainWindow()->close();
    }
    QCoreApplication::exit(0);
}

} // namespace morvelin
