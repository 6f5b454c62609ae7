#include "framework/m_cpu.h"

#include "framework/d_pgmid.h"
#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "platform/clock.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "timeutil/clocks.h"
#include "timeutil/djul.h"
#include "timeutil/radgms.h"

namespace framework {

Cpu m_cpu;

namespace {

constexpr int console = 6;

// CPU seconds and the local wall clock as MJD; the UTC offset is not used.
std::array<double, 2> now() {
  std::array<int, 8> v{};
  timeutil::CLOCKS(v);
  const double day = v[2] + (v[4] + (v[5] + (v[6] + v[7] * 0.001) / 60.0) / 60.0) / 24.0;
  return {platform::cpu_seconds(), timeutil::DJUL(v[0], v[1], day)};
}

// "cpu / real" of the time from `from` to `to`.
std::string durations(const std::array<double, 2>& from, const std::array<double, 2>& to) {
  std::string cpu;
  std::string real;
  WRITE_TIME(cpu, (to[0] - from[0]) / 86400.0);
  WRITE_TIME(real, to[1] - from[1]);
  return cpu + " / " + real;
}

bool started() { return m_cpu.cpuStart[0] != cpuNotStarted; }

}  // namespace

void CPU_START(bool start) {
  m_cpu.cpuStart = {cpuNotStarted, cpuNotStarted};
  if (!start) return;
  m_cpu.cpuStart = now();
  m_cpu.cpuLast = m_cpu.cpuStart;
}

void CPU_NOW(std::string_view text) {
  if (!started()) return;
  const std::array<double, 2> t = now();
  if (!platform::is_blank(d_pgmid.pgmName)) {
    const std::string line = ">>> CPU/Real time at \"" + std::string(platform::rtrim(text)) +
                             "\": " + durations(m_cpu.cpuStart, t) + "  ( " +
                             durations(m_cpu.cpuLast, t) + " )";
    write_lines(console, {"", platform::cut(line, 255), ""});
  }
  m_cpu.cpuLast = t;
}

void CPU_END(int ircode) {
  if (!started()) return;
  const std::array<double, 2> t = now();
  if (platform::is_blank(d_pgmid.pgmName)) return;
  const std::string line =
      platform::cut(">>> CPU/Real time for pgm \"" + std::string(platform::rtrim(d_pgmid.pgmName)) +
                        "\": " + durations(m_cpu.cpuStart, t),
                    80);
  write_lines(console, {"", line, ""});
  write_lines(m_tolk.lfnOut, {"", "", std::string(65, '-'), line});
  write_lines(m_tolk.lfnOut, {ircode == 0 || ircode == 1 ? ">>> Program finished successfully"
                                                         : ">>> Program ended with an error",
                              ""});
}

void WRITE_TIME(std::string& string, double days) {
  char sign = ' ';
  int h = 0;
  int m = 0;
  double s = 0.0;
  timeutil::RADGMS(3, days, sign, h, m, s);
  std::string text = platform::Line().I(h, h < 10 ? 1 : 2).A(":").I(m, 2, 2).A(":").F(s, 6, 3).str();
  // A blank where the seconds start becomes a leading zero.
  const std::size_t secondsStart = h < 10 ? 5 : 6;
  if (text.size() > secondsStart && text[secondsStart] == ' ') text[secondsStart] = '0';
  string = platform::cut(text, 13);
}

}  // namespace framework
