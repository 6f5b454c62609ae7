#include "history/problem_events.h"

#include <algorithm>
#include <cmath>

#include "framework/m_msglog.h"
#include "framework/m_tolk.h"
#include "platform/file_access.h"
#include "platform/fixed_text.h"
#include "platform/process.h"
#include "platform/read_whole_file.h"
#include "satcrux/d_satcrx.h"

namespace history {
namespace {

// A unit that is never connected: what the module writes there is dropped.
constexpr int kSilentUnit = 990;
constexpr std::size_t kNameLength = 255;
constexpr int kMaxEvents = 100000000;

// Why the file is not to be read at all; empty when it is.
std::string refusal(const std::string& name) {
  if (name.size() > kNameLength) return "the name is longer than 255 characters";
  if (name.find('$') != std::string::npos) return "the name holds a \"$\"";
  switch (platform::file_kind(name)) {
    case platform::FileKind::Missing: return "no such file";
    case platform::FileKind::Regular: break;
    case platform::FileKind::Folder: return "is a folder";
    default: return "not a regular file: not read";
  }
  const int access = platform::read_access(name);
  return access == 0 ? std::string() : platform::access_words(access);
}

void add_day(std::vector<ProblemEvent>& events, int sat, double mjd, ProblemEvent::Kind kind) {
  events.push_back({sat, static_cast<long long>(std::floor(mjd)), kind});
}

void collect(const std::string& name, long long first, std::vector<ProblemEvent>& events) {
  satcrux::READ_CRUX(satcrux::d_satcrx.satCrux, name);
  std::vector<int> sats;
  std::vector<double> epochs;
  satcrux::GTSATS(kMaxEvents, sats, epochs);
  for (std::size_t i = 0; i < sats.size(); ++i) add_day(events, sats[i], epochs[i], ProblemEvent::Kind::ArcSplit);
  satcrux::GTSATM(kMaxEvents, sats, epochs);
  for (std::size_t i = 0; i < sats.size(); ++i) add_day(events, sats[i], epochs[i], ProblemEvent::Kind::Manoeuvre);
  std::vector<int> kind1, kind2;
  std::vector<std::array<double, 2>> windows;
  satcrux::GTSATB(kMaxEvents, satcrux::d_satcrx.satCrux.filNam, sats, kind1, kind2, windows);
  for (std::size_t i = 0; i < sats.size(); ++i) {
    // Marked on its first day within the span.
    if (windows[i][1] < static_cast<double>(first)) continue;
    add_day(events, sats[i], std::max(windows[i][0], static_cast<double>(first)), ProblemEvent::Kind::BadData);
  }
}

}  // namespace

std::string kind_text(ProblemEvent::Kind kind) {
  switch (kind) {
    case ProblemEvent::Kind::ArcSplit: return "arc split";
    case ProblemEvent::Kind::Manoeuvre: return "manoeuvre";
    case ProblemEvent::Kind::BadData: return "bad data";
  }
  return {};
}

std::string read_problem_events(const std::string& name, long long first, long long last,
                                std::vector<ProblemEvent>& events) {
  events.clear();
  if (std::string why = refusal(name); !why.empty()) return why;
  framework::Tolk& units = framework::m_tolk;
  const framework::Tolk saved = units;
  units.lfnMsg = kSilentUnit;
  units.lfnOut = kSilentUnit;
  const std::size_t before = framework::m_msglog.messages.size();
  std::string why;
  try {
    collect(name, first, events);
  } catch (const platform::ProcessExit&) {
    // The module ends the run on a failure; its message tells why.
    const auto& log = framework::m_msglog.messages;
    why = "cannot be read";
    if (log.size() > before && !log.back().empty()) why += ": " + std::string(platform::rtrim(log.back()[0].substr(1)));
    events.clear();
  }
  units = saved;
  events.erase(std::remove_if(events.begin(), events.end(),
                              [&](const ProblemEvent& e) { return e.day < first || e.day > last; }),
               events.end());
  return why;
}

}  // namespace history
