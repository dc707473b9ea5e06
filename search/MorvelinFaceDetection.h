// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "search/FaceDetector.h"

#include <QObject>
#include <QString>

#include <functional>

class QImage;

namespace morvelin {

// The face detector as the windows use it: Detect returns at once, the work runs on the worker pool
// (one thread per core, further work waits), and the notifications arrive on this object's thread in
// order: Notice, one FaceDetected and FaceFound per face in reading order, then Completed exactly once, also when the
// image or the data file cannot be used. Several detections, on one object or on many, may be under
// way at once. Destroying the object while a detection runs is safe: its notifications are dropped.
class MorvelinFaceDetection : public QObject {
    Q_OBJECT

public:
    explicit MorvelinFaceDetection(QObject* parent = nullptr);

    // The picture as it is in memory: the caller decodes it, with its orientation applied.
    void Detect(const QImage& picture, const QString& dataPath);

    // Why the last completed detection found nothing to look at, or empty when it ran.
    QString lastError() const { return m_lastError; }

signals:
    void Notice();
    // Left x1, right x2, top y1, bottom y2 in pixels of the image file, x1 < x2 and y1 < y2.
    void FaceFound(int x1, int x2, int y1, int y2);
    // The same face with its score and key points, just before its FaceFound.
    void FaceDetected(const morvelin::DetectedFace& face);
    void Completed();

private:
    void start(std::function<FaceDetector::Result()> detect);
    void finish(const QString& error);

    QString m_lastError;
};

} // namespace morvelin
