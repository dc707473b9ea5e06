// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;

namespace morvelin {

// Draws the flat button pixel for pixel in one of its five visual states, so the look does not
// depend on the desktop's style.
class ButtonPainter {
public:
    enum State { Disabled = 0, Normal = 1, Focused = 2, Hot = 3, Pressed = 4 };

    struct Look {
        int state = Normal;
        QString caption;
        QFont font;
        QColor foreColor = Qt::black;
        bool enabled = true;
        bool focusRect = false; // draw the focus mark (the caller checks focus and state)
    };

    static void paint(QPainter& painter, int width, int height, const Look& look);

    // Rows top..bottom inclusive, columns left..right exclusive, top colour on the top row.
    static void gradient(QPainter& painter, int left, int top, int right, int bottom, QColor topColour,
                         QColor bottomColour);

    // The colour of the row i steps above the bottom of an n-step gradient, each component rounded
    // half to even; n = 0 gives the bottom colour.
    static QColor gradientColour(QColor topColour, QColor bottomColour, int i, int n);
};

} // namespace morvelin
