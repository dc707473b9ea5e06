// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/MemoryBudget.h"

namespace morvelin {

MemoryBudget::MemoryBudget(std::int64_t bytes)
    : m_total(bytes)
{
}

MemoryBudget::Grant MemoryBudget::acquire(std::int64_t bytes)
{
    if (bytes > m_total) {
        return Grant::TooLarge;
    }
    std::unique_lock lock(m_mutex);
    const std::uint64_t ticket = m_nextTicket++;
    m_changed.wait(lock, [&] { return m_cancelled || (ticket == m_serving && m_used + bytes <= m_total); });
    if (m_cancelled) {
        return Grant::Cancelled;
    }
    m_used += bytes;
    ++m_serving;
    m_changed.notify_all();
    return Grant::Granted;
}

void MemoryBudget::release(std::int64_t bytes)
{
    const std::lock_guard lock(m_mutex);
    m_used -= bytes;
    m_changed.notify_all();
}

void MemoryBudget::cancel()
{
    const std::lock_guard lock(m_mutex);
    m_cancelled = true;
    m_changed.notify_all();
}

} // namespace morvelin
