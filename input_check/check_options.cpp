// The options of a run, checked with the run's own checkers.
#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "input/ckoptb.h"
#include "input/ckoptc.h"
#include "input/d_inpkey.h"
#include "input/m_ckopt.h"
#include "input_check/check_parts.h"
#include "input_check/fitchk_keywords.h"
#include "orbit_check/edit_rule.h"
#include "platform/field_read.h"
#include "platform/fixed_text.h"

namespace input_check {

namespace {

// A tolerance or lower limit from this many metres on is far beyond any
// orbit fit's RMS (centimetres to decimetres): most likely millimetres.
constexpr double kMillimetresLikely = 5.0;

// A value in metres that looks like millimetres.
void check_millimetres(CheckContext& ctx, int line, const orbit_check::RealOption& k,
                       const std::string& text, double v) {
  if (k.use == orbit_check::OptionUse::Factor || v < kMillimetresLikely) return;
  ctx.diag.warning(line, std::string(k.keyWord) + " " + quoted(text) + ": the run takes " +
                             number_text(v) + " m, far above an orbit fit's RMS (centimetres to "
                             "decimetres); for " + number_text(v) + " mm write " +
                             number_text(v / 1000.0));
}

// What the text after the number is, and what to write instead.
std::string trailing_advice(const std::string& text, const std::string& number) {
  const std::size_t start = text.find_first_not_of(" \t");
  const std::size_t end = start + number.size();
  const char c = text[end];
  if (c == ',' && text.find_first_not_of("0123456789", end + 1) == std::string::npos) {
    return "the number ends at the comma; write " + number + "." + text.substr(end + 1);
  }
  const std::size_t rest = text.find_first_not_of(" \t,/", end);
  return "the rest " + quoted(text.substr(rest == std::string::npos ? end : rest)) + " is ignored";
}

void check_real(CheckContext& ctx, const orbit_check::RealOption& k) {
  std::vector<std::string> value;
  int irc = 0;
  if (k.ifPresent && !input::TSTKEY(k.keyWord)) return;
  input::READKEYS(k.keyWord, value, irc);
  int irCode = 0;
  const double taken = orbit_check::read_real_option(k, irCode);
  const std::string name = k.keyWord;
  const bool positive = k.positive();
  if (irc != 0) {
    ctx.diag.error(0, name + " is missing: the run reports \"Keyword \"" + name +
                          "\" not found.\" and takes 0 (" + k.zero + ")");
  }
  const std::string range = positive ? "value > 0" : "value >= 0";
  for (std::size_t i = 0; irc == 0 && i < value.size(); ++i) {
    const int line = ctx.value_line(name, i);
    const std::string text(platform::rtrim(value[i]));
    if (text.empty()) {
      ctx.diag.note(line, name + " is empty: the run takes 0 (" + k.zero + ")");
      continue;
    }
    const std::string number = input::firstItem(text);
    double v = 0.0;
    if (!platform::parse_real_item(number, v)) {
      ctx.diag.error(line, name + " " + quoted(text) +
                               " is not a number: the run reports \"A real string is expected for "
                               "keyword \"" + name + "\"\" and takes 0 (" + k.zero + ")");
      continue;
    }
    if (positive ? v <= 0.0 : v < 0.0) {
      ctx.diag.error(line, name + " " + quoted(text) + " is out of range (" + range +
                               "): the run reports \"The value for keyword \"" + name +
                               "\" exceeds the range.\" and keeps " + number_text(v));
    }
    check_millimetres(ctx, line, k, text, v);
    if (number.size() != text.size() - text.find_first_not_of(" \t")) {
      ctx.diag.warning(line, name + " " + quoted(text) + ": the run reads " + number_text(v) + " (" +
                                 trailing_advice(text, number) + ")");
    }
  }
  if (k.use == orbit_check::OptionUse::Tolerance) ctx.tolRms = taken;
  if (k.use == orbit_check::OptionUse::Factor) ctx.factor[static_cast<std::size_t>(k.sys)] = taken;
}

// "EDIT_RULE": one value, "MEAN" or "MEDIAN" (empty: MEAN).
void check_edit_rule(CheckContext& ctx) {
  constexpr const char* kKey = "EDIT_RULE";
  int irCode = 0;
  ctx.rule = orbit_check::read_edit_rule(irCode);
  if (!input::TSTKEY(kKey)) return;
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(kKey, value, irc);
  const std::string mean(orbit_check::kEditRuleName[0]);
  const std::vector<std::string_view> allowed(orbit_check::kEditRuleName.begin(),
                                              orbit_check::kEditRuleName.end());
  if (value.size() > 1) {
    ctx.diag.error(ctx.line_of(kKey), "EDIT_RULE has " + std::to_string(value.size()) +
                                          " values: the run reports \"Too many items found for "
                                          "keyword \"EDIT_RULE\".\" and takes " + mean);
    return;
  }
  const int line = ctx.value_line(kKey, 0);
  const std::string text = value.empty() ? std::string() : std::string(platform::rtrim(value[0]));
  if (platform::is_blank(text)) {
    ctx.diag.note(line, "EDIT_RULE is empty: the run takes " + mean);
    return;
  }
  if (irCode == 0) return;
  std::string upper = text.substr(text.find_first_not_of(' '));
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const bool caseOnly = std::find(allowed.begin(), allowed.end(), upper) != allowed.end();
  ctx.diag.error(line, "EDIT_RULE " + quoted(text) + " is not allowed (" +
                           input::allowedText(allowed) +
                           "): the run reports \"The value for keyword \"EDIT_RULE\" is not "
                           "allowed.\" and takes " + mean +
                           (caseOnly ? " (write " + quoted(upper) + ": upper case)" : ""));
}

void check_radio(CheckContext& ctx) {
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS("RADIO_1", value, irc);
  if (irc != 0) {
    ctx.diag.error(0, "RADIO_1 is missing: no protocol will be read");
    return;
  }
  const std::string v = value.empty() ? std::string() : std::string(platform::rtrim(value[0]));
  if (v == "1" || v == "0") return;
  ctx.diag.error(ctx.value_line("RADIO_1", 0),
                 "RADIO_1 " + quoted(v) + " is neither \"1\" nor \"0\": no protocol will be read");
}

void check_box(CheckContext& ctx, const FitchkKeyword& k) {
  if (!input::TSTKEY(k.name)) return;
  // The run reads SYSODEF only for a SYSOUT name of 2 characters or more.
  const bool sysodef = std::string_view(k.name) == "SYSODEF";
  if (sysodef && platform::len_trim(orbit_check::quiet_name("SYSOUT")) < 2) return;
  int irCode = 0;
  bool selected = false;
  input::CKOPTB(1, {k.name}, "OPNSYS", k.descr, irCode, std::nullopt, std::nullopt, std::nullopt,
                std::nullopt, std::nullopt, nullptr, &selected);
  if (irCode == 0) return;
  std::vector<std::string> value;
  int irc = 0;
  input::READKEYS(k.name, value, irc);
  const std::string v = value.empty() ? std::string() : std::string(platform::rtrim(value[0]));
  ctx.diag.error(ctx.value_line(k.name, 0), std::string(k.name) + " " + quoted(v) +
                                                " is neither \"1\" nor \"0\": the run stops at the "
                                                "start with return code 2");
}

// A description (DESCR_ and a keyword) of a keyword the input file does not
// have: the run's file listing reports the keyword missing, an error.
void check_descriptions(CheckContext& ctx) {
  constexpr std::string_view kDescr = "DESCR_";
  for (const ScannedKey& key : ctx.scan.keys) {
    const std::string name = platform::cut(key.name, 32);
    if (name.size() <= kDescr.size() || name.compare(0, kDescr.size(), kDescr) != 0) continue;
    const std::string file = name.substr(kDescr.size());
    if (input::TSTKEY(file)) continue;
    const FitchkKeyword* k = find_keyword(file);
    if (k && k->kind == KeyKind::Real && !k->option->ifPresent) continue;  // reported as missing
    ctx.diag.error(key.line, name + ": " + file + " is missing: the run's file listing reports "
                             "\"Keyword \"" + file + "\" not found.\" and the run ends with an "
                             "error; write " + file + " 1 \"\" or take out " + name);
  }
}

}  // namespace

void check_options(CheckContext& ctx) {
  check_radio(ctx);
  check_descriptions(ctx);
  for (const FitchkKeyword& k : fitchk_keywords()) {
    if (k.kind == KeyKind::CheckBox) check_box(ctx, k);
    if (k.kind == KeyKind::Real) check_real(ctx, *k.option);
    if (k.kind == KeyKind::Choice) check_edit_rule(ctx);
  }
}

}  // namespace input_check
