// The findings of the input-file check, written as compilers write theirs.
#pragma once
#include <string>
#include <utility>
#include <vector>

namespace input_check {

enum class Level { Error, Warning, Note };

struct Diagnostic {
  int line = 0;  // line of the input file; 0: the file as a whole
  Level level = Level::Note;
  std::string text;
};

class Diagnostics {
 public:
  void add(int line, Level level, std::string text);
  void error(int line, std::string text) { add(line, Level::Error, std::move(text)); }
  void warning(int line, std::string text) { add(line, Level::Warning, std::move(text)); }
  void note(int line, std::string text) { add(line, Level::Note, std::move(text)); }
  int errors() const;
  int warnings() const;
  // "FILE:LINE: level: text" in line order (those of the whole file last,
  // each group in the order found), then the line with the counts.
  std::string render(const std::string& fileName) const;
  const std::vector<Diagnostic>& list() const { return list_; }

 private:
  std::vector<Diagnostic> list_;
};

// A text in double quotes.
std::string quoted(const std::string& text);

}  // namespace input_check
