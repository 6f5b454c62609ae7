#include "history/history.h"

#include <thread>

#include "history/collect_results.h"
#include "history/findings.h"
#include "history/history_options.h"
#include "history/history_plot.h"
#include "history/history_table.h"
#include "history/history_view.h"
#include "history/problem_events.h"
#include "platform/file_identity.h"
#include "platform/replace_file.h"
#include "platform/read_whole_file.h"

namespace history {
namespace {

constexpr const char* kName = "fitchk --history: ";

int usage_error(const std::string& why, std::string& errors) {
  errors = kName + why + "\nTry 'fitchk --history --help'.\n";
  return 2;
}

// Why an output may not be written: it would replace an input or the other
// output; empty when it may.
std::string clash(const std::string& option, const std::string& name, const HistoryOptions& o,
                  const std::vector<ResultsFile>& files) {
  if (name.empty()) return {};
  const auto same = [&](const std::string& other) {
    return other == name || platform::same_existing_file(other, name);
  };
  for (const ResultsFile& f : files) {
    if (same(f.path)) return option + " " + name + " would replace the results file " + f.path;
  }
  for (const std::string& in : o.inputs) {
    if (same(in)) return option + " " + name + " names the input " + in;
  }
  if (!o.problemFile.empty() && same(o.problemFile)) {
    return option + " " + name + " would replace the satellite problem file";
  }
  if (option == "--table" && !o.plot.empty() && same(o.plot)) return "--plot and --table name one file";
  return {};
}

// Replaces file name by content as the run replaces its picture; a line
// telling what was written, or the failure (then ok is cleared).
std::string write_output(const std::string& option, const std::string& name, const std::string& content,
                         const std::string& what, bool& ok) {
  platform::remove_leftovers(name);
  const int status = platform::replace_file(name, content);
  if (status == 0) return option.substr(2) + ": " + name + " written (" + what + ")\n";
  ok = false;
  return "error: " + option + " " + name + ": cannot be written (" + platform::error_words(status) +
         "); an old file is left as it was\n";
}

unsigned reader_threads() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 2 : std::min(n, 4u);
}

std::string columns_text(const HistoryView& v) {
  switch (columns_for(v.last - v.first + 1)) {
    case Columns::Day: return "one column per day";
    case Columns::Week: return "one column per week";
    case Columns::Month: return "one column per month";
    case Columns::Year: return "one column per year";
  }
  return {};
}

// The outputs asked for, after the findings.
std::string outputs(const HistoryOptions& o, const HistoryView& v, const std::vector<Finding>& findings,
                    const std::vector<ProblemEvent>& events, const PlotFacts& facts, bool& ok) {
  std::string text;
  if (!o.table.empty()) {
    std::size_t rows = 0;
    for (unsigned char f : v.flags) rows += (f & kHas) != 0;
    text += write_output("--table", o.table, history_table(v), std::to_string(rows) + " rows", ok);
  }
  if (!o.plot.empty()) {
    text += write_output("--plot", o.plot, history_plot(v, findings, events, facts), columns_text(v), ok);
  }
  return text;
}

}  // namespace

int HISTORY(const std::vector<std::string>& args, std::string& report, std::string& errors) {
  HistoryOptions o;
  if (std::string why = parse_history_options(args, o); !why.empty()) return usage_error(why, errors);
  if (o.help) {
    report = history_usage();
    return 0;
  }
  std::vector<ResultsFile> files = list_results_files(o.inputs);
  for (const auto& [option, name] : {std::pair{"--plot", o.plot}, std::pair{"--table", o.table}}) {
    if (std::string why = clash(option, name, o, files); !why.empty()) return usage_error(why, errors);
  }
  read_results_files(files, reader_threads());
  const HistoryView v = build_view(files);
  PlotFacts facts;
  for (const ResultsFile& f : files) {
    if (f.reason.empty()) {
      ++facts.filesRead;
    } else {
      ++facts.filesLeftOut;
      report += "left out: " + f.path + ": " + f.reason + "\n";
    }
  }
  const std::string count = "results files: " + std::to_string(facts.filesRead) + " read, " +
                            std::to_string(facts.filesLeftOut) + " left out\n";
  if (v.days.empty()) {
    report += "no results file could be used: nothing is shown or written\n" + count;
    return 1;
  }
  for (const std::string& line : v.sameDay) report += line + "\n";
  bool ok = true;
  std::vector<ProblemEvent> events;
  if (!o.problemFile.empty()) {
    const std::string why = read_problem_events(o.problemFile, v.first, v.last, events);
    if (!why.empty()) {
      report += "error: --problem-file " + o.problemFile + ": " + why + "; no events are marked\n";
      ok = false;
    } else {
      facts.problemFile = o.problemFile;
      report += "problem file: " + o.problemFile + ": " + std::to_string(events.size()) +
                " events within the span\n";
    }
  }
  const std::vector<Finding> findings = find_findings(v, o);
  for (const Finding& f : findings) report += f.line() + "\n";
  report += outputs(o, v, findings, events, facts, ok);
  report += count;
  return ok ? 0 : 1;
}

}  // namespace history
