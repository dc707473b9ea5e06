// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/BarChart.h"

#include <gtest/gtest.h>

using namespace morvelin;

namespace {

// How many pixels of column x are neither white nor the label grey: the bar's height there.
int barPixels(const QImage& image, int x)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb pixel = image.pixel(x, y);
        count += qBlue(pixel) > qRed(pixel) + 50 ? 1 : 0;
    }
    return count;
}

} // namespace

TEST(BarChartTest, ValuesGoToExistingRowsOnlyAndBarsStandInProportion)
{
    BarChart chart(QSize(300, 200));
    chart.chartType(BarChart::barChartType);
    chart.RowCount(3);
    chart.ColumnCount(1);
    for (const auto& [row, value] : {std::pair{1, 50}, {2, 100}, {4, 99}, {0, 98}}) {
        chart.Row(static_cast<std::int16_t>(row));
        chart.data(static_cast<std::int16_t>(value)); // rows 4 and 0 do not exist
    }
    EXPECT_EQ(chart.values(), (std::vector<std::int16_t>{50, 100, 0}));
    EXPECT_EQ(barPixels(chart.image(), 150), 0) << "nothing shows before Refresh";
    chart.Refresh();

    // Three slots of 100 pixels, less the margins; the bars stand in their middles.
    const int first = barPixels(chart.image(), 50);
    const int second = barPixels(chart.image(), 150);
    EXPECT_GT(second, 100);
    EXPECT_NEAR(first * 2, second, 2);
    EXPECT_EQ(barPixels(chart.image(), 250), 0);

    chart.RowCount(-1);
    EXPECT_EQ(chart.RowCount(), 0);
}
