#include "history/history_plot.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "results/colour_scale.h"
#include "results/number_text.h"
#include "results/plot_parts.h"
#include "results/svg_doc.h"
#include "timeutil/djul.h"
#include "timeutil/jmt.h"

namespace history {
namespace {

using results::px;
using results::SvgDoc;

constexpr double kMargin = results::kPlotMargin;
constexpr double kLeft = 96.0;      // system names and satellite numbers
constexpr double kRightLabels = 40.0;
constexpr double kRow = 9.0;
constexpr double kGridWidth = 1100.0;
constexpr double kPanelGap = 28.0;
constexpr double kPanelWidth = 500.0;
constexpr double kChartHeight = 170.0;
constexpr std::size_t kMaxPanelLines = 150;
constexpr std::size_t kMaxCellTips = 4000;

constexpr const char* kStyle =
    "text{font-family:'DejaVu Sans',Verdana,Arial,sans-serif;fill:#222}\n"
    ".bg{fill:#fff}\n"
    ".title{font-size:17px;font-weight:bold}\n"
    ".head{font-size:12px}\n"
    ".legend,.finding{font-size:10px}\n"
    ".panel-title{font-size:13px;font-weight:bold}\n"
    ".sat,.tick{font-size:8px}\n"
    ".sys{font-size:9px;font-weight:bold}\n"
    ".alert{fill:#b2182b;font-weight:bold}\n"
    ".axis{stroke:#333;stroke-width:1}\n"
    ".grid{stroke:#e4e4e4;stroke-width:1}\n"
    ".tip{fill:transparent}\n"
    ".s1{stroke:#0072b2}.s2{stroke:#d55e00}.s3{stroke:#009e73}.s4{stroke:#cc79a7}"
    ".s5{stroke:#e69f00}.s6{stroke:#56b4e9}\n"
    ".median{fill:none;stroke-width:1.5}\n";

// The days of one column.
struct Bucket {
  long long first = 0, last = 0;  // calendar days (MJD)
  std::size_t d0 = 0, d1 = 0;     // the view's days in it: indices d0 to d1 (excluded)
};

long long week_start(long long mjd) {
  // MJD 0 was a Wednesday; Monday is 2 days before it.
  const long long k = (mjd + 2) % 7;
  return mjd - (k < 0 ? k + 7 : k);
}

void ymd(long long mjd, int& y, int& m, int& d) {
  double day = 0.0;
  timeutil::JMT(static_cast<double>(mjd) + 0.5, y, m, day);
  d = static_cast<int>(day);
}

// First day of the column that holds mjd.
long long column_start(Columns c, long long mjd) {
  int y = 0, m = 0, d = 0;
  ymd(mjd, y, m, d);
  switch (c) {
    case Columns::Day: return mjd;
    case Columns::Week: return week_start(mjd);
    case Columns::Month: return mjd - (d - 1);
    case Columns::Year: break;
  }
  return static_cast<long long>(timeutil::DJUL(y, 1, 1.0));
}

// First day of the column after the one that starts at start.
long long next_column(Columns c, long long start) {
  int y = 0, m = 0, d = 0;
  ymd(start, y, m, d);
  switch (c) {
    case Columns::Day: return start + 1;
    case Columns::Week: return start + 7;
    case Columns::Month: return static_cast<long long>(timeutil::DJUL(m == 12 ? y + 1 : y, m % 12 + 1, 1.0));
    case Columns::Year: break;
  }
  return static_cast<long long>(timeutil::DJUL(y + 1, 1, 1.0));
}

std::vector<Bucket> buckets(const HistoryView& v, Columns c) {
  std::vector<Bucket> out;
  std::size_t d = 0;
  for (long long day = column_start(c, v.first); day <= v.last;) {
    const long long next = next_column(c, day);
    Bucket b{day, next - 1, d, d};
    while (d < v.days.size() && v.days[d].day < next) ++d;
    b.d1 = d;
    out.push_back(b);
    day = next;
  }
  return out;
}

std::string column_words(Columns c) {
  switch (c) {
    case Columns::Day: return "one column per day";
    case Columns::Week: return "one column per week (Monday to Sunday): the median of its days";
    case Columns::Month: return "one column per month: the median of its days";
    case Columns::Year: return "one column per year: the median of its days";
  }
  return {};
}

// A column's cell of one satellite.
struct Cell {
  int cls = -1;  // ratio class; -1: no value
  bool dataDay = false;
  bool split = false, eclipsing = false;
  double rms = 0.0;  // median of its days (m)
  int n = 0;         // days with a value
};

class Picture {
 public:
  Picture(const HistoryView& v, const std::vector<Finding>& f, const std::vector<ProblemEvent>& e,
          const PlotFacts& facts)
      : v_(v), findings_(f), events_(e), facts_(facts) {
    cols_ = columns_for(v.last - v.first + 1);
    buckets_ = buckets(v, cols_);
    colW_ = std::clamp(kGridWidth / static_cast<double>(buckets_.size()), 2.0, 40.0);
    med_ = daily_medians(v);
    for (const Finding& x : findings_) {
      if (x.row >= 0) flagged_.push_back(x.row);
    }
  }

