// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QObject>

namespace morvelin {

// Makes every tooltip of the application let the pointer through to what lies under it: a click on
// a button that a tooltip happens to cover reaches the button instead of only closing the tooltip.
class ClickThroughToolTips : public QObject {
    Q_OBJECT
public:
    // Once per application; later calls do nothing.
    static void install();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ClickThroughToolTips(QObject* parent) : QObject(parent) {}
};

} // namespace morvelin
