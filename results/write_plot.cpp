#include "results/write_plot.h"

#include <algorithm>

#include "results/number_text.h"
#include "results/plot_parts.h"
#include "timeutil/stripdir.h"

namespace results {
namespace {

constexpr double kMinWidth = 760.0;
constexpr const char* kDot = "\xE2\x80\x83\xC2\xB7\xE2\x80\x83";  // a dot between em spaces

// Okabe-Ito vermillion marks what was split or went wrong; the heat map
// adds the colour scale of a satellite x day grid (heatmap_style).
constexpr const char* kStyle =
    "text{font-family:'DejaVu Sans',Verdana,Arial,sans-serif;fill:#222}\n"
    ".bg{fill:#fff}\n"
    ".title{font-size:17px;font-weight:bold}\n"
    ".head{font-size:12px}\n"
    ".run-date{font-size:11px;fill:#555}\n"
    ".verdict{font-size:14px;font-weight:bold}\n"
    ".alert{fill:#B34700}\n"
    ".panel-title{font-size:13px;font-weight:bold}\n"
    ".tick,.sat,.legend{font-size:10px}\n"
    ".small{font-size:9px;fill:#333}\n"
    ".line-label{font-size:10px;fill:#222}\n"
    ".axis{stroke:#333;stroke-width:1}\n"
    ".grid{stroke:#e4e4e4;stroke-width:1}\n"
    ".bar{fill:#a9b4c0}\n"
    ".bar-split{fill:#d55e00}\n"
    ".bar-known{fill:url(#hatch);stroke:#d55e00;stroke-width:1}\n"
    ".bar-near{fill:#f6c9a8;stroke:#d55e00;stroke-width:1}\n"
    ".cut{stroke:#fff;stroke-width:2}\n"
    ".mean{stroke:#555;stroke-width:1.2;stroke-dasharray:6 4}\n"
    ".level{stroke:#000;stroke-width:1.6}\n"
    ".limit{stroke:#0072b2;stroke-width:1.4;stroke-dasharray:2 3}\n"
    ".tol{stroke:#cc79a7;stroke-width:1.8;stroke-dasharray:9 3 2 3}\n"
    ".ecl{fill:#333}\n"
    ".star{font-size:15px;font-weight:bold;fill:#d55e00}\n"
    ".value{font-size:10px;font-weight:bold;fill:#b34700}\n";

constexpr const char* kDefs =
    "<defs><pattern id=\"hatch\" width=\"5\" height=\"5\" patternUnits=\"userSpaceOnUse\" "
    "patternTransform=\"rotate(45)\"><rect width=\"5\" height=\"5\" fill=\"#fff\"/>"
    "<rect width=\"2.5\" height=\"5\" fill=\"#d55e00\"/></pattern></defs>\n";

std::string base_name(const std::string& name) {
  std::string base = name;
  timeutil::STRIPDIR(base);
  return base;
}

std::string day_minute(double mjd) {
  const std::string iso = iso_epoch(mjd);
  return iso.empty() ? "(no date)" : iso.substr(0, 10) + " " + iso.substr(11, 5);
}

// What the picture shows: the protocol and its arc, or the span of several.
std::string subject(const RunRecord& run) {
  const auto& ps = run.protocols;
  if (ps.empty()) return "No protocol was read";
  if (ps.size() == 1) {
    const ProtocolRecord& p = ps[0];
    if (!p.hasWindow) return "Protocol " + p.fileName + kDot + "no arc window read";
    return "Protocol " + p.fileName + kDot + "arc " + day_minute(p.extract.window[0]) + " to " +
           day_minute(p.extract.window[1]) + kDot + "day of year " + std::to_string(p.middleDay);
  }
  const auto [first, last] = std::minmax_element(
      ps.begin(), ps.end(), [](const auto& a, const auto& b) { return a.middleDay < b.middleDay; });
  return std::to_string(ps.size()) + " protocols, days of year " +
         std::to_string(first->middleDay) + " to " + std::to_string(last->middleDay) +
         kDot + base_name(ps.front().fileName) + " to " + base_name(ps.back().fileName);
}

double draw_heading(SvgDoc& svg, const RunRecord& run, int ircode,
                    const framework::Messages& messages, double width) {
  const double x = kPlotMargin;
  svg.text(x, 26, run.title.empty() ? "FITCHK" : run.title, "title");
  std::string start = run.runStart;
  if (start.size() > 10) start[10] = ' ';
  svg.text(width - kPlotMargin, 26, "run " + start, "run-date", "end");
  svg.text(x, 46, "FITCHK: orbit-fit RMS of the TRJFIT protocols", "head");
  svg.text(x, 64, subject(run), "head");
  const Verdict v = run_verdict(run, ircode);
  const bool alert = v == Verdict::SatellitesSplit || v == Verdict::ToleranceExceeded ||
                     v == Verdict::Error;
  svg.text(x, 86, verdict_text(run, ircode, messages), alert ? "verdict alert" : "verdict");
  return 96.0;
}

}  // namespace

std::string_view system_name(int satNum) {
  if (satNum < 0 || satNum >= 100 * kMaxSys) return "other";
  return kSystemName[static_cast<std::size_t>(sat_system(satNum) - 1)];
}

std::string satellite_tip(const ProtocolExtract& e, int i) {
  const int sat = e.satNum[i];
  std::string tip = std::to_string(sat) + " (" + std::string(system_name(sat)) + "): RMS " +
                    fixed_text(e.rms[i] * 1000.0, 1) + " mm";
  for (int j = 0; j < std::clamp(e.nEcl, 0, kMaxEcl); ++j) {
    if (e.eclSat[j] != sat) continue;
    tip += "; eclipsing, longest shadow passage " + std::to_string(e.longShadow[j] / 60) +
           " min " + std::to_string(e.longShadow[j] % 60) + " s";
  }
  return tip;
}

double draw_legend(SvgDoc& svg, const std::vector<LegendItem>& items, double top, double width) {
  double x = kPlotMargin, y = top + 14;
  for (const LegendItem& item : items) {
    const double w = 26 + text_width(item.label, 10) + 18;
    if (x + w > width - kPlotMargin && x > kPlotMargin) {
      x = kPlotMargin;
      y += 18;
    }
    switch (item.sample) {
      case LegendItem::Sample::Swatch: svg.rect(x + 4, y - 10, 12, 12, item.cls); break;
      case LegendItem::Sample::Line: svg.line(x, y - 4, x + 20, y - 4, item.cls); break;
      case LegendItem::Sample::Dot: svg.circle(x + 10, y - 4, 3.5, item.cls); break;
      case LegendItem::Sample::Cross: svg.text(x + 10, y, "\xC3\x97", item.cls, "middle"); break;
    }
    svg.text(x + 26, y, item.label, "legend");
    x += w;
  }
  return y + 10;
}

std::string write_plot(const RunRecord& run, int ircode, const framework::Messages& messages) {
  const std::size_t n = run.protocols.size();
  const double layout = n == 1 ? bars_width(run) : n > 1 ? heatmap_width(run) : 0.0;
  const double width = std::max(kMinWidth, layout);
  SvgDoc svg;
  svg.raw(kDefs);
  svg.raw("<rect width=\"100%\" height=\"100%\" class=\"bg\"/>\n");
  double y = draw_heading(svg, run, ircode, messages, width);
  if (n == 1) y = draw_bars(svg, run, ircode, y, width);
  if (n > 1) y = draw_heatmap(svg, run, ircode, y, width);
  return svg.finish(width, y + kPlotMargin, n > 1 ? kStyle + heatmap_style() : kStyle);
}

}  // namespace results
