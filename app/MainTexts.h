// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace morvelin {

// Texts of the main window that are made rather than written out.
class MainTexts {
public:
    // "Version 1.04 Build: 12" for 1.4.12.
    static QString versionText(int major, int minor, int build);
    // The photo dialog's file types, in the dialog's own notation.
    static QString dialogFilter();
    static QString legalNotice();
};

} // namespace morvelin