  std::string draw() {
    const double gridRight = kLeft + colW_ * static_cast<double>(buckets_.size());
    width_ = std::max(gridRight + kRightLabels + kPanelGap + kPanelWidth + kMargin, 900.0);
    svg_.raw("<rect width=\"100%\" height=\"100%\" class=\"bg\"/>\n");
    double y = heading();
    y = results::draw_legend(svg_, results::grid_legend(), y, width_) + 10;
    top_ = y + 14;
    system_labels();
    cells();
    event_marks();
    double bottom = axis(top_ + kRow * static_cast<double>(v_.sats.size()));
    bottom = chart(bottom + 16);
    const double panelBottom = panel(gridRight + kRightLabels + kPanelGap, top_);
    return svg_.finish(width_, std::max(bottom, panelBottom) + kMargin,
                       std::string(kStyle) + results::grid_style());
  }

 private:
  double x(std::size_t col) const { return kLeft + colW_ * static_cast<double>(col); }
  double y(std::size_t row) const { return top_ + kRow * static_cast<double>(row); }
  double right() const { return x(buckets_.size()); }

  double heading() {
    svg_.text(kMargin, 26, "FITCHK history: orbit-fit RMS per satellite and day", "title");
    const long long days = v_.last - v_.first + 1;
    svg_.text(kMargin, 46,
              date_text(v_.first) + " to " + date_text(v_.last) + "\xE2\x80\x83\xC2\xB7\xE2\x80\x83" +
                  std::to_string(days) + (days == 1 ? " day, " : " days, ") +
                  std::to_string(v_.sats.size()) + " satellites\xE2\x80\x83\xC2\xB7\xE2\x80\x83" +
                  std::to_string(facts_.filesRead) + " results files read, " +
                  std::to_string(facts_.filesLeftOut) + " left out",
              "head");
    std::string note = "Colour: a satellite's RMS against the median of its system that day; " +
                       column_words(cols_);
    svg_.text(kMargin, 64, note, "head");
    if (!facts_.problemFile.empty()) {
      svg_.text(kMargin, 82, "Events of the satellite problem file " + facts_.problemFile, "head");
      return 88;
    }
    return 70;
  }

  Cell cell(std::size_t b, std::size_t r) const {
    const Bucket& k = buckets_[b];
    Cell c;
    c.dataDay = k.d1 > k.d0;
    std::vector<float> ratios, values;
    for (std::size_t d = k.d0; d < k.d1; ++d) {
      if (!v_.has(d, r)) continue;
      const unsigned char f = v_.flags[v_.at(d, r)];
      c.split = c.split || (f & kSplit);
      c.eclipsing = c.eclipsing || (f & kEclipsing);
      const double rms = v_.rms[v_.at(d, r)];
      values.push_back(static_cast<float>(rms));
      const double m = med_[d][static_cast<std::size_t>(v_.system(r))];
      if (m > 0.0) ratios.push_back(static_cast<float>(rms / m));
    }
    c.n = static_cast<int>(values.size());
    if (values.empty()) return c;
    c.rms = median(values);
    c.cls = ratios.empty() ? 2 : results::ratio_class(median(ratios));
    return c;
  }

