#include "search/SourcePicture.h"

#include "search/FaceCutter.h"
#include "search/FaceDetector.h"
#include "search/FaceFilter.h"
#include "search/FacePictureLoader.h"
#include "search/ImageX.h"
#include "search/TemporaryPhotoName.h"

#include <QFile>
#include <QFileInfo>

namespace morvelin {

namespace {

SourcePicture::Result unreadable(const QString& photo, const QString& why)
{
    SourcePicture::Result result;
    result.error = QStringLiteral("cannot read '%1': %2").arg(photo, why);
    result.unreadablePhoto = true;
    return result;
}

} // namespace

SourcePicture::Result SourcePicture::findFaces(const QString& photo, const QString& tempFolder,
                                               const QString& dataPath)
{
    const QFileInfo info(photo);
    if (!info.exists()) {
        return unreadable(photo, QStringLiteral("no such file"));
    }
    if (info.isDir()) {
        return unreadable(photo, QStringLiteral("is a folder, not a photo"));
    }
    ImageX image;
    if (!image.load(photo)) {
        return unreadable(photo, image.errorString());
    }
    if (image.width() > widestPhoto) {
        image.resize(widestPhoto, 0);
    }
    const QString jpeg = TemporaryPhotoName::create(tempFolder, QStringLiteral("FaceMorvelin"));
    if (jpeg.isEmpty()) {
        Result result;
        result.error = QStringLiteral("cannot create a temporary file in %1").arg(tempFolder);
        return result;
    }
    if (!image.save(jpeg)) {
        QFile::remove(jpeg);
        return unreadable(photo, image.errorString());
    }

    // Faces are cut from the scaled picture itself, as a scan cuts them, so that a face chosen from a
    // photo and the same face found by a scan are the same pixels.
    Result result;
    result.picture = image.picture();
    const FaceDetector::Result detected = FaceDetector::detectFile(jpeg, dataPath);
    QFile::remove(jpeg);
    result.faces = detected.faces;
    result.error = detected.error;
    return result;
}

QImage SourcePicture::thumbnail(const Result& found, std::size_t index)
{
    if (index >= found.faces.size()) {
        return QImage();
    }
    const DetectedFace& face = found.faces[index];
    return FaceCutter::cut(found.picture, face.x1, face.x2, face.y1, face.y2);
}

QImage SourcePicture::comparedFace(const QImage& thumbnail)
{
    QImage filtered = thumbnail;
    FaceFilter::apply(filtered);
    return filtered;
}

PixelCanvas SourcePicture::chosenFace(const QImage& thumbnail)
{
    return FacePictureLoader::fromImage(comparedFace(thumbnail));
}

} // namespace morvelin
