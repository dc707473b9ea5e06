// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

namespace morvelin {

// Reports every press of a key (F12 for the program) as it happens. On X11 the X server reports
// every press of it through its input extension, whichever program has the focus and however short
// the tap; elsewhere only the presses the program's own windows pass on with notePressed count.
class KeyState : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // x11KeySym: the key as X11 names it (XK_F12 is 0xffc9).
    explicit KeyState(unsigned long x11KeySym = 0xffc9, QObject* parent = nullptr);
    ~KeyState() override;

    // True when presses are seen while other programs have the focus.
    bool isGlobal() const { return m_xiOpcode >= 0; }

    void notePressed() { emit pressed(); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void pressed();

private:
    void watchX11(unsigned long keySym);

    int m_xiOpcode = -1;
    unsigned m_keycode = 0;
};

} // namespace morvelin
