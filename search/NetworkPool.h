// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <opencv2/core.hpp>
#include <opencv2/dnn.hpp>

#include <mutex>
#include <vector>

namespace morvelin {

// The networks of one model file for several threads at once: an OpenCV network must not run two
// inputs at the same time, so each caller borrows one (made on first need from the model's bytes,
// read once) and gives it back for the next.
class NetworkPool {
public:
    explicit NetworkPool(std::vector<uchar> bytes);

    cv::dnn::Net borrow();
    void giveBack(cv::dnn::Net net);

private:
    std::vector<uchar> m_bytes;
    std::mutex m_mutex;
    std::vector<cv::dnn::Net> m_idle;
};

} // namespace morvelin
