// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace morvelin {

// Opens a listed photo with the program the desktop associates with its type, and says so on screen
// when there is none (or it failed), with the photo's path and its folder as a way out: a double click
// that does nothing would leave a person guessing.
class PhotoOpener : public QObject {
    Q_OBJECT

public:
    // Messages are shown over `window`.
    explicit PhotoOpener(QWidget* window);

    void open(const QString& photo);

signals:
    // The desktop had nothing to open the photo with; the message is on screen.
    void failed(const QString& photo);

private:
    // `failed` runs when nothing took the file or folder.
    void openWithDesktop(const QString& target, std::function<void()> failed);
    void tell(const QString& photo);

    QWidget* m_window;
};

} // namespace morvelin
