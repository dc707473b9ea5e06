// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/AcquisitionController.h"

#include "app/Helpers.h"
#include "app/SourceAcquisition.h"

#include <QTimer>

namespace morvelin {

AcquisitionController::AcquisitionController(QString dataPath, QObject* parent)
    : QObject(parent)
    , m_dataPath(std::move(dataPath))
    , m_screenCapture(DesktopCapture)
{
    // Queued: the press is seen inside the event dispatch, the capture hides and shows windows.
    connect(&m_keyState, &KeyState::pressed, this, [this] {
        if (m_watchingF12) {
            emit captureRequested();
        }
    }, Qt::QueuedConnection);
}

void AcquisitionController::watchF12(bool watch)
{
    m_watchingF12 = watch;
}

SourceAcquisition* AcquisitionController::begin()
{
    m_facesFound = 0;
    // A detection still under way is not waited for: its faces must not reach the gallery.
    if (m_acquisition) {
        m_acquisition->abandon();
    }
    auto* acquisition = new SourceAcquisition(TempFolder(), m_dataPath, this);
    connect(acquisition, &SourceAcquisition::Notice, this, &AcquisitionController::notice);
    connect(acquisition, &SourceAcquisition::FaceFound, this, [this](const QImage& thumbnail) {
        ++m_facesFound;
        emit faceFound(thumbnail);
    });
    connect(acquisition, &SourceAcquisition::Completed, this, [this, acquisition] {
        m_found = std::make_shared<const SourcePicture::Result>(acquisition->found());
        acquisition->deleteLater();
        emit completed(m_facesFound);
    });
    m_acquisition = acquisition;
    return acquisition;
}

void AcquisitionController::fromScreen(int delayMs)
{
    SourceAcquisition* acquisition = begin();
    QTimer::singleShot(delayMs, acquisition, [this, acquisition] {
        m_screenCapture.capture([this, current = QPointer<SourceAcquisition>(acquisition)](const QImage& screen) {
            // A portal answers late; by then a newer acquisition may have taken over.
            if (current.isNull() || current->isAbandoned()) {
                return;
            }
            current->fromScreen(screen);
            emit started();
        });
    });
}

void AcquisitionController::fromFile(const QString& jpeg)
{
    begin()->fromFile(jpeg);
    emit started();
}

void AcquisitionController::fromPhoto(const QString& photo)
{
    begin()->fromPhoto(photo);
    emit started();
}

} // namespace morvelin
