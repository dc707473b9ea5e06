// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/KeyState.h"
#include "platform/ScreenCapture.h"
#include "search/SourcePicture.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

namespace morvelin {

class SourceAcquisition;

// How the source picture reaches the main window: F12, the tray or a chosen photo start an
// acquisition (the screen captured, or a file read), the faces found come back one by one. Only the
// newest acquisition reports; an older one still under way is abandoned.
class AcquisitionController : public QObject {
    Q_OBJECT

public:
    explicit AcquisitionController(QString dataPath, QObject* parent = nullptr);

    QString dataPath() const { return m_dataPath; }
    void setDataPath(const QString& dataPath) { m_dataPath = dataPath; }

    // Each of these abandons the acquisition under way. The screen is captured after `delayMs`, so a
    // window can leave the screen first.
    void fromScreen(int delayMs);
    void fromFile(const QString& jpeg);
    // The photo is only read.
    void fromPhoto(const QString& photo);

    int facesFound() const { return m_facesFound; }
    // The source picture of the last completed acquisition and the faces found in it.
    std::shared_ptr<const SourcePicture::Result> found() const { return m_found; }

    // While not watched, F12 presses are dropped, so a press during a search or a detection does not
    // count later.
    void watchF12(bool watch);
    bool watchingF12() const { return m_watchingF12; }
    // F12 seen by a window of the program itself, where the key cannot be watched globally.
    void noteF12() { m_keyState.notePressed(); }

signals:
    // F12 was pressed while watched.
    void captureRequested();
    // The acquisition has its picture and the detection starts.
    void started();
    void notice();
    void faceFound(const QImage& thumbnail);
    void completed(int facesFound);

private:
    SourceAcquisition* begin();

    QString m_dataPath;
    QPointer<SourceAcquisition> m_acquisition;
    ScreenCapture m_screenCapture;
    KeyState m_keyState;
    int m_facesFound = 0;
    bool m_watchingF12 = false;
    std::shared_ptr<const SourcePicture::Result> m_found;
};

} // namespace morvelin
