// The colour scale of a satellite x day grid and its cell marks: a cell's
// colour says how far its RMS lies from its system's typical value (the
// median of the system's satellites) that day, so an outlier stands out in
// a quiet system and a noisy system does not dominate. Diverging and
// colour-blind safe: blue below, light around the typical value, red above.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "results/plot_parts.h"

namespace results {

constexpr int kRatioClasses = 7;

// Class (0-6) of an RMS that is ratio times its system's typical value.
int ratio_class(double ratio);

// Class of an RMS against its system's typical value. A typical value of 0
// or less (a system of zeros) gives an RMS of 0 or less the class of the
// typical value and any larger RMS the top class.
int rms_class(double rms, double typical);

// CSS class name of a ratio class ("q0".."q6").
std::string ratio_css(int cls);

// Style rules of the classes and of the marks: "nodata" (no results that
// day), "absent" (not in the day's protocol), "mark-split", "mark-ecl",
// "mark-event" and "mark-error".
const char* grid_style();

// The legend of the scale alone, for draw_legend.
std::vector<LegendItem> ratio_legend();

// The legend of the scale and of the marks, for draw_legend.
std::vector<LegendItem> grid_legend();

}  // namespace results
