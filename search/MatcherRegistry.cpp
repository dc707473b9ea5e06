// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/MatcherRegistry.h"

#include "search/FeaturesMatcher.h"
#include "search/GridMatcher.h"

namespace morvelin {

const std::vector<MatcherRegistry::Kind>& MatcherRegistry::kinds()
{
    static const std::vector<Kind> all{
        {QString::fromLatin1(FeaturesMatcher::matcherName), &FeaturesMatcher::problemWith,
         [](const QString& dataPath) { return std::make_unique<FeaturesMatcher>(dataPath); }},
        {QString::fromLatin1(GridMatcher::matcherName), [](const QString&) { return QString(); },
         [](const QString&) { return std::make_unique<GridMatcher>(); }},
    };
    return all;
}

QStringList MatcherRegistry::names()
{
    QStringList names;
    for (const Kind& kind : kinds()) {
        names.append(kind.name);
    }
    return names;
}

const MatcherRegistry::Kind* MatcherRegistry::find(const QString& name)
{
    for (const Kind& kind : kinds()) {
        if (kind.name == name) {
            return &kind;
        }
    }
    return nullptr;
}

MatcherRegistry::Default MatcherRegistry::defaultFor(const QString& dataPath)
{
    QString firstProblem;
    for (const Kind& kind : kinds()) {
        const QString problem = kind.problem(dataPath);
        if (problem.isEmpty()) {
            if (firstProblem.isEmpty()) {
                return {kind.name, QString()};
            }
            return {kind.name, firstProblem + QStringLiteral("; comparing faces by the ") + kind.name
                                   + QStringLiteral(" matcher instead")};
        }
        if (firstProblem.isEmpty()) {
            firstProblem = problem;
        }
    }
    return {kinds().back().name, QString()};
}

std::unique_ptr<FaceMatcher> MatcherRegistry::make(const QString& name, const QString& dataPath, QString& problem)
{
    const Kind* kind = find(name);
    if (!kind) {
        problem = QStringLiteral("there is no matcher '%1'").arg(name);
        return nullptr;
    }
    problem = kind->problem(dataPath);
    return problem.isEmpty() ? kind->make(dataPath) : nullptr;
}

} // namespace morvelin