  // Each row's cells as one path per class, neighbours of one class joined.
  void cells() {
    std::map<std::string, std::string> paths;
    std::string split, ecl;
    std::size_t tips = 0;
    for (std::size_t r = 0; r < v_.sats.size(); ++r) {
      std::string cls;
      std::size_t from = 0;
      for (std::size_t b = 0; b <= buckets_.size(); ++b) {
        const Cell c = b < buckets_.size() ? cell(b, r) : Cell{};
        const std::string now = b == buckets_.size() ? "" : c.cls >= 0 ? results::ratio_css(c.cls)
                                                       : c.dataDay   ? "absent" : "nodata";
        if (now != cls) {
          if (!cls.empty()) paths[cls] += box(x(from), y(r), x(b) - x(from) - gap(), kRow - 1);
          cls = now;
          from = b;
        }
        if (b == buckets_.size()) break;
        if (c.split) split += box(x(b) + colW_ / 2 - 1.5, y(r) + 2, 3, 3);
        if (c.eclipsing) ecl += box(x(b), y(r) + kRow - 2.5, colW_ - gap(), 1.5);
        if (c.cls >= 5 && tips++ < kMaxCellTips) cell_tip(b, r, c);
      }
      row_labels(r);
    }
    for (const auto& [cls, d] : paths) svg_.raw("<path class=\"" + cls + "\" d=\"" + d + "\"/>\n");
    if (!ecl.empty()) svg_.raw("<path class=\"mark-ecl\" d=\"" + ecl + "\"/>\n");
    if (!split.empty()) svg_.raw("<path class=\"mark-split\" d=\"" + split + "\"/>\n");
  }

  double gap() const { return colW_ >= 5 ? 1.0 : 0.0; }

  static std::string box(double x0, double y0, double w, double h) {
    return "M" + px(x0) + " " + px(y0) + "h" + px(w) + "v" + px(h) + "h" + px(-w) + "z";
  }

  std::string bucket_words(std::size_t b) const {
    const Bucket& k = buckets_[b];
    return k.first == k.last ? date_text(k.first) : date_text(k.first) + " to " + date_text(k.last);
  }

  void cell_tip(std::size_t b, std::size_t r, const Cell& c) {
    svg_.rect(x(b), y(r), colW_, kRow - 1, "tip",
              sat_words(r) + ", " + bucket_words(b) + ": RMS " + results::fixed_text(c.rms, 3) + " m" +
                  (c.n > 1 ? " (median of " + std::to_string(c.n) + " days)" : ""));
  }

  std::string sat_words(std::size_t r) const {
    return std::to_string(v_.sats[r]) + " (" + system_name(v_.system(r)) + ")";
  }

  void row_labels(std::size_t r) {
    const bool alert = std::find(flagged_.begin(), flagged_.end(), static_cast<int>(r)) != flagged_.end();
    const std::string cls = alert ? "sat alert" : "sat";
    const std::string n = std::to_string(v_.sats[r]);
    svg_.text(kLeft - 4, y(r) + kRow - 1.5, n, cls, "end");
    svg_.text(right() + 4, y(r) + kRow - 1.5, n, cls);
  }

  void system_labels() {
    int last = -1;
    for (std::size_t r = 0; r < v_.sats.size(); ++r) {
      const int sys = v_.system(r);
      if (sys == last) continue;
      if (r > 0) svg_.line(kMargin, y(r) - 0.5, right() + kRightLabels - 8, y(r) - 0.5, "axis");
      svg_.text(kMargin, y(r) + kRow - 1, system_name(sys), "sys");
      last = sys;
    }
  }

  void event_marks() {
    std::size_t tips = 0;
    for (const ProblemEvent& e : events_) {
      const int r = v_.row(e.sat);
      if (r < 0) continue;
      const std::size_t b = bucket_of(e.day);
      const std::string tip = "satellite problem file: " + kind_text(e.kind) + " of " +
                              sat_words(static_cast<std::size_t>(r)) + " on " + date_text(e.day);
      svg_.circle(x(b) + colW_ / 2, y(static_cast<std::size_t>(r)) + 1.5, std::min(2.2, colW_ / 2 + 0.4),
                  "mark-event", tips++ < kMaxCellTips ? tip : std::string());
    }
  }

