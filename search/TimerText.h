// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QTime>

namespace morvelin {

// The seconds since midnight times 100, written as a single-precision number: up to seven
// significant digits, a decimal point only when there is a fraction. It makes temporary names unique
// enough for one program at a time.
class TimerText {
public:
    static QString now();
    static QString at(const QTime& time);
    static QString format(float hundredthsSinceMidnight);
};

} // namespace morvelin
