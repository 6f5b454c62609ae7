// Times whole fitchk runs, start to exit, against `wc -l` over the same
// protocol files, and reports fitchk's peak resident memory.
//
//   fitchk_bench [case=a|b|c|all] [runs=9] [dir=/tmp] [fitchk=PATH] [keep=1]
//
//   a  a typical run: one protocol of about 5 000 lines, the arc-split case
//      with a satellite problem file (restored before every run)
//   b  100 protocols of 20 000 lines each, every line read
//   c  one protocol of 2 000 000 lines: 20 arcs, 3 iterations
//
// fitchk, `wc -l` and line_floor (the least a line-by-line reader costs)
// run in turn (interleaved) after one warm-up run each; the figures are
// medians, the ratios against `wc -l`. fitchk defaults to the one beside this program's
// folder (build-bench/fitchk).
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/protocol_gen.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options {
  std::string which = "all";
  int runs = 9;
  std::string dir = "/tmp";
  std::string fitchk;
  std::string floor;  // the line-reader floor, beside this program
  bool keep = false;  // keep the folder of the generated files
};

// One benchmark case: its folder, protocols (names relative to the folder)
// and targets.
struct Case {
  std::string name, what, folder;
  std::vector<std::string> protocols;
  long long lines = 0;
  double maxRatio = 0.0;  // fitchk / wc -l, 0: none
  double maxMs = 0.0;     // fitchk wall time, 0: none
};

// A child's wall time (ms), peak resident memory (kB) and exit status.
struct Run {
  double ms = 0.0;
  long maxRssKb = 0;
  int status = -1;
};

Options parse(int argc, char** argv) {
  Options o;
  const fs::path self = fs::absolute(argv[0]).lexically_normal();
  o.fitchk = (self.parent_path().parent_path() / "fitchk").string();
  o.floor = (self.parent_path() / "line_floor").string();
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const std::string v = a.substr(a.find('=') + 1);
    if (a.rfind("case=", 0) == 0) o.which = v;
    if (a.rfind("runs=", 0) == 0) o.runs = std::max(1, std::atoi(v.c_str()));
    if (a.rfind("dir=", 0) == 0) o.dir = v;
    if (a.rfind("fitchk=", 0) == 0) o.fitchk = fs::absolute(v).lexically_normal().string();
    if (a == "keep=1") o.keep = true;
  }
  return o;
}

// Runs argv in folder with standard output on /dev/null (only read from
// there: nothing is ever removed).
Run run_child(const std::string& folder, const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  Run r;
  const auto t0 = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    if (null < 0 || dup2(null, 1) < 0 || chdir(folder.c_str()) != 0) _exit(127);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) return r;
  r.ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
  r.maxRssKb = usage.ru_maxrss;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