  std::size_t bucket_of(long long day) const {
    const auto it = std::upper_bound(buckets_.begin(), buckets_.end(), day,
                                     [](long long d, const Bucket& b) { return d < b.first; });
    return static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, it - buckets_.begin() - 1));
  }

  // Date labels under the grid, and a cross under each day whose run ended
  // with an error; returns the y below.
  double axis(double bottom) {
    svg_.line(kLeft, bottom + 1, right(), bottom + 1, "axis");
    double lastEnd = -1e9;
    for (std::size_t b = 0; b < buckets_.size(); ++b) {
      const std::string label = tick_label(b);
      if (label.empty()) continue;
      const double w = results::text_width(label, 8);
      if (x(b) < lastEnd + 8 || x(b) + w > right() + kRightLabels) continue;
      svg_.line(x(b), bottom + 1, x(b), bottom + 5, "axis");
      svg_.text(x(b), bottom + 14, label, "tick");
      lastEnd = x(b) + w;
    }
    for (const FailedDay& f : v_.failed) {
      if (f.day < v_.first || f.day > v_.last) continue;
      const std::size_t b = bucket_of(f.day);
      svg_.text(x(b) + colW_ / 2, bottom + 26, "\xC3\x97", "mark-error", "middle");
    }
    svg_.text(kLeft, bottom + 40,
              column_words(cols_) + (v_.failed.empty() ? "" : "; \xC3\x97 a run that ended with an error"),
              "legend");
    return bottom + 44;
  }

  std::string tick_label(std::size_t b) const {
    int y = 0, m = 0, d = 0;
    ymd(buckets_[b].first, y, m, d);
    const std::string date = date_text(buckets_[b].first);
    switch (cols_) {
      // Every day where the columns are wide enough, else the months' first.
      case Columns::Day: return d == 1 || b == 0 ? date : colW_ >= 30 ? date.substr(5) : "";
      case Columns::Week: return b == 0 || d <= 7 ? date.substr(0, 7) : "";
      case Columns::Month: return m == 1 || b == 0 ? date.substr(0, 4) : "";
      case Columns::Year: return date.substr(0, 4);
    }
    return {};
  }

  // The median RMS of each system over time, on a logarithmic scale aligned
  // with the grid's columns; returns the y below.
  double chart(double top) {
    std::array<std::vector<double>, kSystems + 1> line;
    double lo = 1e9, hi = 0.0;
    for (int s = 1; s <= kSystems; ++s) {
      for (const Bucket& k : buckets_) {
        std::vector<float> days;
        for (std::size_t d = k.d0; d < k.d1; ++d) {
          if (med_[d][static_cast<std::size_t>(s)] > 0) days.push_back(med_[d][static_cast<std::size_t>(s)]);
        }
        const double m = median(days);
        line[static_cast<std::size_t>(s)].push_back(m);
        if (m > 0) lo = std::min(lo, m), hi = std::max(hi, m);
      }
    }
    svg_.text(kMargin, top + 10, "Median RMS of each system (logarithmic scale)", "panel-title");
    const double y0 = top + 24, y1 = y0 + kChartHeight;
    if (hi <= 0.0) return y1;
    const double a = std::floor(std::log10(lo)), z = std::max(a + 1, std::ceil(std::log10(hi)));
    const auto ypos = [&](double m) { return y1 - (std::log10(m) - a) / (z - a) * kChartHeight; };
    chart_ticks(a, z, ypos);
    std::vector<results::LegendItem> items;
    for (int s = 1; s <= kSystems; ++s) {
      std::string d;
      bool pen = false;
      for (std::size_t b = 0; b < buckets_.size(); ++b) {
        const double m = line[static_cast<std::size_t>(s)][b];
        if (m <= 0) {
          pen = false;
          continue;
        }
        d += (pen ? "L" : "M") + px(x(b) + colW_ / 2) + " " + px(ypos(m));
        pen = true;
      }
      if (d.empty()) continue;
      const std::string cls = "median s" + std::to_string(s);
      svg_.raw("<path class=\"" + cls + "\" d=\"" + d + "\"><title>median RMS of " + system_name(s) +
               "</title></path>\n");
      items.push_back({cls, system_name(s), results::LegendItem::Sample::Line});
    }
    svg_.line(kLeft, y1, right(), y1, "axis");
    return results::draw_legend(svg_, items, y1 + 4, right());
  }

