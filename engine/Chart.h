// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

namespace morvelin {

// A chart addressed by member, as the histogram views fill it: the type, the table's shape, then
// one value per row selected with Row (rows count from 1), and Refresh to show what was set.
class Chart {
public:
    virtual ~Chart() = default;

    virtual void chartType(std::int16_t type) = 0;
    virtual void RowCount(std::int16_t rows) = 0;
    virtual std::int16_t RowCount() const = 0;
    virtual void ColumnCount(std::int16_t columns) = 0;
    virtual void Row(std::int16_t row) = 0;
    virtual void data(std::int16_t value) = 0;
    virtual void Refresh() = 0;
};

} // namespace morvelin
