#include "results/colour_scale.h"

namespace results {
namespace {

// Upper ends of the classes 0-5 (ratio to the typical value); 6 lies above.
constexpr double kTop[kRatioClasses - 1] = {0.5, 0.67, 1.5, 2.0, 3.0, 5.0};

}  // namespace

int ratio_class(double ratio) {
  int c = 0;
  while (c < kRatioClasses - 1 && !(ratio < kTop[c])) ++c;
  return c;
}

int rms_class(double rms, double typical) {
  if (typical > 0.0) return ratio_class(rms / typical);
  return rms > 0.0 ? kRatioClasses - 1 : ratio_class(1.0);
}

std::string ratio_css(int cls) { return "q" + std::to_string(cls); }

const char* grid_style() {
  // Red-blue diverging scale (ColorBrewer RdBu), readable with the common
  // colour-vision deficiencies.
  return ".q0{fill:#2166ac}.q1{fill:#92c5de}.q2{fill:#f7f7f7}.q3{fill:#fddbc7}\n"
         ".q4{fill:#f4a582}.q5{fill:#d6604d}.q6{fill:#67001f}\n"
         ".nodata{fill:#8c8c8c}.absent{fill:#d9d9d9}\n"
         ".mark-split{fill:#fff;stroke:#000;stroke-width:0.8}\n"
         ".mark-ecl{fill:#1b7837}\n"
         ".mark-event{fill:#7b3294}\n"
         ".mark-error{fill:#b2182b;font-size:11px;font-weight:bold}\n";
}

std::vector<LegendItem> ratio_legend() {
  static const char* const kLabels[kRatioClasses] = {
      "< 0.5", "0.5\xE2\x80\x93" "0.67", "0.67\xE2\x80\x93" "1.5", "1.5\xE2\x80\x93" "2",
      "2\xE2\x80\x93" "3", "3\xE2\x80\x93" "5", "\xE2\x89\xA5 5 times the system's median"};
  std::vector<LegendItem> items;
  for (int c = 0; c < kRatioClasses; ++c) items.push_back({ratio_css(c), kLabels[c]});
  return items;
}

std::vector<LegendItem> grid_legend() {
  std::vector<LegendItem> items = ratio_legend();
  items.push_back({"nodata", "no results that day"});
  items.push_back({"absent", "satellite not in the day's results"});
  items.push_back({"mark-split", "split by the run", LegendItem::Sample::Dot});
  items.push_back({"mark-ecl", "eclipsing (line under the cell)"});
  items.push_back({"mark-event", "satellite problem file event", LegendItem::Sample::Dot});
  return items;
}

}  // namespace results
