// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/TimerText.h"

namespace morvelin {

QString TimerText::now()
{
    return at(QTime::currentTime());
}

QString TimerText::at(const QTime& time)
{
    const double seconds = time.msecsSinceStartOfDay() / 1000.0;
    return format(static_cast<float>(seconds * 100.0));
}

QString TimerText::format(float hundredthsSinceMidnight)
{
    // Always a point, never the locale's comma: the text goes into file names.
    return QString::number(static_cast<double>(hundredthsSinceMidnight), 'g', 7);
}

} // namespace morvelin
