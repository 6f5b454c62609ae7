// Processor and wall-clock time of the run, printed at the end of the
// program output with the verdict line.
#pragma once
#include <array>
#include <string>
#include <string_view>

namespace framework {

constexpr double cpuNotStarted = 1e20;

// Each pair: process CPU time (seconds) and wall-clock time (MJD). A first
// element of 1e20 in cpuStart marks a clock that was not started.
struct Cpu {
  std::array<double, 2> cpuStart{cpuNotStarted, cpuNotStarted};
  std::array<double, 2> cpuLast{cpuNotStarted, cpuNotStarted};
};
extern Cpu m_cpu;

// Marks the clock not started; with start, records CPU and wall-clock time
// now as the start and as the last point.
void CPU_START(bool start);

// With a started clock and a program name: writes the times since start and
// since the last CPU_NOW at point text on unit 6. Moves the last point to now
// in any case of a started clock.
void CPU_NOW(std::string_view text);

// With a started clock and a program name: the CPU/real time line on unit 6
// and on lfnOut, then the verdict on lfnOut (success for ircode 0 and 1).
// Nothing at all without a started clock or a program name.
void CPU_END(int ircode);

// A duration as H:MM:SS.sss (hours of the day fraction only, so whole days
// are dropped), at most 13 characters, without trailing blanks.
void WRITE_TIME(std::string& string, double days);

}  // namespace framework
