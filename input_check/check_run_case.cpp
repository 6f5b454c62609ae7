// The protocols read as the run reads them, and which check the run makes.
#include <array>
#include <cmath>
#include <cstdio>

#include "input_check/check_parts.h"
#include "input/d_inpkey.h"
#include "orbit_check/extdef.h"
#include "orbit_check/protocol_extract.h"
#include "orbit_check/real_options.h"
#include "orbit_check/rms_summary.h"
#include "framework/opnfil.h"
#include "platform/file_access.h"
#include "platform/file_identity.h"
#include "platform/fixed_text.h"
#include "timeutil/timst2.h"

namespace input_check {

namespace {

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
};

// The run's protocol loop without its outputs: the window as the summary
// rounds it, the largest RMS of the last protocol.
Loop read_protocols(CheckContext& ctx) {
  Loop r;
  for (const ProtocolName& p : ctx.protocols) {
    if (!p.readable || p.notRead) {
      r.complete = false;
      r.notRead = p.notRead;
      return r;
    }
    orbit_check::ProtocolExtract e;
    int irc = 0;
    orbit_check::TableCount table;
    orbit_check::EXTDEF(p.given, 1, r.window, e.nSat, e.satNum, e.rms, e.nEcl, e.eclSat,
                        e.longShadow, e.nArc, irc, &table);
    orbit_check::SUMMARIZE_PROTOCOL(p.given, e, r.window, r.rmsMax, r.satMax, false);
    const long long days = std::llround(r.window[1] - r.window[0]);
    ctx.diag.note(p.line, "protocol: arc " + epoch_text(r.window[0]) + " to " +
                              epoch_text(r.window[1]) + " (" + std::to_string(days) + " days), " +
                              std::to_string(table.count) + " satellites, " +
                              std::to_string(table.rows) + " RMS values read");
    if (table.rows == 0) {
      ctx.diag.warning(p.line, "protocol: no satellite RMS values found");
    } else if (table.rows < table.count) {
      ctx.diag.warning(p.line, "protocol: satellite table incomplete: " + std::to_string(table.rows) +
                                   " of " + std::to_string(table.count) + " satellites read");
    }
    if (irc != 0) {
      ctx.diag.warning(p.line, "protocol: the reader stops early (the file ends, or a field it "
                               "needs is not a number)");
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
  std::string text = "the run makes the tolerance check on the last protocol";
  if (!ctx.protocols.empty() && r.complete) {
    text += ": largest RMS " + rms_text(r.rmsMax) + " m (satellite " + std::to_string(r.satMax) +
            ") against TOL_RMS " + number_text(ctx.tolRms) + " m";
    if (r.rmsMax > ctx.tolRms) text += ": exceeded, the run ends with an error";
  }
  ctx.diag.note(line, text);
}

void problem_file(CheckContext& ctx, bool split) {
  if (ctx.crxName.empty()) {
    if (split) ctx.diag.note(ctx.line_of("ASPLIT"), "SATCRUX names no file: outliers are reported, no record is written");
    return;
  }
  const std::string absolute =
      platform::absolute_name(framework::silent_expanded_name(ctx.crxName));
  if (absolute.find('$') != std::string::npos) {
    ctx.diag.error(ctx.crxLine, "SATCRUX: ENVIRONMENT does not define every variable of " + quoted(ctx.crxName));
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
  if (!platform::any_write_bit(absolute)) {
    ctx.diag.error(ctx.crxLine, "SATCRUX: the run cannot update the problem file (" + absolute +
                                    ": no write permission bit is set; the run, also of root, "
                                    "writes no such file)");
    return;
  }
  if (const unsigned long links = platform::link_count(absolute); links > 1) {
    ctx.diag.error(ctx.crxLine, "SATCRUX: the run does not update a problem file of " +
                                    std::to_string(links) + " names (hard links): " + absolute +
                                    "; give it one name (a symbolic link may lead to it)");
    return;
  }
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
  if (n == 1 && days == 2.0) {
    const double split = std::round(r.window[0]) + 1.0;
    ctx.diag.note(line, "the run makes the arc splitting (one protocol of a 2-day arc, ASPLIT named); "
                        "split day " + epoch_text(split).substr(0, 10));
    bool edited = false;
    for (double f : ctx.factor) edited = edited || f != 0.0;
    if (!edited) {
      ctx.diag.warning(line, "no system is edited: every factor (" + factors_read() + ") is 0");
    }
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
