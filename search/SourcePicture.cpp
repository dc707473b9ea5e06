// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/SourcePicture.h"

#include "search/FaceCutter.h"
#include "search/FaceDetector.h"
#include "search/FaceFeatures.h"
#include "search/FaceFilter.h"
#include "search/ImageX.h"
#include "search/NativePath.h"
#include "search/PhotoScan.h"
#include "search/TemporaryPhotoName.h"

#include <QFile>

namespace morvelin {

namespace {

const QString tempFilePrefix = QStringLiteral("FaceMorvelin");
// The screen is read by the detector as sharp as it was shown.
constexpr int screenJpegQuality = 100;

SourcePicture::Prepared unreadable(const QString& photo, const QString& why)
{
    SourcePicture::Prepared result;
    result.error = QStringLiteral("cannot read '%1': %2").arg(NativePath::escaped(photo), why);
    result.unreadablePhoto = true;
    return result;
}

SourcePicture::Prepared noTemporaryFile(const QString& tempFolder)
{
    SourcePicture::Prepared result;
    result.error = TemporaryPhotoName::whyNotIn(tempFolder);
    return result;
}

} // namespace

SourcePicture::Prepared SourcePicture::preparePhoto(const QString& photo)
{
    ImageX image;
    if (!image.load(photo)) {
        return unreadable(photo, image.errorString());
    }
    const QSize photoSize(image.width(), image.height());
    PhotoScan::scaleDown(image);
    Prepared result;
    result.photoSize = photoSize;
    result.picture = image.picture();
    if (result.picture.isNull()) {
        return unreadable(photo, image.errorString());
    }
    return result;
}

SourcePicture::Prepared SourcePicture::prepareScreen(const QImage& screen, const QString& tempFolder)
{
    if (screen.isNull()) {
        Prepared result;
        result.error = QStringLiteral("the screen could not be captured");
        return result;
    }
    const QString jpeg = TemporaryPhotoName::create(tempFolder, tempFilePrefix);
    if (jpeg.isEmpty() || !screen.save(jpeg, "JPG", screenJpegQuality)) {
        QFile::remove(jpeg);
        return noTemporaryFile(tempFolder);
    }
    Prepared result;
    result.jpeg = jpeg;
    result.picture = QImage(jpeg);
    result.photoSize = result.picture.size();
    return result;
}

SourcePicture::Result SourcePicture::findFaces(const QString& photo, const QString& dataPath)
{
    const Prepared prepared = preparePhoto(photo);
    if (!prepared.ok()) {
        Result result;
        result.error = prepared.error;
        result.unreadablePhoto = prepared.unreadablePhoto;
        return result;
    }
    return findFacesIn(prepared, dataPath);
}

QImage SourcePicture::thumbnail(const QImage& picture, const DetectedFace& face)
{
    return FaceCutter::cut(picture, face.x1, face.x2, face.y1, face.y2);
}

SourcePicture::Result SourcePicture::findFacesIn(const Prepared& prepared, const QString& dataPath)
{
    Result result;
    result.picture = prepared.picture;
    result.photoSize = prepared.photoSize;
    const FaceDetector::Result detected = FaceDetector::detect(prepared.picture, dataPath);
    result.faces = detected.faces;
    result.error = detected.error;
    return result;
}

QImage SourcePicture::thumbnail(const Result& found, std::size_t index)
{
    if (index >= found.faces.size()) {
        return QImage();
    }
    return thumbnail(found.picture, found.faces[index]);
}

QImage SourcePicture::filteredFace(const QImage& thumbnail)
{
    QImage filtered = thumbnail;
    FaceFilter::apply(filtered);
    return filtered;
}

FoundFace SourcePicture::personFace(const Result& found, std::size_t index, const FaceMatcher& matcher, QString& error)
{
    if (index >= found.faces.size()) {
        return FoundFace();
    }
    std::vector<FoundFace> faces{FoundFace::cutFrom(found.picture, found.faces[index])};
    error = matcher.read(found.picture, {found.faces[index]}, faces);
    return faces.front();
}

QImage SourcePicture::alignedFace(const Result& found, std::size_t index)
{
    return index < found.faces.size() ? FaceFeatures::align(found.picture, found.faces[index]) : QImage();
}

} // namespace morvelin
