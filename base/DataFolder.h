// SPDX-FileCopyrightText: 2026 The Face Morvelin developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace morvelin {

// The folder of the program's read-only files (the detector's data.xml and model), with one trailing
// "/": the program's own folder when they lie there, else <prefix>/share/face-morvelin/ for a program
// in <prefix>/bin (the build tree copies them to the same place beside build/app). Empty when no
// application exists yet.
QString DataFolder();

// The detector's data file in DataFolder().
QString DetectorDataPath();

} // namespace morvelin
