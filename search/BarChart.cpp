// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/BarChart.h"

#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>

namespace morvelin {

namespace {

// Numbers are drawn from 3 x 5 cell glyphs: the command line has no font machinery (no GUI
// application), and labels are all the chart writes.
constexpr std::array<const char*, 11> glyphs{{
    "111101101101111", // 0
    "010110010010111", // 1
    "111001111100111", // 2
    "111001111001111", // 3
    "101101111001001", // 4
    "111100111001111", // 5
    "111100111101111", // 6
    "111001001001001", // 7
    "111101111101111", // 8
    "111101111001111", // 9
    "000000111000000", // -
}};
constexpr int glyphColumns = 3;
constexpr int glyphRows = 5;

const char* glyphOf(QChar character)
{
    if (character == QLatin1Char('-')) {
        return glyphs[10];
    }
    return glyphs[static_cast<std::size_t>(character.digitValue())];
}

int textWidth(const QString& text, int cell)
{
    return text.isEmpty() ? 0 : (static_cast<int>(text.size()) * (glyphColumns + 1) - 1) * cell;
}

// Draws `text` (digits and '-') with its top centre at (centreX, top).
void drawNumber(QPainter& painter, const QString& text, int centreX, int top, int cell, const QColor& colour)
{
    int left = centreX - textWidth(text, cell) / 2;
    for (const QChar character : text) {
        const char* glyph = glyphOf(character);
        for (int row = 0; row < glyphRows; ++row) {
            for (int column = 0; column < glyphColumns; ++column) {
                if (glyph[row * glyphColumns + column] == '1') {
                    painter.fillRect(left + column * cell, top + row * cell, cell, cell, colour);
                }
            }
        }
        left += (glyphColumns + 1) * cell;
    }
}

} // namespace

BarChart::BarChart(QSize size)
    : m_image(size, QImage::Format_RGB32)
{
    m_image.fill(Qt::white);
}

void BarChart::RowCount(std::int16_t rows)
{
    m_values.assign(static_cast<std::size_t>(std::max<std::int16_t>(rows, 0)), 0);
}

void BarChart::data(std::int16_t value)
{
    if (m_row < 1 || m_row > RowCount()) {
        return;
    }
    m_values[static_cast<std::size_t>(m_row - 1)] = value;
}

void BarChart::Refresh()
{
    m_image.fill(Qt::white);
    if (m_type == barChartType && !m_values.empty()) {
        drawBars();
    }
}

void BarChart::drawBars()
{
    const int cell = std::max(1, std::min(m_image.width(), m_image.height()) / 150);
    const int labelHeight = (glyphRows + 2) * cell;
    const int margin = 2 * cell;
    const int plotTop = margin + labelHeight;
    const int plotBottom = m_image.height() - margin - labelHeight;
    const int plotHeight = plotBottom - plotTop;
    const int rows = static_cast<int>(m_values.size());
    const double slot = static_cast<double>(m_image.width() - 2 * margin) / rows;
    if (plotHeight <= 0 || slot < 1.0) {
        return;
    }
    const int high = std::max<int>(*std::max_element(m_values.begin(), m_values.end()), 0);
    const int low = std::min<int>(*std::min_element(m_values.begin(), m_values.end()), 0);
    const double span = std::max(1, high - low);
    const int axis = plotBottom - static_cast<int>(-low / span * plotHeight);

    QPainter painter(&m_image);
    const QColor barColour(70, 110, 170);
    const QColor textColour(40, 40, 40);
    for (int i = 0; i < rows; ++i) {
        const int value = m_values[static_cast<std::size_t>(i)];
        const int left = margin + static_cast<int>(i * slot + slot * 0.15);
        const int barWidth = std::max(1, static_cast<int>(slot * 0.7));
        const int barHeight = static_cast<int>(std::abs(value) / span * plotHeight);
        const int barTop = value >= 0 ? axis - barHeight : axis;
        painter.fillRect(left, barTop, barWidth, barHeight, barColour);
        const int centre = left + barWidth / 2;
        const int valueTop = value >= 0 ? barTop - labelHeight + cell : barTop + barHeight + cell;
        drawNumber(painter, QString::number(value), centre, valueTop, cell, textColour);
        drawNumber(painter, QString::number(i + 1), centre, plotBottom + 2 * cell, cell, textColour);
    }
    painter.fillRect(margin, axis, m_image.width() - 2 * margin, std::max(1, cell / 2), textColour);
}

} // namespace morvelin
