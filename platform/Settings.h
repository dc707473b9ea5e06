#pragma once

#include <QString>

namespace morvelin {

// The program's one per-user setting, "ShowTip" in section "Welcome": whether the welcome window
// comes up at start. Kept as the text "1" or "0" in ~/.config/Face Morvelin/Face Morvelin.conf.
class Settings {
public:
    // The stored text; "1" when nothing is stored or the store cannot be read, so a broken store
    // never hides the window that explains how to use the program.
    static QString showTip();

    // Only the exact text "1" asks for the welcome window.
    static bool showWelcome();

    // Stores "1" or "0" at once. False when the store cannot be written.
    static bool setShowTip(bool show);
};

} // namespace morvelin
