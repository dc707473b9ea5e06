#include "app/ChosenFace.h"

#include "base/BackgroundWork.h"
#include "search/MatcherRegistry.h"

#include <algorithm>

namespace morvelin {

namespace {

// The face as a scan finds it, read by every matcher that can be used: the detector is asked again,
// as the gallery keeps no key points, and the same picture gives the same faces in the same order.
FoundFace readFace(QFuture<SourcePicture::Result> detected, const QString& dataPath, int index)
{
    const SourcePicture::Result found = detected.result();
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

} // namespace

void ChosenFace::pick(const Key& key, const QImage& thumbnail, const SourcePicture::Prepared& source,
                      const QString& dataPath)
{
    clear();
    add(key, thumbnail, source, dataPath);
}

bool ChosenFace::toggle(const Key& key, const QImage& thumbnail, const SourcePicture::Prepared& source,
                        const QString& dataPath)
{
    const auto chosen = std::find_if(m_faces.begin(), m_faces.end(), [&](const Face& face) { return face.key == key; });
    if (chosen != m_faces.end()) {
        m_faces.erase(chosen);
        return true;
    }
    if (count() >= maxFaces) {
        return false;
    }
    add(key, thumbnail, source, dataPath);
    return true;
}

void ChosenFace::add(const Key& key, const QImage& thumbnail, const SourcePicture::Prepared& source,
                     const QString& dataPath)
{
    // One detection per picture, however many of its faces are chosen.
    const auto sameSource = std::find_if(m_faces.begin(), m_faces.end(),
                                         [&](const Face& face) { return face.key.acquisition == key.acquisition; });
    const QFuture<SourcePicture::Result> detected = sameSource != m_faces.end()
        ? sameSource->detected
        : BackgroundWork::future([source, dataPath] { return SourcePicture::findFacesIn(source, dataPath); });
    const int index = key.index;
    m_faces.push_back({key, thumbnail, detected, BackgroundWork::future([detected, dataPath, index] {
                           return readFace(detected, dataPath, index);
                       })});
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
        if (face.found.resultCount() == 0 || face.found.result().picture.isNull()) {
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
