#include "search/SourcePicture.h"

#include "search/FaceCutter.h"
#include "search/FaceDetector.h"
#include "search/FaceFilter.h"
#include "search/FacePictureLoader.h"
#include "search/ImageX.h"
#include "search/NativePath.h"
#include "search/TemporaryPhotoName.h"

#include <QFile>

namespace morvelin {

namespace {

SourcePicture::Result unreadable(const QString& photo, const QString& why)
{
    SourcePicture::Result result;
    result.error = QStringLiteral("cannot read '%1': %2").arg(NativePath::escaped(photo), why);
    result.unreadablePhoto = true;
    return result;
}

} // namespace

SourcePicture::Result SourcePicture::findFaces(const QString& photo, const QString& tempFolder,
                                               const QString& dataPath)
{
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
        result.error = TemporaryPhotoName::whyNotIn(tempFolder);
        return result;
    }
    if (!image.save(jpeg)) {
        QFile::remove(jpeg);
        return unreadable(photo, image.errorString());
    }

    Result result;
    result.picture = QImage(jpeg);
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

PixelCanvas SourcePicture::chosenFace(const QImage& thumbnail)
{
    QImage filtered = thumbnail;
    FaceFilter::apply(filtered);
    return FacePictureLoader::fromImage(filtered);
}

} // namespace morvelin
