#pragma once

#include <QObject>
#include <QString>

#include <initializer_list>

class QLabel;

namespace morvelin {

// The main window's links, labels that act on a click; the two this class opens are the README and
// the desktop's software-update tool.
class HelpLinks : public QObject {
    Q_OBJECT

public:
    HelpLinks(std::initializer_list<QLabel*> links, QObject* parent);

    // The README installed with the program, else the one it was built from.
    static QString aboutPage();
    static void openAbout();
    // The first of the desktops' own update tools that is installed.
    static void startUpdateTool();

signals:
    void clicked(QLabel* link);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace morvelin
