// Several protocols: one column per protocol, one row per satellite. A
// cell's colour says how far the satellite's RMS lies from the median of
// its system in the same protocol (the scale of the history view), so an
// outlier stands out in a quiet system and a noisy system does not take the
// eye; values above TOL_RMS carry a cross in every column.
#include <algorithm>
#include <cmath>
#include <map>

#include "results/colour_scale.h"
#include "results/number_text.h"
#include "results/plot_parts.h"
#include "timeutil/stripdir.h"

namespace results {
namespace {

constexpr double kLeft = 96.0;    // system names and satellite numbers
constexpr double kRow = 13.0;
constexpr double kLabel = 11.0;   // font size of the row and column labels
constexpr double kGap = 5.0;      // between the grid and its labels
constexpr const char* kCross = "\xC3\x97";

// Every satellite of the run, by number, with its row.
std::map<int, int> satellite_rows(const RunRecord& run) {
  std::map<int, int> rows;
  for (const ProtocolRecord& p : run.protocols) {
    for (int i = 0; i < std::clamp(p.extract.nSat, 0, kMaxSat); ++i) rows[p.extract.satNum[i]] = 0;
  }
  int r = 0;
  for (auto& [sat, row] : rows) row = r++;
  return rows;
}

double column_width(std::size_t n) {
  return std::clamp(std::floor(1100.0 / static_cast<double>(n)), 13.0, 44.0);
}

std::string column_name(const ProtocolRecord& p) {
  std::string base = p.fileName;
  timeutil::STRIPDIR(base);
  if (base.size() > 22) base = base.substr(0, 21) + "\xE2\x80\xA6";
  // A protocol that gave no arc window has no day to show.
  return (p.hasWindow ? std::to_string(p.middleDay) : std::string("---")) + "  " + base;
}

// Room for the column labels, above the grid and again below it.
double label_height(const RunRecord& run) {
  double most = 0.0;
  for (const ProtocolRecord& p : run.protocols) {
    most = std::max(most, text_width(column_name(p), kLabel));
  }
  return most + 2 * kGap;
}

// Room right of the grid for the satellite numbers.
double right_width(const std::map<int, int>& rows) {
  double most = 0.0;
  for (const auto& [sat, row] : rows) most = std::max(most, text_width(std::to_string(sat), kLabel));
  return kGap + most + kPlotMargin;
}

// Geometry of the map.
struct Grid {
  double top = 0.0, colW = 0.0;
  std::size_t nCol = 0;
  int nRow = 0;
  double x(std::size_t col) const { return kLeft + colW * static_cast<double>(col); }
  double y(int row) const { return top + kRow * row; }
  double right() const { return x(nCol); }
  double bottom() const { return y(nRow); }
};

// Each protocol's name over its column, and under it read upwards.
void draw_column_labels(SvgDoc& svg, const RunRecord& run, const Grid& g) {
  for (std::size_t c = 0; c < g.nCol; ++c) {
    const double cx = g.x(c) + g.colW / 2 + 4.0;
    const std::string name = column_name(run.protocols[c]);
    svg.text(cx, g.top - kGap, name, "hm-label", "start", -90.0);
    svg.text(cx, g.bottom() + kGap, name, "hm-label", "end", -90.0);
  }
}

// Satellite numbers on both sides, and the system's name at the first row
// of each system.
void draw_rows(SvgDoc& svg, const std::map<int, int>& rows, const Grid& g) {
  std::string_view last;
  for (const auto& [sat, row] : rows) {
    const std::string_view sys = system_name(sat);
    if (sys != last) {
      if (row > 0) svg.line(kPlotMargin, g.y(row), g.right() + kGap, g.y(row), "axis");
      svg.text(kPlotMargin, g.y(row) + 10, sys, "legend");
      last = sys;
    }
    svg.text(kLeft - kGap, g.y(row) + 10, std::to_string(sat), "hm-label", "end");
    svg.text(g.right() + kGap, g.y(row) + 10, std::to_string(sat), "hm-label");
  }
}

// Entry of the satellite table shown in each row: of a satellite listed
// twice the larger RMS; -1 for a satellite the protocol does not list.
std::vector<int> row_entries(const ProtocolExtract& e, const std::map<int, int>& rows) {
  std::vector<int> entry(rows.size(), -1);
  for (int i = 0; i < std::clamp(e.nSat, 0, kMaxSat); ++i) {
    int& shown = entry[static_cast<std::size_t>(rows.at(e.satNum[i]))];
    if (shown < 0 || e.rms[i] > e.rms[shown]) shown = i;
  }
  return entry;
}

// Median of the values (the mean of the middle two of an even count).
double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t mid = v.size() / 2;
  return v.size() % 2 == 1 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
}

// The typical RMS of each system in a protocol: the median of the values
// shown, by system name.
std::map<std::string_view, double> system_medians(const ProtocolExtract& e,
                                                  const std::map<int, int>& rows,
                                                  const std::vector<int>& entry) {
  std::map<std::string_view, std::vector<double>> values;
  for (const auto& [sat, row] : rows) {
    const int i = entry[static_cast<std::size_t>(row)];
    if (i >= 0) values[system_name(sat)].push_back(e.rms[i]);
  }
  std::map<std::string_view, double> out;
  for (const auto& [sys, v] : values) out[sys] = median(v);
  return out;
}

bool eclipsing(const ProtocolExtract& e, int sat) {
  for (int j = 0; j < std::clamp(e.nEcl, 0, kMaxEcl); ++j) {
    if (e.eclSat[j] == sat) return true;
  }
  return false;
}

bool above_tolerance(const RunRecord& run, double rms) {
  return run.tolerance && run.tolerance->tolerance > 0.0 && rms > run.tolerance->tolerance;
}

// Tooltip of a cell: the satellite and its RMS, how far it lies from its
// system's median, and its marks.
std::string cell_tip(const RunRecord& run, const ProtocolRecord& p, int i, double typical,
                     bool largest) {
  const ProtocolExtract& e = p.extract;
  const std::string sys(system_name(e.satNum[i]));
  std::string tip = column_name(p) + ": " + satellite_tip(e, i) + " = " +
                    fixed_text(e.rms[i] * 100.0, 2) + " cm";
  if (typical > 0.0) {
    tip += "; " + fixed_text(e.rms[i] / typical, 2) + " times the median of " + sys + " (" +
           fixed_text(typical * 1000.0, 1) + " mm)";
  }
  if (largest) tip += "; largest RMS of the protocol";
  if (above_tolerance(run, e.rms[i])) tip += "; above TOL_RMS";
  return tip;
}

// Row of the protocol's largest RMS (the first of equal values); -1 for a
// protocol without satellites.
int largest_entry(const ProtocolExtract& e, const std::vector<int>& entry) {
  int best = -1;
  for (int i : entry) {
    if (i >= 0 && (best < 0 || e.rms[i] > e.rms[best] || (e.rms[i] == e.rms[best] && i < best))) {
      best = i;
    }
  }
  return best;
}

// The cells of one protocol with their marks: a line under an eclipsing
// satellite's cell, a cross on an RMS above TOL_RMS.
void draw_column(SvgDoc& svg, const RunRecord& run, const std::map<int, int>& rows, const Grid& g,
                 std::size_t c) {
  const ProtocolRecord& p = run.protocols[c];
  const ProtocolExtract& e = p.extract;
  const std::vector<int> entry = row_entries(e, rows);
  const std::map<std::string_view, double> typical = system_medians(e, rows, entry);
  const int best = largest_entry(e, entry);
  const double x = g.x(c), w = g.colW - 1;
  for (const auto& [sat, row] : rows) {
    const int i = entry[static_cast<std::size_t>(row)];
    if (i < 0) {
      svg.rect(x, g.y(row), w, kRow - 1, "absent",
               column_name(p) + ": " + std::to_string(sat) + " (" +
                   std::string(system_name(sat)) + ") not in this protocol");
      continue;
    }
    const double t = typical.at(system_name(sat));
    svg.rect(x, g.y(row), w, kRow - 1, ratio_css(rms_class(e.rms[i], t)),
             cell_tip(run, p, i, t, i == best));
    if (eclipsing(e, sat)) svg.rect(x, g.y(row) + kRow - 3.5, w, 1.5, "mark-ecl");
    if (above_tolerance(run, e.rms[i])) {
      svg.text(x + w / 2, g.y(row) + 10, kCross, "over", "middle");
    }
  }
}

std::string tolerance_note(const ToleranceRecord& t) {
  return "TOL_RMS " + fixed_text(t.tolerance * 100.0, 1) + " cm, checked on the last protocol: " +
         (t.exceeded ? "exceeded" : "kept");
}

// The tolerance check under the last column: a mark, and a note ending
// there unless it would run off the left edge.
double draw_tolerance(SvgDoc& svg, const RunRecord& run, const Grid& g, double bottom) {
  if (!run.tolerance || run.tolerance->tolerance <= 0.0) return bottom;
  const double x = g.x(g.nCol - 1) + g.colW / 2;
  svg.text(x, bottom + 14, "\xE2\x96\xB2", "legend", "middle");
  const std::string note = tolerance_note(*run.tolerance);
  svg.text(std::max(x + 8, kPlotMargin + text_width(note, 10)), bottom + 28, note, "legend", "end");
  return bottom + 34;
}

std::vector<LegendItem> legend(const RunRecord& run) {
  std::vector<LegendItem> items = ratio_legend();
  items.push_back({"absent", "not in the protocol"});
  items.push_back({"mark-ecl", "eclipsing (line under the cell)"});
  if (run.tolerance && run.tolerance->tolerance > 0.0) {
    items.push_back({"over",
                     "RMS above TOL_RMS " + fixed_text(run.tolerance->tolerance * 100.0, 1) +
                         " cm, in every protocol",
                     LegendItem::Sample::Cross});
  }
  return items;
}

}  // namespace

