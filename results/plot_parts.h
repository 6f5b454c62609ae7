// The two layouts of the run's picture and what they share.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "results/run_record.h"
#include "results/svg_doc.h"

namespace results {

constexpr double kPlotMargin = 16.0;  // left and right edge of every line of text

// One protocol: width of the picture its panels need.
double bars_width(const RunRecord& run);

// One protocol: a panel of bars per satellite system, from y = top; returns
// the y below the last panel.
double draw_bars(SvgDoc& svg, const RunRecord& run, int ircode, double top, double width);

// Several protocols: width of the heat map.
double heatmap_width(const RunRecord& run);

// Several protocols: a heat map of the RMS, from y = top; returns the y
// below it.
double draw_heatmap(SvgDoc& svg, const RunRecord& run, int ircode, double top, double width);

// Style rules of the heat map's cells, marks and labels.
std::string heatmap_style();

// A legend entry: a sample drawn in class cls, and its text.
struct LegendItem {
  enum class Sample { Swatch, Line, Dot, Cross };
  std::string cls;
  std::string label;
  Sample sample = Sample::Swatch;
};

// The entries in rows from y = top, wrapped at width; returns the y below.
double draw_legend(SvgDoc& svg, const std::vector<LegendItem>& items, double top, double width);

// Tooltip text of a satellite: number, system, RMS, eclipse.
std::string satellite_tip(const ProtocolExtract& extract, int i);

// Name of the satellite's system; "other" outside 0-599.
std::string_view system_name(int satNum);

}  // namespace results
