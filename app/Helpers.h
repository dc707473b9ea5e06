// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include "base/Folders.h"

#include <QImage>
#include <QString>

class QLabel;
class QWidget;

namespace morvelin {

// The small desktop services the windows share. None of them reports an error: a step that fails is
// skipped, and text results are empty on failure.

void FormOnTop(QWidget* window);
void FormNotOnTop(QWidget* window);

// A file, a folder or a web address, opened with whatever the desktop associates with it; false when
// nothing could be started for it.
bool OpenWithShell(const QString& target);

// The chosen folder with one trailing "/", or empty when cancelled. root names the folder to start
// in; anything that is not an existing folder starts in the home folder. Both styles get the
// desktop's own folder dialog: the classic/new distinction is a Windows one.
QString BrowseFolder(QWidget* owner, const QString& title, bool newStyle, const QString& root);

// The whole desktop, every screen at its place; a null image when nothing can be grabbed.
QImage DesktopCapture();

void DrawFileIcon(const QString& path, QLabel* box, bool small);

// The window ExitProgram closes first, so that it takes its tray icon down.
void SetMainWindow(QWidget* window);
void ExitProgram();

} // namespace morvelin
