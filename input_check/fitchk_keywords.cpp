#include "input_check/fitchk_keywords.h"

#include "platform/fixed_text.h"

namespace input_check {

namespace {

std::vector<FitchkKeyword> keyword_list() {
  std::vector<FitchkKeyword> list = {
      {"SYSINP", KeyKind::Input},
      {"SYSOUT", KeyKind::Output},
      {"ERRMRG", KeyKind::CheckBox, "Merge program messages into output"},
      {"SYSERR", KeyKind::Output},
      {"SYSODEF", KeyKind::CheckBox, "Use default name for program output"},
      {"TITLE", KeyKind::Text},
      {"CAMPAIGN", KeyKind::Text},
      {"SES_INFO", KeyKind::Text},
      {"YR4_INFO", KeyKind::Text},
      {"ENVIRONMENT", KeyKind::List},
      {"DELETE_FILES", KeyKind::List},
      {"RADIO_1", KeyKind::Radio},
      {"JOBOUT", KeyKind::ProtocolList},
      {"OUTPUT", KeyKind::ProtocolList},
  };
  for (const orbit_check::RealOption& o : orbit_check::real_options()) {
    list.push_back({o.keyWord, KeyKind::Real, o.descr, &o});
  }
  list.push_back({"EDIT_RULE", KeyKind::Choice});
  list.insert(list.end(), {
                              {"OUTFIL", KeyKind::Output},
                              {"WEEKFM", KeyKind::Output},
                              {"ASPLIT", KeyKind::Output},
                              {"SATCRUX", KeyKind::Input},
                              {"PLOTFIL", KeyKind::Output},
                              {"JSONFIL", KeyKind::Output},
                          });
  return list;
}

}  // namespace

const std::vector<FitchkKeyword>& fitchk_keywords() {
  static const std::vector<FitchkKeyword> list = keyword_list();
  return list;
}

const FitchkKeyword* find_keyword(std::string_view name) {
  for (const FitchkKeyword& k : fitchk_keywords()) {
    if (platform::same_text(k.name, name)) return &k;
  }
  return nullptr;
}

namespace {

bool starts_with(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool all_digits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

bool other_known_keyword(std::string_view name) {
  const std::string_view n = platform::rtrim(name);
  if (starts_with(n, "DESCR_") || starts_with(n, "MSG_")) return true;
  if (starts_with(n, "RADIO_") && all_digits(n.substr(6))) return true;
  if (n == "CONST") return true;
  for (std::string_view col : {"_EXT_COL_", "_PTH_COL_"}) {
    const std::size_t at = n.find(col);
    if (at != std::string_view::npos && at > 0 && all_digits(n.substr(at + col.size()))) return true;
  }
  return false;
}

}  // namespace input_check
