// Reads arbitrary bytes as a results file for the history view, twice (as
// two runs of the same days), and makes the view, its findings, table and
// picture: no input may crash them, and a file that is used must give a
// day with values.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "history/findings.h"
#include "history/history_plot.h"
#include "history/history_table.h"
#include "history/history_view.h"
#include "history/read_results.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<history::ResultsFile> files(2);
  for (history::ResultsFile& f : files) {
    f.path = "fuzz.json";
    history::read_results(text, f);
  }
  const history::HistoryView v = history::build_view(files);
  if (files[0].reason.empty() && v.days.empty()) {
    std::fputs("property violated: a file used without a day\n", stderr);
    std::abort();
  }
  if (v.days.empty()) return 0;
  const history::HistoryOptions opt;
  const std::vector<history::Finding> findings = history::find_findings(v, opt);
  history::history_table(v);
  history::history_plot(v, findings, {}, history::PlotFacts{});
  return 0;
}
