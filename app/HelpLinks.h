// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>

#include <initializer_list>

class QLabel;
class QWidget;

namespace morvelin {

// The main window's links, labels that act on a click; the two this class opens are the About box and
// the desktop's software-update tool.
class HelpLinks : public QObject {
    Q_OBJECT

public:
    HelpLinks(std::initializer_list<QLabel*> links, QObject* parent);

    // The README installed with the program, else the one it was built from.
    static QString aboutPage();
    // The program's version, licence and models with their origin, over `window`.
    static void showAbout(QWidget* window);
    // The first of the desktops' own update tools that is installed; without one, a message says that
    // the program is updated with the system's other software.
    static void checkForUpdates(QWidget* window);

signals:
    void clicked(QLabel* link);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace morvelin
