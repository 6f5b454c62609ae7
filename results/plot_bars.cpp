// One protocol: a panel per satellite system, a bar per satellite.
#include <algorithm>
#include <cmath>

#include "results/number_text.h"
#include "results/plot_parts.h"

namespace results {
namespace {

constexpr double kLeft = 84.0;       // y-axis labels
constexpr double kRight = 220.0;     // labels of the lines
constexpr double kAbove = 46.0;      // panel title, labels over cut bars
constexpr double kPlotHeight = 200.0;
constexpr double kEclipseRow = 30.0;

struct Panel {
  int sys = 0;           // 0..5
  std::vector<int> idx;  // entries of the satellite table, in table order
};

// A horizontal line of a panel: class, value (mm) and label.
struct RefLine {
  std::string cls;
  double mm = 0.0;
  std::string label;
};

// Vertical scale: top of the axis and tick spacing (mm).
struct Scale {
  double top = 10.0;
  double tick = 2.0;
};

std::vector<Panel> panels(const ProtocolExtract& e) {
  std::vector<Panel> out;
  for (int s = 0; s < kMaxSys; ++s) {
    Panel p;
    p.sys = s;
    for (int i = 0; i < std::clamp(e.nSat, 0, kMaxSat); ++i) {
      if (e.satNum[i] >= 0 && e.satNum[i] < 100 * kMaxSys && sat_system(e.satNum[i]) == s + 1) {
        p.idx.push_back(i);
      }
    }
    if (!p.idx.empty()) out.push_back(std::move(p));
  }
  return out;
}

double bar_step(const std::vector<Panel>& ps) {
  std::size_t most = 1;
  for (const Panel& p : ps) most = std::max(most, p.idx.size());
  return std::clamp(std::floor(900.0 / static_cast<double>(most)), 12.0, 28.0);
}

// 1, 2, 2.5 or 5 times a power of ten, at least raw.
double nice_step(double raw) {
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  for (double f : {1.0, 2.0, 2.5, 5.0, 10.0}) {
    if (f * p >= raw * (1.0 - 1e-9)) return f * p;
  }
  return 10.0 * p;
}

// The axis ends a little above the lines and the bars that are not far
// above the rest (more than three times the median): those are cut.
Scale axis_scale(std::vector<double> mm, const std::vector<RefLine>& lines) {
  std::sort(mm.begin(), mm.end());
  const double median = mm[mm.size() / 2];
  double reach = 0.0;
  for (double v : mm) {
    if (v <= 3.0 * median || median == 0.0) reach = std::max(reach, v);
  }
  for (const RefLine& l : lines) reach = std::max(reach, l.mm);
  if (reach <= 0.0) reach = 10.0;
  Scale s;
  s.tick = nice_step(reach * 1.15 / 5.0);
  s.top = std::ceil(reach * 1.15 / s.tick - 1e-9) * s.tick;
  return s;
}

// "mean" or "median": the statistic of the editing rule.
std::string statistic(const RunRecord& run) {
  return run.thresholds.rule == EditRule::Median ? "median" : "mean";
}

// The median rule leaves a system of too few satellites unedited: no lines.
bool drawn_edited(const RunRecord& run, int sys) {
  return run.thresholds.rule != EditRule::Median ||
         run.editing[static_cast<std::size_t>(sys)].editable;
}

std::vector<RefLine> ref_lines(const RunRecord& run, int sys) {
  std::vector<RefLine> lines;
  const double factor = run.thresholds.factor[sys];
  if (run.split && factor != 0.0 && drawn_edited(run, sys)) {
    const double level = run.split->level[sys] * 1000.0;
    const std::string stat = statistic(run);
    lines.push_back(
        {"mean", level / factor, stat + " RMS " + fixed_text(level / factor, 1) + " mm"});
    lines.push_back({"level", level,
                     "editing level " + fixed_text(level, 1) + " mm (" +
                         shortest_text(factor) + " \xC3\x97 " + stat + ")"});
    const double limit = run.thresholds.limit[sys] * 1000.0;
    if (limit > 0.0) {
      lines.push_back({"limit", limit, "lower limit " + fixed_text(limit, 1) + " mm"});
    }
  }
  if (run.tolerance && run.tolerance->tolerance > 0.0) {
    const double tol = run.tolerance->tolerance * 1000.0;
    lines.push_back({"tol", tol, "TOL_RMS " + fixed_text(tol, 1) + " mm"});
  }
  return lines;
}

bool listed(const std::vector<int>& list, int sat) {
  return std::find(list.begin(), list.end(), sat) != list.end();
}

// An edited system with satellites that the rule cannot edit.
bool cannot_edit(const RunRecord& run, int sys) {
  const orbit_check::SystemEditing& e = run.editing[static_cast<std::size_t>(sys)];
  return run.split && run.thresholds.factor[sys] != 0.0 && e.count > 0 && !e.editable;
}

std::string panel_title(const RunRecord& run, const Panel& p) {
  const std::size_t n = p.idx.size();
  std::string t = std::string(kSystemName[static_cast<std::size_t>(p.sys)]) + ": " +
                  std::to_string(n) + (n == 1 ? " satellite" : " satellites");
  if (!run.split) return t;
  const double factor = run.thresholds.factor[p.sys];
  if (factor == 0.0) return t + ", not edited (factor 0)";
  if (cannot_edit(run, p.sys)) {
    if (run.thresholds.rule == EditRule::Median) {
      return t + ", not edited: the median rule needs " +
             std::to_string(orbit_check::kMinMedianSats) + " satellites";
    }
    return t + ", cannot be edited: the mean rule needs more satellites than the factor " +
           shortest_text(factor);
  }
  int split = 0;
  for (int i : p.idx) split += listed(run.split->split.satNum, run.protocols[0].extract.satNum[i]);
  return t + ", " + std::to_string(split) + " split";
}

// Geometry of one panel.
struct Frame {
  double left = kLeft, top = 0.0, bottom = 0.0, step = 0.0;
  Scale scale;
  double y(double mm) const { return bottom - std::min(mm, scale.top) / scale.top * kPlotHeight; }
  double x(std::size_t k) const { return left + step * static_cast<double>(k); }
};

void draw_axes(SvgDoc& svg, const Frame& f, std::size_t n) {
  const double right = f.x(n);
  for (double v = 0.0; v <= f.scale.top + 1e-9; v += f.scale.tick) {
    const double y = f.y(v);
    svg.line(f.left, y, right, y, v == 0.0 ? "axis" : "grid");
    svg.text(f.left - 5, y + 3.5, shortest_text(std::round(v * 100.0) / 100.0), "tick", "end");
  }
  svg.line(f.left, f.top, f.left, f.bottom, "axis");
  svg.text(kPlotMargin + 4, (f.top + f.bottom) / 2, "RMS (mm)", "tick", "middle", -90.0);
}

// Labels of the lines at the right end, moved apart where they would overlap.
void draw_ref_lines(SvgDoc& svg, const Frame& f, std::size_t n, std::vector<RefLine> lines) {
  std::sort(lines.begin(), lines.end(),
            [](const RefLine& a, const RefLine& b) { return a.mm > b.mm; });
  double lastY = -1e9;
  for (const RefLine& l : lines) {
    const double y = f.y(l.mm);
    svg.line(f.left, y, f.x(n) + 4, y, l.cls);
    const double labelY = std::max(y + 3.5, lastY + 12.0);
    svg.text(f.x(n) + 8, labelY, l.label, "line-label");
    lastY = labelY;
  }
}

// An edited system's satellite at or above the lower limit that was not
// split: its note, empty for any other.
std::string near_note(const RunRecord& run, int sat, double rms) {
  const int sys = sat_system(sat) - 1;
  if (!run.split || sys < 0 || sys >= kMaxSys || run.split->level[sys] == 0.0) return {};
  const double limit = run.thresholds.limit[sys];
  if (!(rms >= limit)) return {};
  if (rms >= run.split->level[sys]) {
    return "; at or above the editing level and the lower limit, but not split";
  }
  if (limit > 0.0) return "; at or above the lower limit, below the editing level: not split";
  return {};
}

// Class and marks of a bar: split (with its star), already split, the
// largest RMS above the tolerance, or at or above the lower limit but not
// split.
std::string bar_class(const RunRecord& run, int sat, double rms, std::string& note) {
  if (run.split && listed(run.split->split.satNum, sat)) {
    note = "; split: arc-split record on " + iso_epoch(run.split->splitEpoch).substr(0, 10);
    return "bar-split";
  }
  if (run.split && listed(run.split->update.dropped, sat)) {
    note = "; already split in the satellite problem file";
    return "bar-known";
  }
  if (run.tolerance && run.tolerance->exceeded && rms > run.tolerance->tolerance) {
    note = "; above TOL_RMS";
    return "bar-split";
  }
  note = near_note(run, sat, rms);
  if (!note.empty()) return "bar-near";
  const int sys = sat_system(sat) - 1;
  if (run.split && sys >= 0 && sys < kMaxSys && run.split->level[sys] > 0.0 &&
      rms >= run.split->level[sys]) {
    note = "; at or above the editing level but below the lower limit: not split";
  }
  return "bar";
}

void draw_bar(SvgDoc& svg, const RunRecord& run, const Frame& f, std::size_t k, int i) {
  const ProtocolExtract& e = run.protocols[0].extract;
  const double mm = e.rms[i] * 1000.0;
  std::string note;
  const std::string cls = bar_class(run, e.satNum[i], e.rms[i], note);
  const double w = std::max(4.0, f.step * 0.72);
  const double x = f.x(k) + (f.step - w) / 2, cx = f.x(k) + f.step / 2;
  const bool cut = mm > f.scale.top;
  const double y = cut ? f.top - 6.0 : f.y(mm);
  svg.rect(x, y, w, f.bottom - y, cls, satellite_tip(e, i) + note);
  if (cut) {
    svg.line(x - 1, f.top + 6, x + w + 1, f.top + 2, "cut");
    svg.line(x - 1, f.top + 10, x + w + 1, f.top + 6, "cut");
  }
  if (cut || cls == "bar-split") {
    svg.text(cx, y - 3, fixed_text(std::round(mm), 0), "value", "middle");
  }
  if (run.split && listed(run.split->split.satNum, e.satNum[i])) {
    svg.text(cx, y - 13, "*", "star", "middle");
  }
}

// Satellite numbers under the bars, the eclipse row under them.
double draw_x_labels(SvgDoc& svg, const ProtocolExtract& e, const Frame& f, const Panel& p) {
  const bool turn = f.step < 22.0;
  const double eclY = f.bottom + (turn ? 30.0 : 18.0) + 8.0;
  bool anyEcl = false;
  for (std::size_t k = 0; k < p.idx.size(); ++k) {
    const int i = p.idx[k];
    const double cx = f.x(k) + f.step / 2;
    const std::string num = std::to_string(e.satNum[i]);
    if (turn) svg.text(cx + 3.5, f.bottom + 5, num, "sat", "end", -90.0);
    else svg.text(cx, f.bottom + 13, num, "sat", "middle");
    for (int j = 0; j < std::clamp(e.nEcl, 0, kMaxEcl); ++j) {
      if (e.eclSat[j] != e.satNum[i]) continue;
      svg.circle(cx, eclY, 3.5, "ecl", satellite_tip(e, i));
      svg.text(cx, eclY + 13, std::to_string(e.longShadow[j] / 60), "small", "middle");
      anyEcl = true;
    }
  }
  if (anyEcl) svg.text(f.left - 5, eclY + 3, "shadow (min)", "small", "end");
  return eclY + kEclipseRow;
}

// How far the frame must move down so that the value and star over the
// bars under the panel title stay clear of it.
double title_clearance(const RunRecord& run, const Frame& f, const Panel& p, double top,
                       const std::string& title) {
  const ProtocolExtract& e = run.protocols[0].extract;
  // Bold text is about as wide as text_width's estimate; marks 6 px each side.
  const double titleEnd = kPlotMargin + text_width(title, 13);
  double shift = 0.0;
  for (std::size_t k = 0; k < p.idx.size() && f.x(k) + f.step / 2 - 6 < titleEnd; ++k) {
    const int i = p.idx[k];
    std::string note;
    const double mm = e.rms[i] * 1000.0;
    const bool cut = mm > f.scale.top;
    const bool star = run.split && listed(run.split->split.satNum, e.satNum[i]);
    if (!cut && !star && bar_class(run, e.satNum[i], e.rms[i], note) != "bar-split") continue;
    const double y = cut ? f.top - 6.0 : f.y(mm);
    shift = std::max(shift, top + 20.0 - (y - (star ? 25.0 : 12.0)));
  }
  return shift;
}

double draw_panel(SvgDoc& svg, const RunRecord& run, const Panel& p, double top, double step) {
  const ProtocolExtract& e = run.protocols[0].extract;
  Frame f;
  f.top = top + kAbove;
  f.bottom = f.top + kPlotHeight;
  f.step = step;
  std::vector<double> mm;
  for (int i : p.idx) mm.push_back(e.rms[i] * 1000.0);
  const std::vector<RefLine> lines = ref_lines(run, p.sys);
  f.scale = axis_scale(mm, lines);
  const std::string title = panel_title(run, p);
  const double shift = title_clearance(run, f, p, top, title);
  f.top += shift;
  f.bottom += shift;
  svg.text(kPlotMargin, top + 16, title,
           cannot_edit(run, p.sys) ? "panel-title alert" : "panel-title");
  draw_axes(svg, f, p.idx.size());
  for (std::size_t k = 0; k < p.idx.size(); ++k) draw_bar(svg, run, f, k, p.idx[k]);
  draw_ref_lines(svg, f, p.idx.size(), lines);
  return draw_x_labels(svg, e, f, p);
}

bool any_near(const RunRecord& run) {
  const ProtocolExtract& e = run.protocols[0].extract;
  std::string note;
  for (int i = 0; i < std::clamp(e.nSat, 0, kMaxSat); ++i) {
    if (bar_class(run, e.satNum[i], e.rms[i], note) == "bar-near") return true;
  }
  return false;
}

std::vector<LegendItem> legend(const RunRecord& run) {
  constexpr auto kLine = LegendItem::Sample::Line;
  std::vector<LegendItem> items;
  if (run.split) {
    items.push_back({"bar-split", "split: RMS at or above the editing level and the lower limit"});
  }
  if (run.split && !run.split->update.dropped.empty()) {
    items.push_back({"bar-known", "already split in the satellite problem file"});
  }
  if (any_near(run)) items.push_back({"bar-near", "at or above the lower limit, not split"});
  if (run.tolerance && run.tolerance->exceeded) items.push_back({"bar-split", "above TOL_RMS"});
  items.push_back({"bar", "other satellites"});
  if (run.split && run.thresholds.rule == EditRule::Median) {
    items.push_back({"level", "editing level = factor \xC3\x97 median RMS", kLine});
    items.push_back({"mean", "median RMS", kLine});
  } else if (run.split) {
    items.push_back({"level", "editing level = factor \xC3\x97 mean RMS", kLine});
    items.push_back({"mean", "mean RMS (without the outliers)", kLine});
  }
  const auto& limit = run.thresholds.limit;
  if (run.split && std::any_of(limit.begin(), limit.end(), [](double v) { return v > 0.0; })) {
    items.push_back({"limit", "lower limit", kLine});
  }
  if (run.tolerance && run.tolerance->tolerance > 0.0) items.push_back({"tol", "TOL_RMS", kLine});
  items.push_back({"ecl", "eclipsing: longest shadow passage (min)", LegendItem::Sample::Dot});
  return items;
}

}  // namespace

double bars_width(const RunRecord& run) {
  const std::vector<Panel> ps = panels(run.protocols[0].extract);
  std::size_t most = 1;
  for (const Panel& p : ps) most = std::max(most, p.idx.size());
  return kLeft + bar_step(ps) * static_cast<double>(most) + kRight;
}

double draw_bars(SvgDoc& svg, const RunRecord& run, int /*ircode*/, double top, double width) {
  const std::vector<Panel> ps = panels(run.protocols[0].extract);
  double y = draw_legend(svg, legend(run), top, width) + 6;
  if (ps.empty()) {
    svg.text(kPlotMargin, y + 20, "The protocol lists no satellite.", "head");
    return y + 30;
  }
  const double step = bar_step(ps);
  for (const Panel& p : ps) y = draw_panel(svg, run, p, y, step);
  return y;
}

}  // namespace results
