#include "history/history_options.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace history {
namespace {

constexpr const char* kUsage = R"(Usage: fitchk --history [OPTIONS] RESULTS-FILE...

Shows the orbit quality over days, weeks and years from FITCHK results files
(JSONFIL). Each RESULTS-FILE is a results file or a folder, which stands for
its files ending in ".json" (any case). The protocols are sorted by their
arc's middle day; a day's value is that of the protocol of that day, and of
two runs of one day the later one (run_start) counts. Files that cannot be
used (not a results file, damaged JSON, a failed run, a layout of another
version) are reported with the reason and left out.

Standard output: the findings, one line each, then the count of files read
and left out:
  outlier:    a satellite at or above its system's level on at least K of
              the last N days; the level is the editing level of the run
              where the results have one, else F times the median RMS of
              the system's satellites that day
  rise:       a satellite whose median RMS of the last D1 days is at least
              R times its median of the D2 days before
  appears, disappears:  a satellite first seen after the first day of the
              span, or last seen before its last day
  no results: days of the span without a results file
  run error:  days whose run ended with an error (return code 2)
  same day:   two runs of one day; which one counts

Options:
  --plot FILE           write the picture (SVG): satellites x days, the
                        findings beside it
  --table FILE          write the table (CSV): date,mjd,protocol,satellite,
                        system,rms_m,split,eclipsing, a row per day and
                        satellite
  --problem-file FILE   mark the events of the satellite problem file (arc
                        splits, manoeuvres, bad data) in the picture
  --outlier-days K      outlier on at least K days ...     (default 5)
  --outlier-window N    ... of the last N days             (default 7)
  --outlier-factor F    level without an editing level     (default 3)
  --rise-factor R       rise by at least R times           (default 1.5)
  --rise-recent D1      days of the recent median          (default 30)
  --rise-before D2      days before them                   (default 90)
  --help, -h            this text
An option's value follows it or is joined with "=" (--plot=FILE); "--"
ends the options. FILEs are replaced as a whole (a reader sees the old or
the complete new file); nothing else is written.

Exit status: 0 when results were shown (and every file asked for was
written), 1 when no results file could be used or a file asked for could
not be read or written, 2 for a bad command line.
)";

using Setter = std::function<std::string(const std::string&, HistoryOptions&)>;

std::string whole(const std::string& name, const std::string& v, int& to) {
  int n = 0;
  const auto [p, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
  if (ec != std::errc() || p != v.data() + v.size() || n < 1 || n > 100000) {
    return name + ": \"" + v + "\" is not a whole number from 1 to 100000";
  }
  to = n;
  return {};
}

std::string real(const std::string& name, const std::string& v, double min, double& to) {
  char* end = nullptr;
  const double x = std::strtod(v.c_str(), &end);
  if (v.empty() || *end != '\0' || !std::isfinite(x) || x < min || x > 1.0e6) {
    return name + ": \"" + v + "\" is not a number of at least " + (min == 1.0 ? "1" : "0");
  }
  to = x;
  return {};
}

std::string file(const std::string& name, const std::string& v, std::string& to) {
  if (v.empty()) return name + ": the file name is empty";
  to = v;
  return {};
}

const std::vector<std::pair<std::string, Setter>>& setters() {
  static const std::vector<std::pair<std::string, Setter>> s = {
      {"--plot", [](const std::string& v, HistoryOptions& o) { return file("--plot", v, o.plot); }},
      {"--table", [](const std::string& v, HistoryOptions& o) { return file("--table", v, o.table); }},
      {"--problem-file",
       [](const std::string& v, HistoryOptions& o) { return file("--problem-file", v, o.problemFile); }},
      {"--outlier-days",
       [](const std::string& v, HistoryOptions& o) { return whole("--outlier-days", v, o.outlierDays); }},
      {"--outlier-window",
       [](const std::string& v, HistoryOptions& o) { return whole("--outlier-window", v, o.outlierWindow); }},
      {"--outlier-factor",
       [](const std::string& v, HistoryOptions& o) { return real("--outlier-factor", v, 1.0, o.outlierFactor); }},
      {"--rise-factor",
       [](const std::string& v, HistoryOptions& o) { return real("--rise-factor", v, 1.0, o.riseFactor); }},
      {"--rise-recent",
       [](const std::string& v, HistoryOptions& o) { return whole("--rise-recent", v, o.riseRecent); }},
      {"--rise-before",
       [](const std::string& v, HistoryOptions& o) { return whole("--rise-before", v, o.riseBefore); }},
  };
  return s;
}

const Setter* setter_of(const std::string& name) {
  for (const auto& [n, s] : setters()) {
    if (n == name) return &s;
  }
  return nullptr;
}

}  // namespace

const char* history_usage() { return kUsage; }

std::string parse_history_options(const std::vector<std::string>& args, HistoryOptions& opt) {
  bool options = true;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!options || a.size() < 2 || a[0] != '-') {
      opt.inputs.push_back(a);
      continue;
    }
    if (a == "--") {
      options = false;
    } else if (a == "--help" || a == "-h") {
      opt.help = true;
    } else {
      const auto eq = a.find('=');
      const std::string name = a.substr(0, eq);
      const Setter* set = name.rfind("--", 0) == 0 ? setter_of(name) : nullptr;
      if (!set) return "unknown option " + name;
      if (eq == std::string::npos && i + 1 >= args.size()) return name + " needs a value";
      const std::string value = eq == std::string::npos ? args[++i] : a.substr(eq + 1);
      if (std::string why = (*set)(value, opt); !why.empty()) return why;
    }
  }
  if (opt.help) return {};
  if (opt.inputs.empty()) return "no results file or folder given";
  if (opt.outlierDays > opt.outlierWindow) {
    return "--outlier-days " + std::to_string(opt.outlierDays) + " is more than --outlier-window " +
           std::to_string(opt.outlierWindow);
  }
  return {};
}

}  // namespace history
