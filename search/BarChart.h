// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/Chart.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <vector>

namespace morvelin {

// A chart that draws into an image: chart type 7 as bars, one per row, each with its value above it
// and its row number below. Other types leave the plot empty.
class BarChart : public Chart {
public:
    static constexpr std::int16_t barChartType = 7;

    explicit BarChart(QSize size);

    void chartType(std::int16_t type) override { m_type = type; }
    void RowCount(std::int16_t rows) override;
    std::int16_t RowCount() const override { return static_cast<std::int16_t>(m_values.size()); }
    void ColumnCount(std::int16_t columns) override { m_columnCount = columns; }
    void Row(std::int16_t row) override { m_row = row; }
    // Goes to the row chosen by Row; a row outside 1..RowCount holds nothing and the value is dropped.
    void data(std::int16_t value) override;
    void Refresh() override;

    std::int16_t type() const { return m_type; }
    std::int16_t columnCount() const { return m_columnCount; }
    const std::vector<std::int16_t>& values() const { return m_values; }
    const QImage& image() const { return m_image; }

private:
    void drawBars();

    std::int16_t m_type = 0;
    std::int16_t m_columnCount = 1;
    std::int16_t m_row = 1;
    std::vector<std::int16_t> m_values;
    QImage m_image;
};

} // namespace morvelin
