#include "results/write_results.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string_view>

#include "framework/d_pgmid.h"
#include "results/number_text.h"
#include "timeutil/valid_utf8.h"

namespace results {
namespace {

// Writes one JSON document, two blanks of indent per level; a compact
// object or array stays on one line.
class JsonWriter {
 public:
  JsonWriter() { out_ = "{"; levels_.push_back({true, false}); }
  void open(std::string_view key, char bracket, bool compact = false) {
    item(key);
    out_ += bracket;
    levels_.push_back({true, compact || levels_.back().compact});
  }
  void close(char bracket) {
    const Level l = levels_.back();
    levels_.pop_back();
    if (!l.first && !l.compact) newline();
    out_ += bracket;
  }
  void raw(std::string_view key, std::string_view json) {
    item(key);
    out_ += json;
  }
  std::string finish() {
    close('}');
    return out_ + "\n";
  }

 private:
  struct Level {
    bool first;
    bool compact;
  };
  void newline() { out_ += "\n" + std::string(2 * levels_.size(), ' '); }
  void item(std::string_view key) {
    Level& l = levels_.back();
    if (!l.first) out_ += l.compact ? ", " : ",";
    if (!l.compact) newline();
    l.first = false;
    if (!key.empty()) out_ += "\"" + std::string(key) + "\": ";
  }
  std::string out_;
  std::vector<Level> levels_;
};

std::string quoted(std::string_view text) {
  static const char* const kHex = "0123456789abcdef";
  std::string out = "\"";
  for (char c : timeutil::valid_utf8(text)) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      out += std::string("\\u00") + kHex[u >> 4] + kHex[u & 15];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string num(double v) { return shortest_text(v); }
std::string num(long long v) { return std::to_string(v); }
std::string text_or_null(const std::string& s) { return s.empty() ? "null" : quoted(s); }

// System letter of a satellite; none outside the numbers 0-599.
std::string system_of(int satNum) {
  if (satNum < 0 || satNum >= 100 * kMaxSys) return "null";
  return quoted(kSystemLetter[static_cast<std::size_t>(sat_system(satNum) - 1)]);
}

void epoch(JsonWriter& w, std::string_view key, double mjd) {
  w.open(key, '{', true);
  w.raw("iso", text_or_null(iso_epoch(mjd)));
  w.raw("mjd", num(mjd));
  w.close('}');
}

void window(JsonWriter& w, std::string_view key, const std::array<double, 2>& win) {
  w.open(key, '{');
  epoch(w, "start", win[0]);
  epoch(w, "end", win[1]);
  w.close('}');
}

// Severity and routine of a message from its first line (" *** SR EXTDEF:
// ...", " ### PG FITCHK: ..."): the routine is the name up to the first
// ": " after the kind; none when the line names none.
void message(JsonWriter& w, const std::vector<std::string>& lines) {
  const std::string& head = lines.empty() ? std::string() : lines[0];
  std::string_view rest = std::string_view(head).substr(std::min<std::size_t>(5, head.size()));
  const auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
  if (rest.size() > 3 && upper(rest[0]) && upper(rest[1]) && rest[2] == ' ') rest.remove_prefix(3);
  std::size_t end = rest.find(": ");
  if (end == std::string_view::npos && !rest.empty() && rest.back() == ':') end = rest.size() - 1;
  const std::string_view routine =
      end == std::string_view::npos ? std::string_view() : rest.substr(0, end);
  w.open("", '{');
  w.raw("severity", quoted(head.rfind(" *** ", 0) == 0 ? "error" : "warning"));
  w.raw("routine", routine.empty() || routine.find(' ') != std::string_view::npos
                       ? "null"
                       : quoted(routine));
  w.open("lines", '[');
  for (const std::string& line : lines) w.raw("", quoted(line));
  w.close(']');
  w.close('}');
}

bool holds(const std::vector<int>& list, int v) {
  return std::find(list.begin(), list.end(), v) != list.end();
}

void int_list(JsonWriter& w, std::string_view key, const std::vector<int>& values) {
  w.open(key, '[', true);
  for (int v : values) w.raw("", num(static_cast<long long>(v)));
  w.close(']');
}

void run_head(JsonWriter& w, const RunRecord& run, int ircode,
              const framework::Messages& messages) {
  w.raw("program", quoted("FITCHK"));
  w.raw("version", quoted(framework::kSuiteVersion));
  w.raw("run_title", quoted(run.title));
  w.raw("run_start", quoted(run.runStart));
  w.raw("input_file", quoted(run.inputFile));
  w.raw("input_file_opened", quoted(run.inputPath));
  w.raw("return_code", num(static_cast<long long>(ircode)));
  w.raw("exit_status", num(static_cast<long long>(exit_status(ircode))));
  static const char* const kVerdict[] = {"satellites_split", "none_split", "tolerance_exceeded",
                                         "tolerance_kept",   "no_check",   "error"};
  w.raw("verdict", quoted(kVerdict[static_cast<int>(run_verdict(run, ircode))]));
  w.raw("verdict_text", quoted(verdict_text(run, ircode, messages)));
  w.open("messages", '[');
  for (const std::vector<std::string>& lines : messages) message(w, lines);
  w.close(']');
}

void options(JsonWriter& w, const RunRecord& run) {
  if (!run.optionsRead) {
    w.raw("options", "null");
    return;
  }
  w.open("options", '{');
  w.raw("tolerance_m", num(run.tolRms));
  w.raw("edit_rule", quoted(kEditRuleName[static_cast<std::size_t>(run.thresholds.rule)]));
  w.open("systems", '[');
  for (int s = 0; s < kMaxSys; ++s) {
    w.open("", '{', true);
    w.raw("system", quoted(kSystemName[s]));
    w.raw("letter", quoted(kSystemLetter[s]));
    w.raw("factor", num(run.thresholds.factor[s]));
    w.raw("lower_limit_m", num(run.thresholds.limit[s]));
    w.close('}');
  }
  w.close(']');
  w.close('}');
}

// The satellites read; in the arc-split case with their flags.
void satellites(JsonWriter& w, const ProtocolExtract& e, const std::optional<SplitRecord>& s) {
  w.open("satellites", '[');
  for (int i = 0; i < std::clamp(e.nSat, 0, kMaxSat); ++i) {
    const int sat = e.satNum[static_cast<std::size_t>(i)];
    w.open("", '{', true);
    w.raw("number", num(static_cast<long long>(sat)));
    w.raw("system", system_of(sat));
    w.raw("rms_m", num(e.rms[static_cast<std::size_t>(i)]));
    if (s) {
      const std::size_t n = std::min(s->split.satNum.size(),
                                     static_cast<std::size_t>(std::max(s->split.count, 0)));
      const auto first = s->split.satNum.begin();
      const auto last = first + static_cast<std::ptrdiff_t>(n);
      w.raw("candidate", holds(s->update.candidates, sat) ? "true" : "false");
      w.raw("split", std::find(first, last, sat) != last ? "true" : "false");
      w.raw("already_split", holds(s->update.dropped, sat) ? "true" : "false");
    }
    w.close('}');
  }
  w.close(']');
}

void eclipsing(JsonWriter& w, const ProtocolExtract& e) {
  w.raw("eclipsing_count", num(static_cast<long long>(e.nEcl)));
  w.open("eclipsing", '[');
  for (int j = 0; j < std::clamp(e.nEcl, 0, kMaxEcl); ++j) {
    const std::optional<int> mm = eclipse_rms_mm(e, j);
    w.open("", '{', true);
    w.raw("number", num(static_cast<long long>(e.eclSat[j])));
    w.raw("longest_shadow_s", num(static_cast<long long>(e.longShadow[j])));
    w.raw("rms_mm", mm ? num(static_cast<long long>(*mm)) : "null");
    w.close('}');
  }
  w.close(']');
}

void protocol(JsonWriter& w, const ProtocolRecord& p, const std::optional<SplitRecord>& split) {
  w.open("", '{');
  w.raw("file", quoted(p.fileName));
  w.raw("file_opened", quoted(p.filePath));
  w.raw("complete", p.complete ? "true" : "false");
  w.raw("arc_count", num(static_cast<long long>(p.extract.nArc)));
  if (p.hasWindow) {
    w.open("arc_window", '{');
    window(w, "read", p.windowRead);
    window(w, "rounded", p.extract.window);
    w.close('}');
    w.open("day_of_year", '{', true);
    w.raw("start", num(p.doyStart));
    w.raw("end", num(p.doyEnd));
    w.raw("middle", num(p.middleDay));
    w.close('}');
  } else {
    w.raw("arc_window", "null");
    w.raw("day_of_year", "null");
  }
  w.raw("satellite_count", num(static_cast<long long>(p.statedCount)));
  w.raw("satellites_read", num(static_cast<long long>(p.extract.nSat)));
  satellites(w, p.extract, split);
  if (p.extract.nSat > 0) {
    w.open("largest_rms", '{', true);
    w.raw("number", num(static_cast<long long>(p.satMax)));
    w.raw("rms_m", num(p.rmsMax));
    w.close('}');
  } else {
    w.raw("largest_rms", "null");
  }
  eclipsing(w, p.extract);
  w.close('}');
}

// The edited systems: the statistic (mean or median RMS) and the level of
// the editing; none for a system the median rule does not edit.
void split_systems(JsonWriter& w, const RunRecord& run) {
  const bool median = run.thresholds.rule == EditRule::Median;
  w.open("systems", '[');
  for (int s = 0; s < kMaxSys; ++s) {
    const double factor = run.thresholds.factor[s];
    if (factor == 0.0) continue;
    const orbit_check::SystemEditing& e = run.editing[static_cast<std::size_t>(s)];
    const double level = run.split->level[s];
    const bool none = median && !e.editable;
    const std::string statistic = none ? "null" : num(median ? e.median : level / factor);
    w.open("", '{', true);
    w.raw("system", quoted(kSystemName[s]));
    w.raw("letter", quoted(kSystemLetter[s]));
    w.raw("mean_rms_m", median ? "null" : statistic);
    w.raw("editing_level_m", none ? "null" : num(level));
    w.raw("statistic", quoted(median ? "median" : "mean"));
    w.raw("statistic_rms_m", statistic);
    w.raw("satellite_count", num(static_cast<long long>(e.count)));
    w.raw("editable", e.editable ? "true" : "false");
    w.close('}');
  }
  w.close(']');
}

void arc_split(JsonWriter& w, const RunRecord& run) {
  if (!run.split) {
    w.raw("arc_split", "null");
    return;
  }
  const SplitRecord& s = *run.split;
  w.open("arc_split", '{');
  w.raw("report_file", quoted(s.reportName));
  w.raw("report_file_opened", quoted(s.reportPath));
  epoch(w, "split_epoch", s.splitEpoch);
  split_systems(w, run);
  int_list(w, "candidates", s.update.candidates);
  int_list(w, "already_split", s.update.dropped);
  w.open("split", '[');
  for (int k = 0; k < s.split.count; ++k) {
    w.open("", '{', true);
    w.raw("number", num(static_cast<long long>(s.split.satNum[static_cast<std::size_t>(k)])));
    w.raw("rms_m", num(s.split.rms[static_cast<std::size_t>(k)]));
    w.close('}');
  }
  w.close(']');
  w.raw("records_written", num(static_cast<long long>(s.update.recordsWritten)));
  w.raw("durable", s.update.durable ? "true" : "false");
  w.raw("satellite_problem_file", text_or_null(s.update.crxName));
  w.raw("satellite_problem_file_opened", text_or_null(s.crxPath));
  w.close('}');
}

void tolerance(JsonWriter& w, const RunRecord& run) {
  if (!run.tolerance) {
    w.raw("tolerance_check", "null");
    return;
  }
  const ToleranceRecord& t = *run.tolerance;
  w.open("tolerance_check", '{');
  w.raw("checked", t.tolerance > 0.0 && !run.noCheck ? "true" : "false");
  w.raw("tolerance_m", num(t.tolerance));
  w.raw("largest_rms_m", t.rmsRead ? num(t.rmsMax) : "null");
  w.raw("satellite", t.rmsRead ? num(static_cast<long long>(t.satMax)) : "null");
  w.raw("exceeded", t.exceeded ? "true" : "false");
  w.close('}');
}

}  // namespace

std::string write_results(const RunRecord& run, int ircode,
                          const framework::Messages& messages) {
  JsonWriter w;
  run_head(w, run, ircode, messages);
  options(w, run);
  w.open("protocols", '[');
  for (const ProtocolRecord& p : run.protocols) protocol(w, p, run.split);
  w.close(']');
  arc_split(w, run);
  tolerance(w, run);
  return w.finish();
}

}  // namespace results
