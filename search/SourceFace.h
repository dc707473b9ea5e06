#pragma once

#include "engine/PixelCanvas.h"
#include "search/Matcher.h"

#include <vector>

namespace morvelin {

// The face searched for, in the form its matcher compares: the filtered 48 x 48 grid always, and with
// the features matcher also the unit vector of its facial features.
struct SourceFace {
    Matcher matcher = Matcher::Grid;
    PixelCanvas grid;
    std::vector<float> features;
};

} // namespace morvelin
