// Reads arbitrary bytes as the satellite problem file, asks every query, and
// rewrites the file with arc-split records; the rewritten file must hold
// every old line (padded to 80 columns) with the records before the first
// blank-started line from line 7 on, or before an earlier line at which the
// reader stopped, and the reader must see every record added.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "orbit_check/asplit.h"
#include "platform/units.h"
#include "satcrux/d_satcrx.h"
#include "support/reset_all_state.h"

namespace {

void ask_queries(const std::string& path, const std::vector<double>& boundaries) {
  std::vector<int> sat, kind1, kind2;
  std::vector<double> epoch;
  std::vector<std::array<double, 2>> window;
  satcrux::GTSATS(2000, sat, epoch);
  satcrux::GTSATP(2000, sat, epoch);
  satcrux::GTSATB(2000, path, sat, kind1, kind2, window);
  satcrux::GTSATD(2000, path, sat, window);
  satcrux::GTSATM(2000, sat, epoch);
  satcrux::CRX_MRGSOL(boundaries);
  satcrux::GTSATM2(2000, sat, epoch);
  int trailing = 0;
  satcrux::LINCOUNT(path, 6, &trailing);
}

// The file's records as read_record splits them.
std::vector<std::string> lines_of(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// stop: the line at which the reader stopped before the end of the records (0: none).
std::string expected_rewrite(const std::string& old, double epoch,
                             const orbit_check::SplitList& split, int stop) {
  std::string out;
  bool inserted = false;
  const std::vector<std::string> lines = lines_of(old);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string head = lines[i].substr(0, 6);
    const bool blank = head.find_first_not_of(' ') == std::string::npos;
    if (!inserted && i >= 6 && (blank || static_cast<int>(i) + 1 == stop)) {
      for (int sat : split.satNum) out += orbit_check::split_record(sat, epoch) + "\n";
      inserted = true;
    }
    std::string line = lines[i];
    if (line.size() < 80) line.resize(80, ' ');
    out += line + "\n";
  }
  return inserted ? out : old;  // without a place for the records: not rewritten
}

std::string slurp(const std::string& path) {
  std::string text;
  std::FILE* fp = std::fopen(path.c_str(), "rb");
  if (!fp) return text;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0) text.append(buf, n);
  std::fclose(fp);
  return text;
}

// The reader of the rewritten file sees every record added, when each has a
// number it can read (three columns, not 0; the editing gives 1-599).
void require_records_seen(const std::string& path, double epoch,
                          const orbit_check::SplitList& split) {
  for (int s : split.satNum) {
    if (s == 0 || s < -99 || s > 999) return;
  }
  std::vector<int> sat;
  std::vector<double> at;
  fuzzsupport::fresh_state();
  fuzzsupport::set_keywords({{"SATCRUX", {path}}});
  if (!fuzzsupport::run([&] { satcrux::GTSATS(1 << 20, sat, at); })) return;
  for (int s : split.satNum) {
    bool seen = false;
    for (std::size_t k = 0; k < sat.size(); ++k) seen = seen || (sat[k] == s && at[k] == epoch);
    fuzzsupport::require(seen, "every record added is read");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  orbit_check::SplitList split;
  const int nSplit = in.ConsumeIntegralInRange(0, 4);
  for (int i = 0; i < nSplit; ++i) {
    split.satNum.push_back(in.ConsumeIntegralInRange(-999, 999));
    split.rms.push_back(0.1);
  }
  split.count = nSplit;
  const double epoch = 56000.0 + in.ConsumeIntegralInRange(0, 4000);
  std::vector<double> boundaries = {epoch - 1.0, epoch, epoch + 0.5};
  const std::string old = in.ConsumeRemainingBytesAsString();

  fuzzsupport::fresh_state();
  const std::string path = fuzzsupport::write_file("SATCRUX.CRX", old);
  fuzzsupport::set_keywords({{"SATCRUX", {path}}});
  fuzzsupport::run([&] {
    satcrux::READ_CRUX(satcrux::d_satcrx.satCrux);
    ask_queries(path, boundaries);
  });

  fuzzsupport::fresh_state();
  fuzzsupport::set_keywords({{"SATCRUX", {path}}});
  // Candidates the file already splits are dropped first; none left: no rewrite.
  orbit_check::SplitUpdate update;
  const bool done =
      fuzzsupport::run([&] { orbit_check::add_split_records(path, epoch, split, update); });
  const std::string now = slurp(path);
  const bool rewritten = done && split.count > 0;
  const int stop = satcrux::d_satcrx.satCrux.stop.line;
  fuzzsupport::require(rewritten ? now == expected_rewrite(old, epoch, split, stop) : now == old,
                       "satellite problem file is the complete new one or the old one");
  if (rewritten && update.recordsWritten > 0) require_records_seen(path, epoch, split);
  return 0;
}
