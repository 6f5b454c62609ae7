// File names that resolve from a current folder other than the input
// file's own.
#include <string>
#include <vector>

#include "framework/opnfil.h"
#include "input/d_inpkey.h"
#include "input/rplenvar.h"
#include "input_check/check_parts.h"
#include "platform/field_read.h"
#include "platform/file_identity.h"
#include "platform/fixed_text.h"

namespace input_check {

namespace {

std::string folder_of(const std::string& absolute) {
  const std::size_t slash = absolute.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : absolute.substr(0, slash);
}

// The variable a name begins with ("P" of "${P}/x" or "$P/x"); "" for none.
std::string leading_variable(const std::string& given) {
  if (given.size() < 2 || given[0] != '$') return "";
  if (given[1] != '{') return given.substr(1, 1);
  const std::size_t close = given.find('}');
  return close == std::string::npos ? "" : given.substr(2, close - 2);
}

// The line of ENVIRONMENT that defines var as the run finds it: the first
// with its name and a value free of "$".
int definition_line(const CheckContext& ctx, const std::string& var) {
  for (const ScannedKey& key : ctx.scan.keys) {
    if (!platform::same_text(platform::cut(key.name, 32), "ENVIRONMENT")) continue;
    for (std::size_t k = 0; k < key.valueTexts.size(); ++k) {
      const std::vector<platform::FreeItem> items = platform::free_items(key.valueTexts[k], 2);
      if (items.size() < 2 || items[0].text != var) continue;
      if (items[1].text.find('$') == std::string::npos) return key.valueLines[k];
    }
    return key.line;
  }
  return 0;
}

struct Variable {
  std::string name;
  std::vector<std::string> keys;
};

void add_key(std::vector<Variable>& vars, const std::string& var, const std::string& key) {
  for (Variable& v : vars) {
    if (v.name != var) continue;
    for (const std::string& k : v.keys) {
      if (k == key) return;
    }
    v.keys.push_back(key);
    return;
  }
  vars.push_back({var, {key}});
}

}  // namespace

void check_relative_names(CheckContext& ctx) {
  const std::string here = platform::absolute_name(".");
  const std::string own = folder_of(platform::absolute_name(input::inpKey.inpFil));
  if (here == own) return;
  const std::string where =
      "the current folder " + here + ", not from the input file's folder " + own;
  std::vector<Variable> vars;
  for (const NamedFile& f : ctx.named) {
    const std::string opened(platform::rtrim(framework::silent_expanded_name(f.given)));
    if (opened.empty() || opened[0] == '/' || opened.find('$') != std::string::npos) continue;
    const std::string var = leading_variable(f.given);
    if (!var.empty()) {
      add_key(vars, var, f.key);
      continue;
    }
    ctx.diag.warning(f.line, f.key + ": " + quoted(f.given) +
                                 " is relative: the run resolves it from " + where);
  }
  for (const Variable& v : vars) {
    std::string value = "${" + v.name + "}";
    input::RPLENVAR(0, value);
    std::string keys;
    for (const std::string& k : v.keys) keys += (keys.empty() ? "" : ", ") + k;
    const std::string folder(platform::rtrim(value));
    ctx.diag.warning(definition_line(ctx, v.name),
                     "ENVIRONMENT: " + v.name + " = " + quoted(folder) +
                         " is a relative folder: the names that use it (" + keys +
                         ") resolve from " + where);
  }
}

}  // namespace input_check
