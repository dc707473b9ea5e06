// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

// Shows the flat button in each of its states and the folder picker closed, with a placed folder,
// disabled and open, then saves a picture of the screen. Run under xvfb-run:
//   xvfb-run -a -s "-screen 0 1024x768x24" controls_gallery docs/controls.png
#include "controls/FA_DriveListBox.h"
#include "controls/FlatButton.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using morvelin::FA_DriveListBox;
using morvelin::FlatButton;

namespace {

const QColor windowColour(57, 105, 152);

// A home folder like a desktop user's, so the picker lists a desktop, documents and pictures.
void stageHome(const QString& home)
{
    QDir dir(home);
    for (const char* folder : {"Desktop/Family", "Desktop/Holiday 2010", "Documents", "Pictures/2010/Summer",
                               ".config"}) {
        dir.mkpath(QString::fromLatin1(folder));
    }
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
}

QLabel* caption(const QString& text, QWidget* parent, int x, int y, int width)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, 18);
    label->setStyleSheet(QStringLiteral("color: white;"));
    return label;
}

void send(QWidget* widget, QEvent::Type type, Qt::MouseButton button)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                      Qt::MouseButtons(button), Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void enter(QWidget* widget)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QEnterEvent event(at, at, widget->mapToGlobal(at));
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/alice-XXXXXX"));
    stageHome(home.path());
    QApplication application(argc, argv);
    const QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("controls.png");
    // Xvfb has no desktop to name an icon theme; use the one a GNOME desktop would.
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor")) {
        QIcon::setThemeName(QStringLiteral("Adwaita"));
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("Controls"));
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, windowColour);
    window.setPalette(palette);
    window.setAutoFillBackground(true);

    caption(QStringLiteral("FlatButton"), &window, 10, 8, 200)->setStyleSheet(
        QStringLiteral("color: white; font-weight: bold;"));
    const QStringList states{QStringLiteral("0 disabled"), QStringLiteral("1 normal"),
                             QStringLiteral("2 focused"),  QStringLiteral("2 default"),
                             QStringLiteral("3 hot"),      QStringLiteral("4 pressed")};
    std::vector<FlatButton*> buttons;
    for (int i = 0; i < states.size(); ++i) {
        auto* button = new FlatButton(QStringLiteral("&Search"), &window);
        button->setGeometry(10 + i * 128, 32, 115, 25);
        caption(states[i], &window, 10 + i * 128, 62, 115);
        buttons.push_back(button);
    }
    auto* wide = new FlatButton(QStringLiteral("Select a photo with a face to search..."), &window);
    wide->setGeometry(10, 88, 370, 25);
    caption(QStringLiteral("1 normal, wide"), &window, 390, 92, 200);

    caption(QStringLiteral("FA_DriveListBox"), &window, 10, 130, 200)->setStyleSheet(
        QStringLiteral("color: white; font-weight: bold;"));
    const QStringList pickerStates{QStringLiteral("closed"), QStringLiteral("after UpdatePath"),
                                   QStringLiteral("disabled"), QStringLiteral("open, after UpdatePath")};
    std::vector<FA_DriveListBox*> pickers;
    for (int i = 0; i < pickerStates.size(); ++i) {
        auto* picker = new FA_DriveListBox(&window);
        const int x = i < 3 ? 10 + i * 250 : 260;
        const int y = i < 3 ? 154 : 430;
        picker->setGeometry(x, y, 230, picker->height());
        // The open list covers its own picker, so that one is named on its left.
        const QPoint at = i < 3 ? QPoint(x, y + picker->height() + 4) : QPoint(10, y + 3);
        caption(pickerStates[i], &window, at.x(), at.y(), 230);
        pickers.push_back(picker);
    }
    pickers[1]->UpdatePath(home.path() + QStringLiteral("/Pictures/2010/Summer"));
    pickers[3]->UpdatePath(home.path() + QStringLiteral("/Pictures/2010/Summer"));
    pickers[2]->setEnabled(false);
    window.resize(790, 520);

    window.move(20, 20);
    window.show();
    window.activateWindow();

    QPixmap shot;
    QTimer::singleShot(600, &window, [&] {
        buttons[0]->setEnabled(false);
        buttons[2]->setFocus();
        buttons[3]->setDisplayAsDefault(true);
        enter(buttons[4]);
        enter(buttons[5]);
        send(buttons[5], QEvent::MouseButtonPress, Qt::LeftButton);
    });
    // The open list takes the keyboard focus, so it is grabbed after the buttons and laid over them.
    QTimer::singleShot(1200, &window, [&] {
        shot = window.screen()->grabWindow(0);
        pickers[3]->findChild<QComboBox*>(QStringLiteral("Cmb"))->showPopup();
    });
    QTimer::singleShot(1800, &window, [&] {
        QRect area = window.frameGeometry();
        if (QWidget* popup = QApplication::activePopupWidget()) {
            const QRect list = popup->frameGeometry();
            const QPixmap open = window.screen()->grabWindow(0, list.x(), list.y(), list.width(), list.height());
            QPainter painter(&shot);
            painter.drawPixmap(list.topLeft(), open);
            area = area.united(list);
        }
        const bool saved = shot.copy(area).save(output);
        std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write", qPrintable(output));
        for (FlatButton* button : buttons) {
            std::printf("button state %d\n", button->state());
        }
        QApplication::exit(saved ? 0 : 1);
    });
    return QApplication::exec();
}
