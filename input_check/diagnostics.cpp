#include "input_check/diagnostics.h"

#include <algorithm>

namespace input_check {

void Diagnostics::add(int line, Level level, std::string text) {
  list_.push_back({line, level, std::move(text)});
}

int Diagnostics::errors() const {
  return static_cast<int>(std::count_if(list_.begin(), list_.end(),
                                        [](const Diagnostic& d) { return d.level == Level::Error; }));
}

int Diagnostics::warnings() const {
  return static_cast<int>(std::count_if(
      list_.begin(), list_.end(), [](const Diagnostic& d) { return d.level == Level::Warning; }));
}

namespace {

const char* level_word(Level l) {
  return l == Level::Error ? "error" : l == Level::Warning ? "warning" : "note";
}

// Control characters (of a binary file, say) written as \xNN.
std::string printable(const std::string& text) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 0x20 && c != 0x7F) {
      out += ch;
      continue;
    }
    out += "\\x";
    out += hex[c >> 4];
    out += hex[c & 0xF];
  }
  return out;
}

std::string counted(int n, const char* word) {
  return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

}  // namespace

std::string Diagnostics::render(const std::string& fileName) const {
  std::vector<Diagnostic> sorted = list_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Diagnostic& a, const Diagnostic& b) {
    const long long la = a.line > 0 ? a.line : (1LL << 40);
    const long long lb = b.line > 0 ? b.line : (1LL << 40);
    return la < lb;
  });
  std::string out;
  for (const Diagnostic& d : sorted) {
    out += fileName;
    if (d.line > 0) out += ":" + std::to_string(d.line);
    out += std::string(": ") + level_word(d.level) + ": " + printable(d.text) + "\n";
  }
  out += fileName + ": " + counted(errors(), "error") + ", " + counted(warnings(), "warning") + "\n";
  return out;
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace input_check
