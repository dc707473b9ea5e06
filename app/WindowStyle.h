// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QString>

class QLabel;
class QWidget;

namespace morvelin {

// The main window's look: its colours, fonts and corner picture.
class WindowStyle {
public:
    static QColor steelBlue() { return QColor(57, 105, 152); }

    static QFont font(const QString& family, double pointSize, bool bold);
    // A text longer than the label gets a smaller font rather than being cut.
    static void fitFont(QLabel* label, double pointSize);
    static void setTextColour(QWidget* widget, const QColor& colour);
    // A small viewfinder: the corner decoration of the window.
    static QPixmap viewfinder(int size, qreal pixelRatio);
};

} // namespace morvelin