  template <class Y>
  void chart_ticks(double a, double z, Y ypos) {
    for (double e = a; e <= z; ++e) {
      for (double f : {1.0, 2.0, 5.0}) {
        const double m = f * std::pow(10.0, e);
        if (std::log10(m) > z + 1e-9) break;
        svg_.line(kLeft, ypos(m), right(), ypos(m), "grid");
        const double cm = m * 100.0;
        const std::string label = cm >= 100 ? results::shortest_text(std::round(m * 1e6) / 1e6) + " m"
                                            : results::shortest_text(std::round(cm * 1e6) / 1e6) + " cm";
        svg_.text(kLeft - 4, ypos(m) + 3, label, "tick", "end");
      }
    }
  }

  // The findings, wrapped to the panel; returns the y below.
  double panel(double left, double top) {
    svg_.text(left, top + 8, "Findings (" + std::to_string(findings_.size()) + ")", "panel-title");
    double y = top + 26;
    std::size_t lines = 0;
    for (std::size_t i = 0; i < findings_.size(); ++i) {
      if (lines >= kMaxPanelLines) {
        svg_.text(left, y, "\xE2\x80\xA6 and " + std::to_string(findings_.size() - i) +
                               " more (standard output)", "finding");
        return y + 6;
      }
      bool first = true;
      for (const std::string& part : wrap(findings_[i].line(), kPanelWidth - 12)) {
        svg_.text(left + (first ? 0 : 12), y, part, first ? "finding" : "finding");
        y += 13;
        ++lines;
        first = false;
      }
      y += 3;
    }
    if (findings_.empty()) svg_.text(left, y, "none", "finding");
    return y;
  }

  static std::vector<std::string> wrap(const std::string& text, double width) {
    std::vector<std::string> out;
    std::string line;
    std::size_t pos = 0;
    while (pos < text.size()) {
      std::size_t end = text.find(' ', pos);
      if (end == std::string::npos) end = text.size();
      std::string word = text.substr(pos, end - pos);
      while (results::text_width(word, 10) > width) {  // a word longer than a line
        const std::size_t cut = static_cast<std::size_t>(width / 6.0);
        if (!line.empty()) out.push_back(line), line.clear();
        out.push_back(word.substr(0, cut));
        word.erase(0, cut);
      }
      const std::string joined = line.empty() ? word : line + " " + word;
      if (results::text_width(joined, 10) > width && !line.empty()) {
        out.push_back(line);
        line = word;
      } else {
        line = joined;
      }
      pos = end + 1;
    }
    if (!line.empty()) out.push_back(line);
    return out;
  }

  const HistoryView& v_;
  const std::vector<Finding>& findings_;
  const std::vector<ProblemEvent>& events_;
  const PlotFacts& facts_;
  Columns cols_ = Columns::Day;
  std::vector<Bucket> buckets_;
  std::vector<std::array<float, kSystems + 1>> med_;
  std::vector<int> flagged_;
  double colW_ = 0.0, width_ = 0.0, top_ = 0.0;
  SvgDoc svg_;
};

}  // namespace

Columns columns_for(long long days) {
  if (days <= 400) return Columns::Day;
  if (days <= 400 * 7) return Columns::Week;
  if (days <= 400 * 30) return Columns::Month;
  return Columns::Year;
}

std::string history_plot(const HistoryView& v, const std::vector<Finding>& findings,
                         const std::vector<ProblemEvent>& events, const PlotFacts& facts) {
  return Picture(v, findings, events, facts).draw();
}

}  // namespace history
