// Several protocols: one column per protocol, one row per satellite, the
// colour telling the RMS.
#include <algorithm>
#include <cmath>
#include <map>

#include "results/number_text.h"
#include "results/plot_parts.h"
#include "timeutil/stripdir.h"

namespace results {
namespace {

constexpr double kLeft = 96.0;     // system names and satellite numbers
constexpr double kHeader = 118.0;  // protocol names, turned
constexpr double kRow = 13.0;
constexpr double kRight = 40.0;

// Upper ends (cm) of the colour classes c0..c6; c7 is everything above.
constexpr double kBinTop[] = {1.0, 2.0, 3.0, 5.0, 10.0, 20.0, 50.0};
constexpr int kBins = 8;

int bin_of(double cm) {
  int b = 0;
  while (b < kBins - 1 && cm >= kBinTop[b]) ++b;
  return b;
}

std::string bin_label(int b) {
  const auto t = [](double v) { return shortest_text(v); };
  if (b == 0) return "< " + t(kBinTop[0]);
  if (b == kBins - 1) return "\xE2\x89\xA5 " + t(kBinTop[kBins - 2]) + " cm";
  return t(kBinTop[b - 1]) + "\xE2\x80\x93" + t(kBinTop[b]);
}

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
  return std::clamp(std::floor(900.0 / static_cast<double>(n)), 10.0, 44.0);
}

std::string column_name(const ProtocolRecord& p) {
  std::string base = p.fileName;
  timeutil::STRIPDIR(base);
  if (base.size() > 22) base = base.substr(0, 21) + "\xE2\x80\xA6";
  return std::to_string(p.middleDay) + "  " + base;
}

// Geometry of the map.
struct Grid {
  double top = 0.0, colW = 0.0;
  double x(std::size_t col) const { return kLeft + colW * static_cast<double>(col); }
  double y(int row) const { return top + kRow * row; }
};

void draw_headers(SvgDoc& svg, const RunRecord& run, const Grid& g) {
  for (std::size_t c = 0; c < run.protocols.size(); ++c) {
    const double cx = g.x(c) + g.colW / 2 + 3.5;
    svg.text(cx, g.top - 6, column_name(run.protocols[c]), "sat", "start", -90.0);
  }
}

// Satellite numbers, and the system's name at the first row of each system.
void draw_rows(SvgDoc& svg, const std::map<int, int>& rows, const Grid& g, std::size_t nCol) {
  std::string_view last;
  for (const auto& [sat, row] : rows) {
    const std::string_view sys = system_name(sat);
    if (sys != last) {
      if (row > 0) svg.line(kPlotMargin, g.y(row), g.x(nCol), g.y(row), "axis");
      svg.text(kPlotMargin, g.y(row) + 10, sys, "legend");
      last = sys;
    }
    svg.text(kLeft - 5, g.y(row) + 10, std::to_string(sat), "sat", "end");
  }
}

std::string cell_tip(const ProtocolRecord& p, int i) {
  return column_name(p) + ": " + satellite_tip(p.extract, i) + " = " +
         fixed_text(p.extract.rms[i] * 100.0, 2) + " cm";
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

// The cells of one protocol; its largest RMS outlined.
void draw_column(SvgDoc& svg, const RunRecord& run, const std::map<int, int>& rows, const Grid& g,
                 std::size_t c) {
  const ProtocolRecord& p = run.protocols[c];
  const ProtocolExtract& e = p.extract;
  const std::vector<int> entry = row_entries(e, rows);
  int best = -1;
  for (const auto& [sat, row] : rows) {
    const int i = entry[static_cast<std::size_t>(row)];
    if (i < 0) {
      svg.rect(g.x(c), g.y(row), g.colW - 1, kRow - 1, "missing",
               column_name(p) + ": " + std::to_string(sat) + " (" +
                   std::string(system_name(sat)) + ") not in this protocol");
      continue;
    }
    const std::string cls = "c" + std::to_string(bin_of(e.rms[i] * 100.0));
    svg.rect(g.x(c), g.y(row), g.colW - 1, kRow - 1, cls, cell_tip(p, i));
    if (best < 0 || e.rms[i] > e.rms[best] || (e.rms[i] == e.rms[best] && i < best)) best = i;
  }
  if (best < 0) return;
  const double y = g.y(rows.at(e.satNum[best]));
  svg.rect(g.x(c) - 1, y - 1, g.colW + 1, kRow + 1, "max");
  svg.rect(g.x(c) + 0.5, y + 0.5, g.colW - 2, kRow - 2, "max-inner");
}

std::string tolerance_note(const ToleranceRecord& t) {
  return "TOL_RMS " + fixed_text(t.tolerance * 100.0, 1) + " cm, checked on the last protocol: " +
         (t.exceeded ? "exceeded (\xC3\x97)" : "kept");
}

// The tolerance against the last protocol: a cross on every RMS above it
// and a note under the column, ending there unless it would run off the
// left edge.
double draw_tolerance(SvgDoc& svg, const RunRecord& run, const std::map<int, int>& rows,
                      const Grid& g, double bottom) {
  if (!run.tolerance || run.tolerance->tolerance <= 0.0) return bottom;
  const ToleranceRecord& t = *run.tolerance;
  const std::size_t c = run.protocols.size() - 1;
  const ProtocolExtract& e = run.protocols[c].extract;
  for (int i = 0; i < std::clamp(e.nSat, 0, kMaxSat); ++i) {
    if (e.rms[i] <= t.tolerance) continue;
    svg.text(g.x(c) + g.colW / 2, g.y(rows.at(e.satNum[i])) + 10, "\xC3\x97", "over", "middle");
  }
  const double x = g.x(c) + g.colW / 2;
  svg.text(x, bottom + 14, "\xE2\x96\xB2", "legend", "middle");
  const std::string note = tolerance_note(t);
  svg.text(std::max(x + 8, kPlotMargin + text_width(note, 10)), bottom + 28, note, "legend", "end");
  return bottom + 34;
}

std::vector<LegendItem> legend() {
  std::vector<LegendItem> items;
  for (int b = 0; b < kBins; ++b) items.push_back({"c" + std::to_string(b), bin_label(b)});
  items.push_back({"missing", "not in the protocol"});
  items.push_back({"max", "largest RMS of the protocol"});
  return items;
}

}  // namespace

// The map, and the tolerance note from the left edge.
double heatmap_width(const RunRecord& run) {
  const double map =
      kLeft + column_width(run.protocols.size()) * static_cast<double>(run.protocols.size()) +
      kRight;
  if (!run.tolerance || run.tolerance->tolerance <= 0.0) return map;
  return std::max(map, 2 * kPlotMargin + text_width(tolerance_note(*run.tolerance), 10));
}

double draw_heatmap(SvgDoc& svg, const RunRecord& run, int /*ircode*/, double top, double width) {
  svg.text(kPlotMargin, top + 14, "RMS (cm), colour scale:", "legend");
  double y = draw_legend(svg, legend(), top + 16, width) + 8;
  const std::map<int, int> rows = satellite_rows(run);
  Grid g;
  g.colW = column_width(run.protocols.size());
  g.top = y + kHeader;
  draw_headers(svg, run, g);
  draw_rows(svg, rows, g, run.protocols.size());
  for (std::size_t c = 0; c < run.protocols.size(); ++c) draw_column(svg, run, rows, g, c);
  const double bottom = g.y(static_cast<int>(rows.size()));
  return draw_tolerance(svg, run, rows, g, bottom);
}

}  // namespace results
