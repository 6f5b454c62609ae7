#include "input/ckopti.h"

#include <vector>

#include "input/ckoptb.h"
#include "input/load_input.h"

namespace {

using input::CKOPTB;
using input::CKOPTI;

class CkoptiTest : public testsupport::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    inpFil = testsupport::load_input(tmp,
                                     "NUM 2\n  7\n  1.5\nONE 1 9\nBOX_A 1 1\nBOX_B 1 1\nBOX_C 1 0\n"
                                     "BOX_D 1 0\nBOX_E 1 2\nDESCR_BOX_A 1 \"Pick one\"\n");
  }
  std::string head(const std::string& line, const std::string& option) {
    return "\n" + line + "\n                Input file:  " + inpFil +
           "\n                Called by:   TEST\n                Option:      " + option + "\n";
  }
  std::string inpFil;
  int irCode = 0;
};

TEST_F(CkoptiTest, RangeAndConversionMessages) {
  std::vector<std::string> value;
  int irc = 0;
  std::vector<int> result(2, 0);
  const std::string out = testsupport::run_captured(tmp, [&] {
                            input::READKEYS("NUM", value, irc);
                            CKOPTI(1, "NUM", value, "TEST", "Number", irc, irCode, {}, -10, 5, "Col",
                                   12, "Row", {}, {}, {}, nullptr, nullptr, nullptr, nullptr, &result);
                          }).console;
  EXPECT_EQ(out, head(" *** SR CKOPTI: An integer string is expected for keyword \"NUM\"", "Number") +
                     "                Column:      Col\n"
                     "                Bad value:   \" 1.5 \"  in line 2\n"
                     "                             The string could not be converted to an integer!\n \n" +
                     head(" *** SR CKOPTI: The value for keyword \"NUM\" exceeds the range.", "Number") +
                     "                Column:      Col\n"
                     "                Bad value:    7       in line 1\n"
                     "                Valid range: ( -10 <= value <=   5 )\n \n");
  EXPECT_EQ(irCode, 2);
  EXPECT_EQ(result, (std::vector<int>{0, 0}));
  // A single item also shows its entry and line number.
  const std::string one = testsupport::run_captured(tmp, [&] {
                            input::READKEYS("ONE", value, irc);
                            CKOPTI(1, "ONE", value, "TEST", "One", irc, irCode, {}, {}, 5, "Col", 12, "Row");
                          }).console;
  EXPECT_EQ(one, head(" *** SR CKOPTI: The value for keyword \"ONE\" exceeds the range.", "One") +
                     "                Column:      Col\n                Entry for:   Row\n"
                     "                Line number:    12\n                Bad value:    9\n"
                     "                Expected:    ( value <= 5 )\n \n");
}

TEST_F(CkoptiTest, RadioButtonSets) {
  struct Case {
    std::vector<std::string> keys;
    int iSelect;
    bool selected;
    int irCode;
    std::string message;  // headline after the prefix, "" for none
  };
  const Case cases[] = {
      {{"BOX_A"}, 1, true, 0, ""},
      {{"BOX_C"}, 0, false, 0, ""},
      {{"BOX_C", "BOX_A"}, 2, true, 0, ""},
      {{"BOX_A", "BOX_B"}, -1, false, 1, "More than one item was selected for a set of radiobottons."},
      {{"BOX_C", "BOX_D"}, -1, false, 1, "No item was selected for a set of radiobottons."},
  };
  for (const Case& c : cases) {
    int iSelect = 99, ir = 0;
    bool selected = !c.selected;
    const std::string out = testsupport::run_captured(tmp, [&] {
                              CKOPTB(1, c.keys, "TEST", "Buttons", ir, {}, {}, {}, {}, -1, &iSelect,
                                     &selected);
                            }).console;
    EXPECT_EQ(iSelect, c.iSelect) << c.keys[0];
    EXPECT_EQ(selected, c.selected) << c.keys[0];
    EXPECT_EQ(ir, c.irCode) << c.keys[0];
    if (c.message.empty()) {
      EXPECT_EQ(out, "");
      continue;
    }
    EXPECT_EQ(out, head(" *** SR CKOPTB: " + c.message, c.keys[0] == "BOX_A" ? "Pick one" : "Buttons") + "                Item 1:      " +
                       c.keys[0] + " = " + (c.keys[0] == "BOX_A" ? "1" : "0") + "\n" +
                       "                Item 2:      " + c.keys[1] + " = " +
                       (c.keys[1] == "BOX_B" ? "1" : "0") + "\n \n");
  }
}

TEST_F(CkoptiTest, InvalidCheckBoxValueIsCounted) {
  int ir = 0;
  bool selected = true;
  const std::string out = testsupport::run_captured(tmp, [&] {
                            CKOPTB(1, {"BOX_E"}, "TEST", "Box", ir, {}, {}, {}, {}, {}, nullptr, &selected);
                          }).console;
  EXPECT_EQ(out, head(" *** SR CKOPTI: The value for keyword \"BOX_E\" exceeds the range.", "Box") +
                     "                Bad value:    2\n"
                     "                Valid range: ( 0 <= value <= 1 )\n \n");
  EXPECT_EQ(ir, 1);
  EXPECT_FALSE(selected);
}

}  // namespace
