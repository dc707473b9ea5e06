// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QImage>
#include <QObject>

#include <functional>

namespace morvelin {

// The whole desktop as a picture. An X11 session is grabbed at once with the grabber the program
// passes in; a Wayland session gives nothing to such a grab, so there the desktop portal's Screenshot
// call is asked, and it answers later.
class ScreenCapture : public QObject {
    Q_OBJECT

public:
    using Grabber = std::function<QImage()>;
    // Receives the desktop, or a null image when none could be had.
    using Done = std::function<void(const QImage&)>;

    // A portal that has not answered by then is given up.
    static constexpr int portalTimeoutMs = 120000;

    explicit ScreenCapture(Grabber grab, QObject* parent = nullptr);

    static bool isWaylandSession();

    // `done` runs once: at once for a grab, from the event loop for the portal.
    void capture(Done done);
    void captureWithPortal(Done done);

private:
    Grabber m_grab;
    int m_requests = 0;
};

} // namespace morvelin
