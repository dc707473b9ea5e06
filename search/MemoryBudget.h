// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace morvelin {

// The memory one search may use for its photos, shared by the scans under way whatever their
// number: a scan takes what its photo needs before decoding it and gives it back at its end. Scans
// are served in the order they ask, so a large photo is not passed over for ever by small ones.
class MemoryBudget {
public:
    static constexpr std::int64_t defaultBytes = std::int64_t(1) << 30;

    enum class Grant { Granted, TooLarge, Cancelled };

    explicit MemoryBudget(std::int64_t bytes = defaultBytes);

    std::int64_t total() const { return m_total; }
    // Waits until `bytes` are free; TooLarge at once when they exceed the whole budget.
    Grant acquire(std::int64_t bytes);
    void release(std::int64_t bytes);
    // Every scan waiting now or later gets Cancelled: the search is stopping.
    void cancel();

private:
    const std::int64_t m_total;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::int64_t m_used = 0;
    std::uint64_t m_nextTicket = 0;
    std::uint64_t m_serving = 0;
    bool m_cancelled = false;
};

} // namespace morvelin
