// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "platform/KeyState.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>

#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <xcb/xcb.h>

namespace morvelin {

namespace {

// A raw key event on the wire: the key code sits at byte 16, before the full sequence number that
// xcb inserts at byte 32.
constexpr std::size_t rawEventDetailOffset = 16;

} // namespace

KeyState::KeyState(unsigned long x11KeySym, QObject* parent)
    : QObject(parent)
{
    watchX11(x11KeySym);
}

KeyState::~KeyState()
{
    if (isGlobal() && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

// Raw events come to the root window for every press on the keyboard, also while another client
// has the focus or a grab; a query of the key map would miss a tap shorter than the poll.
void KeyState::watchX11(unsigned long keySym)
{
    auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (application == nullptr) {
        return;
    }
    auto* x11 = application->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr) {
        return;
    }
    Display* display = x11->display();
    int opcode = 0;
    int firstEvent = 0;
    int firstError = 0;
    if (!XQueryExtension(display, "XInputExtension", &opcode, &firstEvent, &firstError)) {
        return;
    }
    const KeyCode keycode = XKeysymToKeycode(display, keySym);
    if (keycode == 0) {
        return;
    }
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    XISetMask(bits, XI_RawKeyPress);
    XIEventMask mask;
    // The master devices only: Qt keeps its own selection for all devices on the root window.
    mask.deviceid = XIAllMasterDevices;
    mask.mask_len = sizeof(bits);
    mask.mask = bits;
    if (XISelectEvents(display, DefaultRootWindow(display), &mask, 1) != Success) {
        return;
    }
    XFlush(display);
    m_xiOpcode = opcode;
    m_keycode = keycode;
    application->installNativeEventFilter(this);
}

bool KeyState::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_GE_GENERIC) {
        return false;
    }
    const auto* generic = static_cast<const xcb_ge_generic_event_t*>(message);
    if (generic->extension != m_xiOpcode || generic->event_type != XI_RawKeyPress) {
        return false;
    }
    std::uint32_t detail = 0;
    std::memcpy(&detail, static_cast<const char*>(message) + rawEventDetailOffset, sizeof(detail));
    if (detail == m_keycode) {
        emit pressed();
    }
    // Qt has no use for raw events, but other filters may.
    return false;
}

} // namespace morvelin