void write_text(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The keyword input file of a run over the protocols; with a problem file,
// the arc-split case.
std::string input_file(const std::vector<std::string>& protocols, bool arcSplit) {
  std::string t = "TITLE 1 \"Benchmark run\"\nRADIO_1 1 \"1\"\n";
  // A count of 1 carries its value on the keyword line.
  if (protocols.size() == 1) {
    t += "JOBOUT 1 \"" + protocols[0] + "\"\n";
  } else {
    t += "JOBOUT " + std::to_string(protocols.size()) + "\n";
    for (const std::string& p : protocols) t += "  \"" + p + "\"\n";
  }
  t += "TOL_RMS 1 \"0\"\nFAC_GPS 1 \"3\"\nFAC_GLO 1 \"3\"\nLIM_GPS 1 \"0\"\nLIM_GLO 1 \"0\"\n";
  t += "OUTFIL 1 SUMMARY.OUT\nWEEKFM 1 WEEK.OUT\nSYSOUT 1 FITCHK.OUT\nSYSERR 1 FITCHK.ERR\n";
  if (arcSplit) t += "ASPLIT 1 ASPLIT.OUT\nSATCRUX 1 SATCRUX.CRX\n";
  return t;
}

std::string problem_file() {
  std::string t =
      "MORVANE GNSS SOFTWARE - SATELLITE PROBLEM FILE                   14-MAY-13 06:12\n"
      "--------------------------------------------------------------------------------\n"
      " Known problems of individual satellites\n"
      "  SAT   PROBLEM    ACTION       FROM                 TO\n"
      "  NUM      KIND      KIND       YYYY-MM-DD HH:MM:SS  YYYY-MM-DD HH:MM:SS\n"
      "*****  ********  ********       *******************  *******************\n";
  for (int i = 0; i < 200; ++i) {
    char line[96];
    std::snprintf(line, sizeof line, "  %3d         3         2       2013-04-%02d 06:00:00  2013-04-%02d 09:00:00\n",
                  1 + i % 32, 1 + i % 28, 1 + i % 28);
    t += line;
  }
  return t + "\nPROBLEM/ACTION KINDS: see the manual\n";
}

// Writes the protocols of plans into the case's folder.
void add_protocols(Case& c, const std::vector<bench::ProtocolPlan>& plans) {
  for (std::size_t f = 0; f < plans.size(); ++f) {
    char name[32];
    std::snprintf(name, sizeof name, "P%03zu.PRT", f);
    c.protocols.push_back(name);
    c.lines += bench::write_protocol(c.folder + "/" + name, plans[f]).lines;
  }
}

Case typical_run(const std::string& folder) {
  Case c{"a", "typical run, arc-split case", folder, {}, 0, 0.0, 5.0};
  bench::ProtocolPlan p;
  p.seed = 5;
  p.nSat = 40;
  p.nIter = 4;
  p.noisePerTable = 1150;
  p.nEcl = 12;
  p.outliers = {{4, 0.2}};  // GPS 4 high
  add_protocols(c, {p});
  write_text(folder + "/FITCHK.INP", input_file(c.protocols, true));
  write_text(folder + "/SATCRUX.ORIG", problem_file());
  return c;
}

Case many_protocols(const std::string& folder) {
  Case c{"b", "100 protocols of 20 000 lines", folder, {}, 0, 1.5, 0.0};
  std::vector<bench::ProtocolPlan> plans;
  for (int f = 0; f < 100; ++f) {
    bench::ProtocolPlan p;
    p.seed = static_cast<unsigned>(f + 1);
    p.nSat = 40 + f % 20;
    p.nIter = 6;
    p.layout = f % 2 ? 'B' : 'A';
    p.noisePerTable = 3223 - (p.nSat - 40);
    p.nEcl = 12;
    p.outliers = {{4, 0.2}};  // GPS 4 high
    plans.push_back(p);
  }
  add_protocols(c, plans);
  write_text(folder + "/FITCHK.INP", input_file(c.protocols, false));
  return c;
}

Case huge_protocol(const std::string& folder) {
  Case c{"c", "one protocol of 2 000 000 lines", folder, {}, 0, 1.5, 0.0};
  bench::ProtocolPlan p;
  p.seed = 9;
  p.nSat = 50;
  p.nIter = 3;
  p.noisePerTable = 1500;
  p.finalNoise = 95760;
  p.nEcl = 20;
  p.outliers = {{4, 0.2}};  // GPS 4 high
  p.arcs.clear();
  for (int a = 0; a < 20; ++a) {
    char start[24], end[24];
    std::snprintf(start, sizeof start, "2014-01-%02d 00:00:00", 1 + a);
    std::snprintf(end, sizeof end, "2014-01-%02d 00:00:00", 3 + a);
    p.arcs.emplace_back(start, end);
  }
  add_protocols(c, {p});
  write_text(folder + "/FITCHK.INP", input_file(c.protocols, false));
  return c;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// One timed round: fitchk, then `wc -l` and the line-reader floor over the
// same files; false when one of them did not end with status 0.
bool timed_round(const Case& c, const Options& o, Run& f, Run& w, Run& floor) {
  std::error_code ec;
  if (fs::exists(c.folder + "/SATCRUX.ORIG")) {
    fs::copy_file(c.folder + "/SATCRUX.ORIG", c.folder + "/SATCRUX.CRX",
                  fs::copy_options::overwrite_existing, ec);
  }
  f = run_child(c.folder, {o.fitchk, "FITCHK.INP"});
  std::vector<std::string> wc = {"wc", "-l"};
  wc.insert(wc.end(), c.protocols.begin(), c.protocols.end());
  w = run_child(c.folder, wc);
  std::vector<std::string> fl = {o.floor};
  fl.insert(fl.end(), c.protocols.begin(), c.protocols.end());
  floor = run_child(c.folder, fl);
  return f.status == 0 && w.status == 0 && floor.status == 0;
}

bool measure(const Case& c, const Options& o) {
  Run f, w, fl;
  if (!timed_round(c, o, f, w, fl)) {
    std::fprintf(stderr, "case %s: fitchk exit status %d (see %s/FITCHK.OUT)\n", c.name.c_str(),
                 f.status, c.folder.c_str());
    return false;
  }
  std::vector<double> fMs, wMs, flMs;
  long rss = 0, wcRss = 0;
  for (int r = 0; r < o.runs; ++r) {
    if (!timed_round(c, o, f, w, fl)) return false;
    fMs.push_back(f.ms);
    wMs.push_back(w.ms);
    flMs.push_back(fl.ms);
    rss = std::max(rss, f.maxRssKb);
    wcRss = std::max(wcRss, w.maxRssKb);
  }
  const double fm = median(fMs), wm = median(wMs), flm = median(flMs), ratio = fm / wm;
  bool met = rss < 8 * 1024;
  if (c.maxRatio > 0) met = met && ratio <= c.maxRatio;
  if (c.maxMs > 0) met = met && fm < c.maxMs;
  std::printf("%-2s %-32s %5zu %8lld %8.2f %8.2f %6.2f %8.2f %6.2f %9ld %7ld  %s\n", c.name.c_str(),
              c.what.c_str(), c.protocols.size(), c.lines, fm, wm, ratio, flm, flm / wm, rss,
              wcRss, met ? "met" : "MISSED");
  return met;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = parse(argc, argv);
  std::string tmpl = o.dir + "/fitchk_bench_XXXXXX";
  if (!mkdtemp(tmpl.data())) {
    std::fprintf(stderr, "fitchk_bench: cannot make a folder in %s\n", o.dir.c_str());
    return 1;
  }
  std::vector<Case> cases;
  for (const char* name : {"a", "b", "c"}) {
    if (o.which != "all" && o.which != name) continue;
    const std::string folder = tmpl + "/" + name;
    fs::create_directory(folder);
    cases.push_back(name[0] == 'a' ? typical_run(folder)
                    : name[0] == 'b' ? many_protocols(folder)
                                     : huge_protocol(folder));
  }
  std::printf("fitchk: %s; %d runs per case, medians in ms, peak memory in kB\n", o.fitchk.c_str(),
              o.runs);
  std::printf("%-2s %-32s %5s %8s %8s %8s %6s %8s %6s %9s %7s  %s\n", "", "case", "files", "lines",
              "fitchk", "wc -l", "ratio", "floor", "ratio", "fitchk kB", "wc kB", "targets");
  bool all = true;
  for (const Case& c : cases) all = measure(c, o) && all;
  std::error_code ec;
  if (o.keep) {
    std::printf("files kept in %s\n", tmpl.c_str());
  } else {
    fs::remove_all(tmpl, ec);
  }
  return all ? 0 : 1;
}
