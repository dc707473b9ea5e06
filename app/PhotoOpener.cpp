// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#include "app/PhotoOpener.h"

#include "app/Helpers.h"
#include "app/Translate.h"
#include "base/ProgramNames.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

namespace morvelin {

namespace {

// xdg-open's status when no program is set up for the type (3: a tool it needs is missing, 4: the
// program it started failed).
bool openFailed(int exitCode, QProcess::ExitStatus status)
{
    return status != QProcess::NormalExit || exitCode != 0;
}

} // namespace

PhotoOpener::PhotoOpener(QWidget* window)
    : QObject(window)
    , m_window(window)
{
}

void PhotoOpener::open(const QString& photo)
{
    if (photo.isEmpty()) {
        return;
    }
    openWithDesktop(photo, [this, photo] { tell(photo); });
}

// xdg-open reports what QDesktopServices hides: whether anything took the file.
void PhotoOpener::openWithDesktop(const QString& target, std::function<void()> failed)
{
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (!OpenWithShell(target)) {
            failed();
        }
        return;
    }
    const QUrl url = QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
    auto* process = new QProcess(this);
    connect(process, &QProcess::errorOccurred, this, [process, failed](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            process->deleteLater();
            failed();
        }
    });
    connect(process, &QProcess::finished, this, [process, failed](int exitCode, QProcess::ExitStatus status) {
        process->deleteLater();
        if (openFailed(exitCode, status)) {
            failed();
        }
    });
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(xdgOpen, {url.toString(QUrl::FullyEncoded)});
}

void PhotoOpener::tell(const QString& photo)
{
    emit failed(photo);
    auto* box = new QMessageBox(QMessageBox::Information, ProgramNames::title(),
                                Translate(QT_TRANSLATE_NOOP("Morvelin", "No program on this computer opens this photo."))
                                    + QStringLiteral("\n\n") + QDir::toNativeSeparators(photo),
                                QMessageBox::Close, m_window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* folder =
        box->addButton(Translate(QT_TRANSLATE_NOOP("Morvelin", "Open the folder")), QMessageBox::ActionRole);
    // A folder that cannot be opened either leaves nothing more to offer.
    connect(folder, &QPushButton::clicked, this, [this, photo] { openWithDesktop(QFileInfo(photo).absolutePath(), [] {}); });
    box->open();
}

} // namespace morvelin
