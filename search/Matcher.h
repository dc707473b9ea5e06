#pragma once

#include <QString>

#include <optional>

namespace morvelin {

// How a found face is compared with the chosen one: the 48 x 48 brightness grid, or the facial
// features a recognition model reads from the aligned face.
enum class Matcher { Grid, Features };

inline QString matcherName(Matcher matcher)
{
    return matcher == Matcher::Features ? QStringLiteral("features") : QStringLiteral("grid");
}

inline std::optional<Matcher> matcherFromName(const QString& name)
{
    if (name == QLatin1String("grid")) {
        return Matcher::Grid;
    }
    if (name == QLatin1String("features")) {
        return Matcher::Features;
    }
    return std::nullopt;
}

} // namespace morvelin
