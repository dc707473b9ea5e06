// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// The end-to-end test's hands and eyes on the X display: shows a photo the way an image viewer
// would (and takes what is dropped on it), and saves pictures of the whole screen.
//
//   e2e_helper show PHOTO DROPS_FILE   a window at the top left with the photo at its own size;
//                                      dropped files and text are appended to DROPS_FILE
//   e2e_helper grab OUT.png [X Y W H]  the whole screen as it is now, or that part of it
//   e2e_helper pixel X Y               the colour of one pixel of the screen, as #rrggbb

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>
#include <QUrl>

#include <cstdio>

namespace {

class PhotoViewer : public QLabel {
public:
    PhotoViewer(const QPixmap& photo, QString dropsFile) : m_dropsFile(std::move(dropsFile))
    {
        setWindowTitle(QStringLiteral("Photo viewer"));
        setPixmap(photo);
        setFixedSize(photo.size());
        setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent* event) override { event->acceptProposedAction(); }

    void dropEvent(QDropEvent* event) override
    {
        QFile drops(m_dropsFile);
        if (drops.open(QIODevice::Append | QIODevice::Text)) {
            QTextStream out(&drops);
            for (const QUrl& url : event->mimeData()->urls()) {
                out << "file\t" << url.toLocalFile() << '\n';
            }
            out << "text\t" << event->mimeData()->text() << '\n';
            out << "action\t" << int(event->dropAction()) << '\n';
        }
        event->acceptProposedAction();
    }

private:
    QString m_dropsFile;
};

int grabScreen(const QString& out, const QRect& part = QRect(0, 0, -1, -1))
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr
        || !screen->grabWindow(0, part.x(), part.y(), part.width(), part.height()).save(out, "PNG")) {
        std::fprintf(stderr, "e2e_helper: cannot grab the screen into %s\n", qPrintable(out));
        return 1;
    }
    return 0;
}

int printPixel(int x, int y)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return 1;
    }
    const QImage pixel = screen->grabWindow(0, x, y, 1, 1).toImage();
    if (pixel.isNull()) {
        return 1;
    }
    std::printf("%s\n", qPrintable(pixel.pixelColor(0, 0).name()));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 3 && arguments[1] == QLatin1String("grab")) {
        return grabScreen(arguments[2]);
    }
    if (arguments.size() == 7 && arguments[1] == QLatin1String("grab")) {
        return grabScreen(arguments[2], QRect(arguments[3].toInt(), arguments[4].toInt(), arguments[5].toInt(),
                                              arguments[6].toInt()));
    }
    if (arguments.size() == 4 && arguments[1] == QLatin1String("pixel")) {
        return printPixel(arguments[2].toInt(), arguments[3].toInt());
    }
    if (arguments.size() == 4 && arguments[1] == QLatin1String("show")) {
        const QPixmap photo(arguments[2]);
        if (photo.isNull()) {
            std::fprintf(stderr, "e2e_helper: cannot read %s\n", qPrintable(arguments[2]));
            return 1;
        }
        PhotoViewer viewer(photo, arguments[3]);
        viewer.move(0, 0);
        viewer.show();
        return QApplication::exec();
    }
    std::fputs("usage: e2e_helper show PHOTO DROPS_FILE | grab OUT.png [X Y W H] | pixel X Y\n", stderr);
    return 2;
}
