// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "engine/EngineError.h"

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

namespace morvelin {

// A two-dimensional array indexed (x, y) from 0 up to and including its upper bounds, with every
// access checked. A default-constructed array has no cells, so any access fails.
template <typename T>
class BoundedArray2D {
public:
    BoundedArray2D() = default;

    BoundedArray2D(int upperX, int upperY)
    {
        if (upperX < 0 || upperY < 0) {
            throw IndexOutOfRangeError("array bounds below zero");
        }
        m_upperX = upperX;
        m_upperY = upperY;
        m_cells.assign(static_cast<std::size_t>(upperX + 1) * static_cast<std::size_t>(upperY + 1), Stored{});
    }

    int upperX() const { return m_upperX; }
    int upperY() const { return m_upperY; }
    bool empty() const { return m_cells.empty(); }

    T get(int x, int y) const { return static_cast<T>(m_cells[indexOf(x, y)]); }
    void set(int x, int y, T value) { m_cells[indexOf(x, y)] = static_cast<Stored>(value); }

private:
    // std::vector<bool> packs bits and hands out proxies; a byte per flag keeps get/set uniform.
    using Stored = std::conditional_t<std::is_same_v<T, bool>, unsigned char, T>;

    std::size_t indexOf(int x, int y) const
    {
        if (m_cells.empty() || x < 0 || x > m_upperX || y < 0 || y > m_upperY) {
            throw IndexOutOfRangeError("index (" + std::to_string(x) + ", " + std::to_string(y)
                                       + ") out of range");
        }
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_upperX + 1) + static_cast<std::size_t>(x);
    }

    int m_upperX = -1;
    int m_upperY = -1;
    std::vector<Stored> m_cells;
};

} // namespace morvelin
