// The protocols read as the run reads them, and which check the run makes.
#include <array>
#include <cmath>
#include <cstdio>

#include "input_check/check_parts.h"
#include "input/d_inpkey.h"
#include "orbit_check/edit_rule.h"
#include "orbit_check/extdef.h"
#include "orbit_check/protocol_extract.h"
#include "orbit_check/real_options.h"
#include "orbit_check/rms_summary.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "platform/file_access.h"
#include "platform/file_identity.h"
#include "platform/fixed_text.h"
#include "platform/units.h"
#include "satcrux/d_satcrx.h"
#include "timeutil/timst2.h"

namespace input_check {

namespace {

constexpr std::size_t kLineLength = 255;  // what the reader keeps of a line

std::string epoch_text(double mjd) {
  std::string text(19, ' ');
  timeutil::TIMST2(1, 1, mjd, text);
  return std::string(platform::rtrim(text));
}

std::string rms_text(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

// The factor options the run reads.
std::string factors_read() {
  std::string list;
  for (const orbit_check::RealOption& o : orbit_check::real_options()) {
    if (o.use != orbit_check::OptionUse::Factor || (o.ifPresent && !input::TSTKEY(o.keyWord))) continue;
    list += (list.empty() ? "" : ", ") + std::string(o.keyWord);
  }
  return list;
}

struct Loop {
  bool complete = true;  // every protocol could be read
  bool notRead = false;  // one is a FIFO or a device
  std::array<double, 2> window{};
  double rmsMax = 0.0;
  int satMax = 0;
  bool lastFails = false;  // the check the run makes fails on the last protocol's table
  // The systems of the last protocol as the editing takes them.
  std::array<orbit_check::SystemEditing, orbit_check::kMaxSys> editing{};
};

orbit_check::ThresholdTable thresholds(const CheckContext& ctx) {
  orbit_check::ThresholdTable thr;
  thr.factor = ctx.factor;
  thr.rule = ctx.rule;
  return thr;
}

// The check the run makes on the protocol it read last, in words, when the
// protocol's table makes it fail; nullptr when it does not.
const char* failing_check(const CheckContext& ctx, const orbit_check::TableCount& table,
                          const std::array<double, 2>& window) {
  if (ctx.aSplit.empty()) {
    const bool whole = table.rows > 0 && table.rows >= table.count;
    if (!(ctx.tolRms > 0.0) || whole) return nullptr;
    return "; the run makes no tolerance check and ends with an error";
  }
  if (ctx.protocols.size() != 1 || std::round(window[1] - window[0]) != 2.0) return nullptr;
  if (table.rows == 0) return "; the run makes no arc splitting and ends with an error";
  if (table.rows >= table.count) return nullptr;
  return "; the run writes no arc-split record and ends with an error";
}

// A protocol the run reads nothing from: empty, compressed, or no TRJFIT
// protocol (none of the headings the reader looks for, and no "TRJFIT" in
// its first lines); true when it is one (reported). last: the run's check
// rests on it.
bool no_protocol(CheckContext& ctx, const ProtocolName& p, const ProtocolLook& look, int nArc,
                 const orbit_check::TableCount& table, bool last) {
  std::string what;
  if (look.empty) {
    what = "is empty";
  } else if (look.compressed) {
    what = std::string("is compressed (") + look.compressed + ")";
  } else if (!look.namesTrjfit && nArc == 0 && table.count == 0 && table.rows == 0 &&
             !table.eclipses) {
    what = "is not a TRJFIT protocol (it has none of the headings the run reads, and its first "
           "lines do not name TRJFIT)";
  } else {
    return false;
  }
  const char* failing = nullptr;
  if (last && ctx.aSplit.empty() && ctx.tolRms > 0.0) {
    failing = "; the run makes no tolerance check and ends with an error";
  } else if (last && !ctx.aSplit.empty() && ctx.protocols.size() == 1) {
    failing = "; the run makes no arc splitting and ends with an error";
  }
  const std::string name = platform::absolute_name(framework::silent_expanded_name(p.given));
  ctx.diag.add(p.line, failing ? Level::Error : Level::Warning,
               "protocol: " + name + " " + what + ": the run reads no RMS value from it" +
                   (look.compressed ? " (decompress it, or read it through a FIFO)" : "") +
                   (failing ? failing : ""));
  return true;
}

// What the reader found in one protocol.
void report_protocol(CheckContext& ctx, const ProtocolName& p, const Loop& r,
                     const orbit_check::TableCount& table, int irc, const char* failing) {
  const long long days = std::llround(r.window[1] - r.window[0]);
  // A protocol without its arc's window leaves the window of the one before.
  const std::string arc = table.window ? "arc " + epoch_text(r.window[0]) + " to " +
                                             epoch_text(r.window[1]) + " (" +
                                             std::to_string(days) + " days)"
                                       : "no arc window";
  ctx.diag.note(p.line, "protocol: " + arc + ", " + std::to_string(table.count) +
                            " satellites, " + std::to_string(table.rows) + " RMS values read");
  const Level level = failing ? Level::Error : Level::Warning;
  const std::string then = failing ? failing : "";
  if (table.rows == 0) {
    ctx.diag.add(p.line, level, "protocol: no satellite RMS values found" + then);
  } else if (table.rows < table.count) {
    ctx.diag.add(p.line, level,
                 "protocol: satellite table incomplete: " + std::to_string(table.rows) + " of " +
                     std::to_string(table.count) + " satellites read" + then);
  }
  if (irc != 0) {
    ctx.diag.warning(p.line, "protocol: the reader stops early (the file ends, or a field it "
                             "needs is not a number)");
  }
}

// The run's protocol loop without its outputs: the window as the summary
// rounds it, the largest RMS of the last protocol.
Loop read_protocols(CheckContext& ctx) {
  Loop r;
  for (std::size_t i = 0; i < ctx.protocols.size(); ++i) {
    const ProtocolName& p = ctx.protocols[i];
    if (!p.readable || p.notRead) {
      r.complete = false;
      r.notRead = p.notRead;
      return r;
    }
    const ProtocolLook look = look_at_protocol(framework::silent_expanded_name(p.given));
    orbit_check::ProtocolExtract e;
    int irc = 0;
    orbit_check::TableCount table;
    orbit_check::EXTDEF(p.given, 1, r.window, e.nSat, e.satNum, e.rms, e.nEcl, e.eclSat,
                        e.longShadow, e.nArc, irc, &table);
    orbit_check::SUMMARIZE_PROTOCOL(p.given, e, r.window, r.rmsMax, r.satMax, false);
    r.editing = orbit_check::system_editing(e, thresholds(ctx));
    const bool last = i + 1 == ctx.protocols.size();
    const char* failing = last ? failing_check(ctx, table, r.window) : nullptr;
    r.lastFails = failing != nullptr;
    if (!no_protocol(ctx, p, look, e.nArc, table, last)) {
      report_protocol(ctx, p, r, table, irc, failing);
    }
  }
  return r;
}

void tolerance_case(CheckContext& ctx, const Loop& r) {
  const int line = ctx.line_of("TOL_RMS");
  if (!(ctx.tolRms > 0.0)) {
    ctx.diag.note(line, "no check: ASPLIT names no file and TOL_RMS is 0");
    return;
  }
  if (ctx.protocols.empty()) {
    ctx.diag.error(line,
                   "no protocol is read: the run makes no tolerance check and ends with an error");
    return;
  }
  if (r.lastFails) return;  // reported with the protocol
  std::string text = "the run makes the tolerance check on the last protocol";
  if (r.complete) {
    text += ": largest RMS " + rms_text(r.rmsMax) + " m (satellite " + std::to_string(r.satMax) +
            ") against TOL_RMS " + number_text(ctx.tolRms) + " m";
    if (r.rmsMax > ctx.tolRms) text += ": exceeded, the run ends with an error";
  }
  ctx.diag.note(line, text);
}

// Whether the problem file has a line from line 7 on whose first 6 columns
// are blank: the run inserts its records before it.
bool place_for_records(const std::string& name) {
  constexpr int kHeaderLines = 6;
  const int lfn = framework::m_tolk.lfnWork;
  if (platform::open_unit(lfn, name, platform::OpenStatus::Old, true) != 0) return true;
  std::string rec;
  bool found = false;
  for (int line = 1; !found; ++line) {
    if (platform::read_record(lfn, rec, 6) != platform::ReadStatus::Ok) break;
    found = line > kHeaderLines && platform::is_blank(rec);
  }
  platform::close_unit(lfn);
  return found;
}

// What stops the run from recording arc splits in the problem file it may write.
void problem_file_refusals(CheckContext& ctx, const std::string& absolute) {
  if (platform::no_write_permission(absolute)) {
    ctx.diag.error(ctx.crxLine, "SATCRUX: the run cannot update the problem file (" + absolute +
                                    " has no write permission bit, which the run respects also "
                                    "for root): an arc split the run finds is not recorded and "
                                    "ends the run with an error");
  }
  if (const unsigned long links = platform::link_count(absolute); links > 1) {
    ctx.diag.error(ctx.crxLine, "SATCRUX: the run does not update a problem file of " +
                                    std::to_string(links) + " names (hard links): " + absolute +
                                    "; give it one name (a symbolic link may lead to it)");
  }
  if (!place_for_records(absolute)) {
    ctx.diag.error(ctx.crxLine, "SATCRUX: the problem file has no place for arc-split records (no "
                                "line from line 7 on begins with 6 blanks): an arc split the run "
                                "finds is not recorded and ends the run with an error");
  }
}

// The keyword of an option of system s ("FAC_SBA", "LIM_SBA").
std::string option_key(orbit_check::OptionUse use, int s) {
  for (const orbit_check::RealOption& o : orbit_check::real_options()) {
    if (o.use == use && o.sys == s) return o.keyWord;
  }
  return std::string();
}

// Edited systems whose satellites the rule cannot split, on their factor's line.
void not_editable(CheckContext& ctx, const Loop& r) {
  for (int s = 0; s < orbit_check::kMaxSys; ++s) {
    const orbit_check::SystemEditing& e = r.editing[static_cast<std::size_t>(s)];
    const double factor = ctx.factor[static_cast<std::size_t>(s)];
    if (factor == 0.0 || e.count == 0 || e.editable) continue;
    const std::string key = option_key(orbit_check::OptionUse::Factor, s);
    const std::string name(orbit_check::kSystemName[static_cast<std::size_t>(s)]);
    const std::string has = name + " has " + std::to_string(e.count) + " satellite" +
                            (e.count == 1 ? "" : "s") + " in the protocol";
    if (ctx.rule == orbit_check::EditRule::Median) {
      ctx.diag.warning(ctx.value_line(key, 0),
                       key + ": " + has + ": the median rule needs " +
                           std::to_string(orbit_check::kMinMedianSats) + " and does not edit " +
                           name + " (the run warns)");
      continue;
    }
    ctx.diag.warning(ctx.value_line(key, 0),
                     key + " " + number_text(factor) + ": " + has +
                         ", no more than the factor: with the mean rule none can reach factor x "
                         "mean RMS, and the run warns; use a factor below " +
                         number_text(factor) + " with a lower limit (" +
                         option_key(orbit_check::OptionUse::Limit, s) +
                         "), or EDIT_RULE \"MEDIAN\"");
  }
}

// A line at which the reader of the problem file stops before the end of
// its records (not looked for in a FIFO or a device).
void problem_file_stop(CheckContext& ctx, const std::string& absolute) {
  const int lfn = framework::m_tolk.lfnWork;
  if (not_read_kind(absolute) ||
      platform::open_unit(lfn, absolute, platform::OpenStatus::Old, true) != 0) {
    return;
  }
  std::vector<std::string> lines;
  std::string line;
  while (platform::read_record(lfn, line, kLineLength) == platform::ReadStatus::Ok) {
    lines.push_back(line);
  }
  platform::close_unit(lfn);
  const satcrux::ReadStop stop = satcrux::read_stop(lines);
  if (stop.line == 0) return;
  ctx.diag.warning(ctx.crxLine, "SATCRUX: line " + std::to_string(stop.line) +
                                    " of the problem file is no record: " + stop.why +
                                    "; the run reads no record after it and puts its arc-split "
                                    "records before it");
}

void problem_file(CheckContext& ctx, bool split) {
  if (ctx.crxName.empty()) {
    if (split) ctx.diag.note(ctx.line_of("ASPLIT"), "SATCRUX names no file: outliers are reported, no record is written");
    return;
  }
  const std::string absolute =
      platform::absolute_name(framework::silent_expanded_name(ctx.crxName));
  if (absolute.find('$') != std::string::npos) {
    ctx.diag.add(ctx.crxLine, split ? Level::Error : Level::Warning,
                 "SATCRUX: ENVIRONMENT does not define every variable of " + quoted(ctx.crxName));
    return;
  }
  ctx.diag.note(ctx.crxLine, "SATCRUX: the run reads " + absolute);
  const int status = platform::read_access(absolute);
  if (status != 0) {
    ctx.diag.add(ctx.crxLine, split ? Level::Error : Level::Warning,
                 "SATCRUX: cannot read " + absolute + ": " + platform::access_words(status) +
                     (split ? " (the run stops in the arc splitting)" : ""));
    return;
  }
  if (!split) {
    ctx.diag.note(ctx.crxLine, "SATCRUX: the run does not change the problem file (no arc splitting)");
    return;
  }
  if (const char* kind = not_read_kind(absolute)) {
    ctx.diag.note(ctx.crxLine,
                  "SATCRUX: " + absolute + " is " + kind + ": the run reads it, the check does not");
    return;
  }
  problem_file_stop(ctx, absolute);
  // The file is locked open for writing and replaced by a new file of its folder.
  std::string folder;
  const int w = platform::write_access(absolute, folder);
  const int d = platform::write_access(absolute + ".new", folder);
  if (w != 0 || d != 0) {
    ctx.diag.error(ctx.crxLine, "SATCRUX: the run cannot update the problem file (" +
                                    (w != 0 ? absolute : "its folder " + folder) + ": " +
                                    platform::access_words(w != 0 ? w : d) + ")");
    return;
  }
  const int errors = ctx.diag.errors();
  problem_file_refusals(ctx, absolute);
  if (ctx.diag.errors() > errors) return;
  ctx.diag.note(ctx.crxLine, "SATCRUX: the run may add arc-split records to the problem file");
}

}  // namespace

void check_run_case(CheckContext& ctx) {
  if (!ctx.refused.empty()) return;  // the run stops before it reads a protocol
  const Loop r = read_protocols(ctx);
  if (ctx.aSplit.empty()) {
    tolerance_case(ctx, r);
    problem_file(ctx, false);
    return;
  }
  const int line = ctx.line_of("ASPLIT");
  const std::size_t n = ctx.protocols.size();
  if (n == 1 && !r.complete) {
    ctx.diag.note(line, std::string("the check the run makes depends on the protocol, which ") +
                            (r.notRead ? "the check does not read" : "cannot be read"));
    return;
  }
  const double days = std::round(r.window[1] - r.window[0]);
  if (n == 1 && days == 2.0 && r.lastFails) {
    problem_file(ctx, false);  // reported with the protocol
    return;
  }
  if (n == 1 && days == 2.0) {
    const double split = std::round(r.window[0]) + 1.0;
    const bool median = ctx.rule == orbit_check::EditRule::Median;
    ctx.diag.note(line, "the run makes the arc splitting (one protocol of a 2-day arc, ASPLIT named); "
                        "split day " + epoch_text(split).substr(0, 10) +
                        (median ? "; EDIT_RULE MEDIAN" : ""));
    bool edited = false;
    for (double f : ctx.factor) edited = edited || f != 0.0;
    if (!edited) {
      ctx.diag.warning(line, "no system is edited: every factor (" + factors_read() + ") is 0");
    }
    not_editable(ctx, r);
    problem_file(ctx, true);
    return;
  }
  const std::string reason =
      n != 1 ? "arc splitting needs exactly one protocol file; the run has " + std::to_string(n)
             : "arc splitting needs an arc of 2 days; the arc has " +
                   std::to_string(static_cast<long long>(days));
  ctx.diag.error(line, "no arc splitting and no tolerance check: " + reason +
                           " (leave ASPLIT empty for the tolerance check)");
  problem_file(ctx, false);
}

}  // namespace input_check
