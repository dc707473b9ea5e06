// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace morvelin {

// The one context of the program's phrase book. Call sites mark their texts with
// QT_TRANSLATE_NOOP("Morvelin", "...") so that lupdate finds them.
inline constexpr char TranslationContext[] = "Morvelin";

// The user's language version of an English user-interface text: the text itself when that
// language has no translation, empty when no application exists yet to translate for.
QString Translate(const QString& english);
// For texts marked at the call: Translate(QT_TRANSLATE_NOOP("Morvelin", "...")).
inline QString Translate(const char* english)
{
    return Translate(QString::fromUtf8(english));
}

// Makes the user's language the program's, Qt's own dialogs included; Translate() does it on first use.
void InstallTranslations();

} // namespace morvelin
