// Times fitchk --history over 25 years of daily results files (9 131 files
// of 136 satellites, about 170 MB) against python3 only loading the same
// files with its json module, and reports fitchk's peak resident memory and
// the size of its picture.
//
//   history_bench [runs=5] [dir=/tmp] [fitchk=PATH] [python=python3] [table=1] [keep=1]
//
// The set is written once (by the run's own results writer, with the
// planted faults of gen_results); both programs then run in turn after one
// warm-up run each, files in the page cache. The figures are medians.
// Targets: fitchk below python3, peak memory below 200 MB, picture below
// 5 MB.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/results_gen.h"

namespace {

namespace fs = std::filesystem;

struct Options {
  int runs = 5;
  std::string dir = "/tmp";
  std::string fitchk;
  std::string python = "python3";
  bool table = false;  // also write the table
  bool keep = false;
};

struct Run {
  double ms = 0.0;
  long maxRssKb = 0;
  int status = -1;
};

Options parse(int argc, char** argv) {
  Options o;
  o.fitchk = (fs::absolute(argv[0]).lexically_normal().parent_path().parent_path() / "fitchk").string();
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const std::string v = a.substr(a.find('=') + 1);
    if (a.rfind("runs=", 0) == 0) o.runs = std::max(1, std::atoi(v.c_str()));
    if (a.rfind("dir=", 0) == 0) o.dir = v;
    if (a.rfind("fitchk=", 0) == 0) o.fitchk = fs::absolute(v).lexically_normal().string();
    if (a.rfind("python=", 0) == 0) o.python = v;
    if (a == "table=1") o.table = true;
    if (a == "keep=1") o.keep = true;
  }
  return o;
}

// Runs argv with standard output on /dev/null (only written, never removed).
Run run(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const auto t0 = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    execvp(args[0], args.data());
    _exit(127);
  }
  Run r;
  int status = 0;
  rusage use{};
  wait4(pid, &status, 0, &use);
  r.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  r.maxRssKb = use.ru_maxrss;
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

constexpr const char* kLoad =
    "import json, os, sys\n"
    "d = sys.argv[1]\n"
    "for n in sorted(os.listdir(d)):\n"
    "    with open(os.path.join(d, n)) as f:\n"
    "        try:\n"
    "            json.load(f)\n"
    "        except ValueError:\n"
    "            pass\n";

}  // namespace

int main(int argc, char** argv) {
  const Options o = parse(argc, argv);
  const std::string folder = o.dir + "/fitchk_history_bench";
  fs::remove_all(folder);
  fs::create_directories(folder + "/results");
  bench::ResultsPlan plan;
  plan.firstDay = 51544;  // 2000-01-01
  plan.days = 9131;
  bench::plant_faults(plan);
  const auto names = bench::write_results_set(folder + "/results", plan);
  std::uintmax_t bytes = 0;
  for (const auto& e : fs::directory_iterator(folder + "/results")) bytes += e.file_size();
  std::printf("25 years: %zu results files, %.0f MB\n", names.size(), static_cast<double>(bytes) / 1e6);
  const std::string svg = folder + "/history.svg";
  std::vector<std::string> fitchk = {o.fitchk, "--history", "--plot", svg, folder + "/results"};
  if (o.table) fitchk.insert(fitchk.end() - 1, {"--table", folder + "/history.csv"});
  const std::vector<std::string> python = {o.python, "-c", kLoad, folder + "/results"};
  run(fitchk);
  run(python);
  std::vector<double> tf, tp;
  long rss = 0;
  for (int i = 0; i < o.runs; ++i) {
    const Run f = run(fitchk), p = run(python);
    if (f.status != 0 || p.status != 0) {
      std::fprintf(stderr, "history_bench: exit status fitchk %d, python3 %d\n", f.status, p.status);
      return 1;
    }
    tf.push_back(f.ms);
    tp.push_back(p.ms);
    rss = std::max(rss, f.maxRssKb);
  }
  const double mf = median(tf), mp = median(tp);
  const double svgMb = static_cast<double>(fs::file_size(svg)) / 1e6;
  std::printf("fitchk --history%s: %.0f ms   python3 json.load only: %.0f ms   ratio %.2f (%s)\n",
              o.table ? " (with --table)" : "", mf, mp, mf / mp, mf < mp ? "met" : "missed");
  std::printf("peak memory: %.0f MB (%s)   picture: %.2f MB (%s)\n", static_cast<double>(rss) / 1024.0,
              rss < 200 * 1024 ? "met" : "missed", svgMb, svgMb < 5.0 ? "met" : "missed");
  if (!o.keep) fs::remove_all(folder);
  return 0;
}
