#include "search/SourcePicture.h"

#include "search/FaceCutter.h"
#include "search/FaceDetector.h"
#include "search/FaceFeatures.h"
#include "search/FaceFilter.h"
#include "search/FacePictureLoader.h"
#include "search/ImageX.h"
#include "search/NativePath.h"
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
    if (image.width() > widestPhoto) {
        image.resize(widestPhoto, 0);
    }
    Prepared result;
    result.picture = image.picture();
    if (result.picture.isNull()) {
        return unreadable(photo, image.errorString());
    }
    // The detector reads the very pixels faces are cut from, as a scan does, so that a face chosen
    // from a photo and the same face found by a scan get the same box.
    result.detected = result.picture;
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
    result.detected = result.picture;
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
    const FaceDetector::Result detected = FaceDetector::detect(prepared.detected, dataPath);
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

PixelCanvas SourcePicture::chosenFace(const QImage& thumbnail)
{
    return FacePictureLoader::fromImage(filteredFace(thumbnail));
}

SourceFace SourcePicture::sourceFace(const Result& found, std::size_t index, Matcher matcher, const QString& dataPath,
                                     QString& error)
{
    SourceFace face;
    face.matcher = matcher;
    face.grid = chosenFace(thumbnail(found, index));
    if (matcher != Matcher::Features || index >= found.faces.size()) {
        return face;
    }
    const FaceFeatures::Loaded loaded = FaceFeatures::forFile(FaceFeatures::pathBeside(dataPath));
    if (!loaded.model) {
        error = loaded.error;
        return face;
    }
    face.features = loaded.model->vectorOf(alignedFace(found, index));
    return face;
}

QImage SourcePicture::alignedFace(const Result& found, std::size_t index)
{
    return index < found.faces.size() ? FaceFeatures::align(found.picture, found.faces[index]) : QImage();
}

} // namespace morvelin
