#pragma once

#include <QString>

namespace morvelin {

// The folder of the program's read-only files (the detector's data.xml and model), with one trailing
// "/": the program's own folder in a build tree, where they are copied beside the executable, and
// <prefix>/share/face-morvelin/ for a program installed into <prefix>/bin. Empty when no
// application exists yet.
QString DataFolder();

} // namespace morvelin
