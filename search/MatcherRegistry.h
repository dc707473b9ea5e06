// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceMatcher.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace morvelin {

// Every matcher the program knows, by name: the settings, the verbs, `--json` and the main window
// all read it. The first one usable with the detector's data is the default.
class MatcherRegistry {
public:
    struct Kind {
        QString name;
        // Why it cannot be used with the detector's data file `dataPath`; empty when it can.
        std::function<QString(const QString& dataPath)> problem;
        std::function<std::unique_ptr<FaceMatcher>(const QString& dataPath)> make;
    };

    struct Default {
        QString name;
        // One line when a better matcher cannot be used and why; empty otherwise.
        QString fallback;
    };

    // Best first.
    static const std::vector<Kind>& kinds();
    static QStringList names();
    // Null for a name no matcher has.
    static const Kind* find(const QString& name);
    static Default defaultFor(const QString& dataPath);
    // The matcher `name` (one of names()), or null with `problem` set when it cannot be used.
    static std::unique_ptr<FaceMatcher> make(const QString& name, const QString& dataPath, QString& problem);
};

} // namespace morvelin
