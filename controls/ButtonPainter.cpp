// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "controls/ButtonPainter.h"

#include <QPainter>

#include <array>
#include <optional>

namespace morvelin {

namespace {

using Table = std::array<std::optional<QRgb>, 5>;

constexpr QRgb rgb(int red, int green, int blue)
{
    return 0xff000000u | (static_cast<QRgb>(red) << 16) | (static_cast<QRgb>(green) << 8) | static_cast<QRgb>(blue);
}

// Indexed by state: disabled, normal, focused or default, hot, pressed. An empty cell is a line
// that state does not draw.
const Table borderTable{rgb(201, 199, 186), rgb(0, 60, 116), rgb(0, 60, 116), rgb(0, 60, 116), rgb(0, 60, 116)};
const Table lineY1Table{rgb(247, 247, 239), rgb(255, 255, 255), rgb(206, 231, 255), rgb(255, 243, 206),
                        rgb(231, 227, 222)};
const Table lineY2Table{rgb(247, 247, 239), rgb(254, 254, 254), rgb(189, 215, 247), rgb(255, 219, 140),
                        rgb(231, 227, 222)};
const Table lineH3Table{std::nullopt, rgb(226, 223, 214), rgb(140, 174, 231), rgb(255, 178, 49),
                        rgb(191, 199, 202)};
const Table lineH2Table{std::nullopt, rgb(214, 208, 197), rgb(107, 130, 239), rgb(230, 150, 0), std::nullopt};
const Table cornerOuterTable{rgb(196, 177, 140), rgb(33, 85, 132), rgb(33, 85, 132), rgb(33, 85, 132),
                             rgb(33, 85, 132)};
const Table cornerEdgeTable{rgb(206, 199, 189), rgb(123, 150, 173), rgb(123, 150, 173), rgb(123, 150, 173),
                            rgb(123, 150, 173)};
const Table cornerInnerTable{rgb(196, 177, 140), rgb(82, 125, 165), rgb(82, 125, 165), rgb(82, 125, 165),
                             rgb(82, 125, 165)};
const Table frameTopTable{std::nullopt, rgb(252, 252, 251), rgb(189, 211, 247), rgb(225, 223, 156), std::nullopt};
const Table frameBottomTable{std::nullopt, rgb(236, 235, 230), rgb(140, 174, 231), rgb(255, 182, 48),
                             std::nullopt};

constexpr QRgb pressedFace = rgb(231, 227, 222);
constexpr QRgb disabledFace = rgb(245, 244, 234);
constexpr QRgb innerTop = rgb(252, 252, 251);
constexpr QRgb innerBottom = rgb(236, 235, 230);
constexpr QRgb disabledText = rgb(161, 161, 146);
constexpr QRgb focusMark = rgb(0, 84, 180);

std::optional<QColor> cell(const Table& table, int state)
{
    if (state < 0 || state >= static_cast<int>(table.size()) || !table[state]) {
        return std::nullopt;
    }
    return QColor::fromRgb(*table[state]);
}

// Lines run from the first point up to, not including, the second, like the pen lines of the
// platform the look comes from.
void horizontalLine(QPainter& painter, int y, int fromX, int toX, const QColor& colour)
{
    if (toX > fromX) {
        painter.fillRect(fromX, y, toX - fromX, 1, colour);
    }
}

void verticalLine(QPainter& painter, int x, int fromY, int toY, const QColor& colour)
{
    if (toY > fromY) {
        painter.fillRect(x, fromY, 1, toY - fromY, colour);
    }
}

void horizontalLine(QPainter& painter, int y, int fromX, int toX, const std::optional<QColor>& colour)
{
    if (colour) {
        horizontalLine(painter, y, fromX, toX, *colour);
    }
}

void pixel(QPainter& painter, int x, int y, const QColor& colour)
{
    painter.fillRect(x, y, 1, 1, colour);
}

int roundedQuotient(int numerator, int denominator)
{
    const int quotient = numerator / denominator;
    const int twiceRemainder = 2 * (numerator - quotient * denominator);
    if (twiceRemainder > denominator) {
        return quotient + 1;
    }
    if (twiceRemainder == denominator) {
        return quotient + (quotient % 2);
    }
    return quotient;
}

int gradientComponent(int top, int bottom, int i, int n)
{
    // bottom + (top − bottom) / n × i, kept exact so halves round the same way on every machine.
    return roundedQuotient(bottom * (n - i) + top * i, n);
}

void drawBorder(QPainter& painter, int w, int h, const QColor& colour)
{
    horizontalLine(painter, 0, 3, w - 3, colour);
    verticalLine(painter, 0, 3, h - 3, colour);
    horizontalLine(painter, h - 1, 3, w - 3, colour);
    verticalLine(painter, w - 1, 3, h - 3, colour);
}

void drawFace(QPainter& painter, int w, int h, int state)
{
    if (state == ButtonPainter::Disabled || state == ButtonPainter::Pressed) {
        const QRgb face = state == ButtonPainter::Disabled ? disabledFace : pressedFace;
        painter.fillRect(1, 1, w - 2, h - 2, QColor::fromRgb(face));
    } else {
        ButtonPainter::gradient(painter, 1, 3, w - 1, h - 2, *cell(frameTopTable, state),
                                *cell(frameBottomTable, state));
        ButtonPainter::gradient(painter, 3, 3, w - 3, h - 3, QColor::fromRgb(innerTop),
                                QColor::fromRgb(innerBottom));
    }
    horizontalLine(painter, 1, 1, w, cell(lineY1Table, state));
    horizontalLine(painter, 2, 1, w, cell(lineY2Table, state));
    horizontalLine(painter, h - 3, 1, w, cell(lineH3Table, state));
    horizontalLine(painter, h - 2, 2, w - 1, cell(lineH2Table, state));
}

void drawCorners(QPainter& painter, int w, int h, int state)
{
    const QColor edge = *cell(cornerEdgeTable, state);
    const QColor outer = *cell(cornerOuterTable, state);
    const QColor inner = *cell(cornerInnerTable, state);
    struct Corner {
        int x;
        int y;
        int dx; // towards the inside
        int dy;
    };
    const std::array<Corner, 4> corners{
        Corner{0, 0, 1, 1}, Corner{w - 1, 0, -1, 1}, Corner{0, h - 1, 1, -1}, Corner{w - 1, h - 1, -1, -1}};
    for (const Corner& c : corners) {
        pixel(painter, c.x, c.y + c.dy, edge);
        pixel(painter, c.x + c.dx, c.y, edge);
        pixel(painter, c.x, c.y + 2 * c.dy, outer);
        pixel(painter, c.x + 2 * c.dx, c.y, outer);
        pixel(painter, c.x + c.dx, c.y + c.dy, inner);
    }
}

void drawCaption(QPainter& painter, int w, int h, const ButtonPainter::Look& look)
{
    painter.setFont(look.font);
    painter.setPen(look.enabled ? look.foreColor : QColor::fromRgb(disabledText));
    painter.drawText(QRect(3, 3, w - 6, h - 6), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                     look.caption);
}

void drawFocusRect(QPainter& painter, int w, int h)
{
    // Two solid pixels just inside the face's frame: the dotted rectangle of the look's platform
    // vanished on the light face.
    const int left = 3;
    const int top = 3;
    const int width = w - 6;
    const int height = h - 6;
    if (width < 4 || height < 4) {
        return;
    }
    const QColor mark = QColor::fromRgb(focusMark);
    painter.fillRect(left, top, width, 2, mark);
    painter.fillRect(left, top + height - 2, width, 2, mark);
    painter.fillRect(left, top + 2, 2, height - 4, mark);
    painter.fillRect(left + width - 2, top + 2, 2, height - 4, mark);
}

} // namespace

void ButtonPainter::paint(QPainter& painter, int width, int height, const Look& look)
{
    const int state = (look.state >= Disabled && look.state <= Pressed) ? look.state : Normal;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    drawBorder(painter, width, height, *cell(borderTable, state));
    drawFace(painter, width, height, state);
    drawCorners(painter, width, height, state);
    drawCaption(painter, width, height, look);
    if (look.focusRect) {
        drawFocusRect(painter, width, height);
    }
    painter.restore();
}

void ButtonPainter::gradient(QPainter& painter, int left, int top, int right, int bottom, QColor topColour,
                             QColor bottomColour)
{
    const int n = bottom - top;
    if (n < 0) {
        return;
    }
    for (int i = 0; i <= n; ++i) {
        horizontalLine(painter, top + n - i, left, right, gradientColour(topColour, bottomColour, i, n));
    }
}

QColor ButtonPainter::gradientColour(QColor topColour, QColor bottomColour, int i, int n)
{
    if (n <= 0) {
        return bottomColour;
    }
    return QColor(gradientComponent(topColour.red(), bottomColour.red(), i, n),
                  gradientComponent(topColour.green(), bottomColour.green(), i, n),
                  gradientComponent(topColour.blue(), bottomColour.blue(), i, n));
}

} // namespace morvelin
