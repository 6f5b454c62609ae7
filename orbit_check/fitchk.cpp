#include "orbit_check/fitchk.h"

#include <string>
#include <vector>

#include "framework/defcon.h"
#include "framework/exitrc.h"
#include "framework/m_cpu.h"
#include "framework/m_tolk.h"
#include "framework/opnsys.h"
#include "framework/prflna.h"
#include "framework/pritit.h"
#include "input/ckoptr.h"
#include "input/d_inpkey.h"
#include "input/gtfile.h"
#include "platform/fixed_text.h"

namespace orbit_check {
namespace {

constexpr int kMaxFil = 100;
constexpr const char* kPgmName = "FITCHK";

// Protocol files of the run: "JOBOUT" for RADIO_1 = 1, "OUTPUT" for 0.
std::vector<std::string> protocol_files() {
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS("RADIO_1", value, irc);
  const std::string radio = value.empty() ? std::string() : value[0];
  const char* keyWord = platform::same_text(radio, "1")   ? "JOBOUT"
                        : platform::same_text(radio, "0") ? "OUTPUT"
                                                          : nullptr;
  std::vector<std::string> files;
  if (!keyWord) return files;
  int nFil = 0;
  std::vector<std::vector<std::string>> names;
  input::GTFILE(keyWord, 1, kMaxFil, nFil, names);
  for (int i = 0; i < nFil; ++i) files.push_back(names[0][static_cast<std::size_t>(i)]);
  return files;
}

// One real option through READKEYS and CKOPTR (mode 1, empty value 0).
double real_option(const char* keyWord, const char* descr, bool strict, int& irCode) {
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(keyWord, value, irc);
  double result = 0.0;
  if (strict) {
    input::CKOPTR(1, keyWord, value, kPgmName, descr, irc, irCode, 0.0, std::nullopt,
                  std::nullopt, 0.0, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                  std::nullopt, std::nullopt, std::nullopt, nullptr, nullptr, &result);
  } else {
    input::CKOPTR(1, keyWord, value, kPgmName, descr, irc, irCode, 0.0, 0.0, std::nullopt,
                  std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                  std::nullopt, std::nullopt, std::nullopt, nullptr, nullptr, &result);
  }
  return result;
}

}  // namespace

void FITCHK() {
  framework::CPU_START(true);
  input::INIT_INPKEY(input::inpKey);
  input::READINPF(" ", input::inpKey);
  framework::OPNSYS();
  framework::DEFCON(0);
  framework::PRITIT(kPgmName, "Extract TRJFIT program output");
  framework::PRFLNA();

  const std::vector<std::string> files = protocol_files();
  int irCode = 0;
  const double tolRms = real_option("TOL_RMS", "Maximally tolerated RMS value", false, irCode);
  (void)tolRms;
  (void)files;
  framework::EXITRC(0);
}

}  // namespace orbit_check
