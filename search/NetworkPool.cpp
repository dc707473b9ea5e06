// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/NetworkPool.h"

namespace morvelin {

NetworkPool::NetworkPool(std::vector<uchar> bytes)
    : m_bytes(std::move(bytes))
{
}

cv::dnn::Net NetworkPool::borrow()
{
    {
        const std::lock_guard lock(m_mutex);
        if (!m_idle.empty()) {
            cv::dnn::Net net = m_idle.back();
            m_idle.pop_back();
            return net;
        }
    }
    return cv::dnn::readNetFromONNX(m_bytes);
}

void NetworkPool::giveBack(cv::dnn::Net net)
{
    const std::lock_guard lock(m_mutex);
    m_idle.push_back(std::move(net));
}

} // namespace morvelin
