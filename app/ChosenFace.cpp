// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/ChosenFace.h"

#include "base/BackgroundWork.h"
#include "search/MatcherRegistry.h"

#include <algorithm>

namespace morvelin {

namespace {

// The face as a scan finds it, read by every matcher that can be used.
FoundFace readFace(const SourcePicture::Result& found, const QString& dataPath, int index)
{
    if (index < 0 || std::size_t(index) >= found.faces.size()) {
        return FoundFace();
    }
    FoundFace face = FoundFace::cutFrom(found.picture, found.faces[std::size_t(index)]);
    for (const MatcherRegistry::Kind& kind : MatcherRegistry::kinds()) {
        if (kind.problem(dataPath).isEmpty()) {
            std::vector<FoundFace> faces{face};
            if (kind.make(dataPath)->read(found.picture, {found.faces[std::size_t(index)]}, faces).isEmpty()) {
                face = std::move(faces.front());
            }
        }
    }
    return face;
}

// Each future in turn, on the context's thread, without ever blocking it.
void waitForAll(QObject* context, std::vector<QFuture<FoundFace>> pending, std::function<void()> then)
{
    while (!pending.empty() && pending.back().isFinished()) {
        pending.pop_back();
    }
    if (pending.empty()) {
        then();
        return;
    }
    QFuture<FoundFace> next = pending.back();
    next.then(context, [context, pending = std::move(pending), then = std::move(then)](const FoundFace&) mutable {
        waitForAll(context, std::move(pending), std::move(then));
    });
}

} // namespace

void ChosenFace::pick(const Key& key, const QImage& thumbnail, const Found& found, const QString& dataPath)
{
    clear();
    add(key, thumbnail, found, dataPath);
}

bool ChosenFace::toggle(const Key& key, const QImage& thumbnail, const Found& found, const QString& dataPath)
{
    const auto chosen = std::find_if(m_faces.begin(), m_faces.end(), [&](const Face& face) { return face.key == key; });
    if (chosen != m_faces.end()) {
        m_faces.erase(chosen);
        return true;
    }
    if (count() >= maxFaces) {
        return false;
    }
    add(key, thumbnail, found, dataPath);
    return true;
}

void ChosenFace::add(const Key& key, const QImage& thumbnail, const Found& found, const QString& dataPath)
{
    const int index = key.index;
    m_faces.push_back({key, thumbnail, BackgroundWork::future([found, dataPath, index] {
                           return found ? readFace(*found, dataPath, index) : FoundFace();
                       })});
}

bool ChosenFace::isRead() const
{
    return std::all_of(m_faces.begin(), m_faces.end(), [](const Face& face) { return face.found.isFinished(); });
}

void ChosenFace::whenRead(QObject* context, std::function<void()> then) const
{
    std::vector<QFuture<FoundFace>> pending;
    for (const Face& face : m_faces) {
        pending.push_back(face.found);
    }
    waitForAll(context, std::move(pending), std::move(then));
}

void ChosenFace::clear()
{
    m_faces.clear();
}

bool ChosenFace::contains(const Key& key) const
{
    return std::any_of(m_faces.begin(), m_faces.end(), [&](const Face& face) { return face.key == key; });
}

std::vector<ChosenFace::Key> ChosenFace::keys() const
{
    std::vector<Key> keys;
    for (const Face& face : m_faces) {
        keys.push_back(face.key);
    }
    return keys;
}

std::vector<QImage> ChosenFace::thumbnails() const
{
    std::vector<QImage> thumbnails;
    for (const Face& face : m_faces) {
        thumbnails.push_back(face.thumbnail);
    }
    return thumbnails;
}

std::shared_ptr<const FaceQuery> ChosenFace::forSearch(const QString& matcherName, const QString& dataPath,
                                                       QString& problem)
{
    std::unique_ptr<FaceMatcher> matcher = MatcherRegistry::make(matcherName, dataPath, problem);
    if (!matcher || m_faces.empty()) {
        return nullptr;
    }
    std::vector<FoundFace> person;
    for (Face& face : m_faces) {
        face.found.waitForFinished();
        if (face.found.resultCount() == 0 || face.found.result().blank) {
            continue;
        }
        if (!matcher->hasRead(face.found.result())) {
            // The face could not be read by this matcher (its model went away since the pick).
            problem = QStringLiteral("the chosen face could not be read by the %1 matcher").arg(matcherName);
            return nullptr;
        }
        person.push_back(face.found.result());
    }
    if (person.empty()) {
        problem = QStringLiteral("the chosen face could not be found again in its picture");
        return nullptr;
    }
    return FaceQuery::of(std::move(matcher), person);
}

} // namespace morvelin
