#include "input/chkfln.h"

#include <string>

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "platform/fixed_text.h"

namespace input {

void name_too_long(std::string_view caller, std::string_view keyWord, std::string_view name,
                   TooLong why, std::size_t length) {
  const std::string b16(16, ' ');
  const std::string reason =
      why == TooLong::LineCut
          ? "Its line in the input file is longer than 255 characters; the name is not used."
      : why == TooLong::Variable
          ? "A variable it uses is defined on a line longer than 255 characters; the name is not used."
          : "A file name holds at most 255 characters; " +
                std::string(why == TooLong::Replaced ? "with its variables replaced " : "") +
                "this one has " + std::to_string(length) + ".";
  const int lfn = framework::m_tolk.lfnMsg;
  framework::write_line(lfn, "");
  framework::write_line(lfn, " *** SR " + std::string(caller) + ": File name too long");
  if (!platform::is_blank(keyWord)) {
    framework::write_line(lfn, b16 + "Keyword:   " + std::string(platform::rtrim(keyWord)));
  }
  framework::write_line(lfn, b16 + "File name: " + std::string(platform::rtrim(name)));
  framework::write_line(lfn, b16 + reason);
  framework::write_line(lfn, "");
  framework::EXITRC(2);
}

void name_too_long(const NameFault& fault) {
  name_too_long(fault.caller, fault.keyWord, fault.name, fault.why, fault.length);
}

std::optional<NameFault> name_fault(std::string_view caller, std::string_view keyWord,
                                    std::string_view name, bool cut) {
  NameFault f{std::string(caller), std::string(keyWord), std::string(name), TooLong::LineCut};
  if (cut) return f;
  bool varCut = false;
  f.length = platform::len_trim(framework::whole_expanded_name(name, &varCut));
  f.why = varCut ? TooLong::Variable : TooLong::Replaced;
  if (varCut) f.length = 0;
  if (varCut || f.length > 255) return f;
  return std::nullopt;
}

void CHKFLN(std::string_view caller, std::string_view keyWord, std::string_view name, bool cut) {
  if (const std::optional<NameFault> f = name_fault(caller, keyWord, name, cut)) name_too_long(*f);
}

bool value_cut(std::string_view keyWord, std::size_t i) {
  if (inpKey.status != 2) return false;
  for (const framework::t_key& k : inpKey.keys) {
    if (platform::same_text(k.name, keyWord)) return i < k.cut.size() && k.cut[i];
  }
  return false;
}

}  // namespace input
