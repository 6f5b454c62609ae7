#include "input/ckoptc.h"

#include <string>
#include <vector>

#include "input/load_input.h"

namespace {

const std::vector<std::string_view> kRules = {"MEAN", "MEDIAN"};

class CkoptcTest : public testsupport::ModuleTest {};

TEST_F(CkoptcTest, ValuesOfASetOfChoices) {
  struct Case {
    const char* line;  // the keyword line(s) of RULE; "": none
    int mode;
    int index;         // the result: empty 0, error 9
    int counted;       // added to irCode
    std::string message;
  };
  const std::string ind(16, ' ');
  const auto head = [&](const std::string& first, const std::string& file) {
    return "\n" + first + "\n" + ind + "Input file:  " + file + "\n" + ind +
           "Called by:   FITCHK\n" + ind + "Option:      Editing rule\n";
  };
  const std::string file = tmp.file("test.inp");
  const Case cases[] = {
      {"RULE 1 \"MEDIAN\"", 1, 1, 0, ""},
      {"RULE 1 \"  MEAN \"", 1, 0, 0, ""},
      {"RULE 1 \"\"", 1, 0, 0, ""},
      {"RULE 0", 1, 0, 0, ""},
      {"", 1, 9, 1, ""},  // READKEYS has reported it
      {"RULE 1 \"median\"", 1, 9, 1,
       head(" *** SR CKOPTC: The value for keyword \"RULE\" is not allowed.", file) + ind +
           "Bad value:   \" median \"\n" + ind + "Allowed:     \"MEAN\" or \"MEDIAN\"\n \n"},
      {"RULE 1 \"MEDIAN, MEAN\"", 0, 9, 0,
       head(" ### SR CKOPTC: The value for keyword \"RULE\" is not allowed.", file) + ind +
           "Bad value:   \" MEDIAN, MEAN \"\n" + ind + "Allowed:     \"MEAN\" or \"MEDIAN\"\n \n"},
      {"RULE 2\n  \"MEAN\"\n  \"MEDIAN\"", 1, 9, 1,
       head(" *** SR CKOPTN: Too many items found for keyword \"RULE\".", file) + ind +
           "Num of items:    2\n" + ind + "Max of items:    1\n \n"},
  };
  for (const Case& c : cases) {
    testsupport::load_input(tmp, std::string(c.line) + "\nX 1 \"y\"\n");
    int irCode = 0, index = -1;
    const auto r = testsupport::run_captured(tmp, [&] {
      std::vector<std::string> value;
      int irc = 0;
      input::READKEYS("RULE", value, irc);
      index = input::CKOPTC(c.mode, "RULE", value, "FITCHK", "Editing rule", irc, irCode, kRules,
                            0, 9);
    });
    EXPECT_EQ(index, c.index) << c.line;
    EXPECT_EQ(irCode, c.counted) << c.line;
    const std::string messages =
        r.console.find(" *** SR READKEYS") == std::string::npos ? r.console : "";
    EXPECT_EQ(messages, c.message) << c.line;
  }
  EXPECT_EQ(input::allowedText({"A", "B", "C"}), "\"A\", \"B\" or \"C\"");
}

}  // namespace