std::string heatmap_style() {
  return std::string(grid_style()) +
         ".hm-label{font-size:11px}\n"
         ".hm-grid{fill:#e6e6e6}\n"
         ".over{font-size:11px;font-weight:bold;fill:#000;stroke:#fff;stroke-width:2px;"
         "paint-order:stroke}\n";
}

// The map with its labels, and the tolerance note from the left edge.
double heatmap_width(const RunRecord& run) {
  const std::size_t n = run.protocols.size();
  const double map =
      kLeft + column_width(n) * static_cast<double>(n) + right_width(satellite_rows(run));
  if (!run.tolerance || run.tolerance->tolerance <= 0.0) return map;
  return std::max(map, 2 * kPlotMargin + text_width(tolerance_note(*run.tolerance), 10));
}

double draw_heatmap(SvgDoc& svg, const RunRecord& run, int /*ircode*/, double top, double width) {
  svg.text(kPlotMargin, top + 14,
           "Colour: a satellite's RMS against the median RMS of its system in the same protocol",
           "legend");
  const double y = draw_legend(svg, legend(run), top + 16, width) + 8;
  const std::map<int, int> rows = satellite_rows(run);
  Grid g;
  g.colW = column_width(run.protocols.size());
  g.nCol = run.protocols.size();
  g.nRow = static_cast<int>(rows.size());
  g.top = y + label_height(run);
  draw_column_labels(svg, run, g);
  // Behind the cells, so that the gaps between them show the grid.
  svg.rect(g.x(0), g.top, g.right() - g.x(0) - 1, g.bottom() - g.top - 1, "hm-grid");
  draw_rows(svg, rows, g);
  for (std::size_t c = 0; c < g.nCol; ++c) draw_column(svg, run, rows, g, c);
  return draw_tolerance(svg, run, g, g.bottom() + label_height(run));
}

}  // namespace results
