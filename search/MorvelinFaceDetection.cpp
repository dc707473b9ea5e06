// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "search/MorvelinFaceDetection.h"

#include "base/BackgroundWork.h"
#include "search/FaceDetector.h"

#include <QImage>

namespace morvelin {

static_assert(sizeof(int) == 4, "the notifications carry 32-bit coordinates");

MorvelinFaceDetection::MorvelinFaceDetection(QObject* parent) : QObject(parent) {}

void MorvelinFaceDetection::Detect(const QImage& picture, const QString& dataPath)
{
    start([picture, dataPath] { return FaceDetector::detect(picture, dataPath); });
}

// What the worker posts runs on this object's thread, and only while this object lives.
void MorvelinFaceDetection::start(std::function<FaceDetector::Result()> detect)
{
    BackgroundWork::start(this, [this, detect = std::move(detect)](BackgroundWork& work) {
        work.post([this] { emit Notice(); });
        QString error;
        try {
            const FaceDetector::Result result = detect();
            for (const DetectedFace& face : result.faces) {
                work.post([this, face] {
                    emit FaceDetected(face);
                    emit FaceFound(face.x1, face.x2, face.y1, face.y2);
                });
            }
            error = result.error;
        } catch (const std::exception& failure) {
            // Completed must still come, whatever went wrong.
            error = QStringLiteral("face detection failed: %1").arg(QString::fromLocal8Bit(failure.what()));
        }
        work.post([this, error] { finish(error); });
    });
}

void MorvelinFaceDetection::finish(const QString& error)
{
    m_lastError = error;
    emit Completed();
}

} // namespace morvelin
