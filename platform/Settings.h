#pragma once

#include <QString>

namespace morvelin {

// The program's per-user settings in ~/.config/Face Morvelin/Face Morvelin.conf: "ShowTip" in section
// "Welcome", whether the welcome window comes up at start, kept as the text "1" or "0"; and "Matcher"
// in section "Search", the name of the matcher the user chose to compare faces.
class Settings {
public:
    // The stored text; "1" when nothing is stored or the store cannot be read, so a broken store
    // never hides the window that explains how to use the program.
    static QString showTip();

    // Only the exact text "1" asks for the welcome window.
    static bool showWelcome();

    // Stores "1" or "0" at once. False when the store cannot be written.
    static bool setShowTip(bool show);

    // The stored matcher's name as stored; empty when none is (the program's default then applies).
    static QString matcher();
    static bool setMatcher(const QString& name);
};

} // namespace morvelin
