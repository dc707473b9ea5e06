#pragma once

#include <QString>

namespace morvelin {

// The one context of the program's phrase book. Call sites mark their texts with
// QT_TRANSLATE_NOOP("Morvelin", "...") so that lupdate finds them.
inline constexpr char TranslationContext[] = "Morvelin";

// The user's language version of an English user-interface text: the text itself when that
// language has no translation, empty when no application exists yet to translate for.
QString Translate(const QString& english);

} // namespace morvelin
