#include "input/gtfile.h"

#include <vector>

#include "input/gtflna.h"
#include "input/load_input.h"

namespace {

using Names = std::vector<std::vector<std::string>>;

class GtfileTest : public testsupport::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    inpFil = testsupport::load_input(
        tmp,
        "ORBFIL 2\n  \"C:\\data\\ORB1.STD\"\n  \"/data/ORB2\"\n"
        "ORBFIL_EXT_COL_2 1 PRE\nORBFIL_EXT_COL_3 1 \"  ELEV\"\n"
        "ORBFIL_PTH_COL_3 1 \"/sav\"\nORBFIL_PTH_COL_4 1 \"/a/very/long/directory/name/beyond/32/chars/\"\n"
        "BLANK 1 \"\"\nDESCR_OUTFIL 1 \"Summary file\"\nOUTFIL 1 \"\"\nLIST 3\n  a\n  b\n  c\n");
  }
  std::string inpFil;
};

TEST_F(GtfileTest, DerivedColumns) {
  int nFil = 0;
  Names names;
  testsupport::run_captured(tmp, [&] { input::GTFILE("ORBFIL", 5, 10, nFil, names); });
  ASSERT_EQ(nFil, 2);
  ASSERT_EQ(names.size(), 5u);
  const Names expected = {
      {"C:\\data\\ORB1.STD", "/data/ORB2"},
      {"C:\\data\\ORB1.PRE", "PRE"},
      {"/sav/ORB1.ELE", "/sav/ELE"},
      {"/a/very/long/directory/name/beyond/32/chars/", "/a/very/long/directory/name/beyond/32/chars/"},
      {"", ""},
  };
  EXPECT_EQ(names, expected);
}

TEST_F(GtfileTest, CountsAndLimits) {
  int nFil = -1;
  Names names;
  testsupport::run_captured(tmp, [&] { input::GTFILE("BLANK", 1, 10, nFil, names); });
  EXPECT_EQ(nFil, 0);
  testsupport::run_captured(tmp, [&] { input::GTFILE("LIST", 1, 3, nFil, names); });
  EXPECT_EQ(names, (Names{{"a", "b", "c"}}));

  testsupport::RunResult r = testsupport::run_captured(tmp, [&] { input::GTFILE("LIST", 6, 3, nFil, names); });
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.console.substr(0, 45), "  *** gtfile: too many columns:            6\n");
  SetUp();  // the exit has closed the keyword store
  r = testsupport::run_captured(tmp, [&] { input::GTFILE("LIST", 1, 2, nFil, names); });
  EXPECT_EQ(r.status, 1);
  const std::string files = "  *** gtfile: too many files: LIST" + std::string(28, ' ') + "           3\n";
  EXPECT_EQ(r.console.substr(0, files.size()), files);
}

TEST_F(GtfileTest, SingleFileNames) {
  std::string name = "preset";
  int irc = 7;
  input::GTFLNA(1, "DEFNAM", name, irc);
  EXPECT_EQ(name, "preset");
  EXPECT_EQ(irc, 7);
  const std::string out = testsupport::run_captured(tmp, [&] { input::GTFLNA(0, "MISSING", name, irc); }).console;
  EXPECT_EQ(out, "");
  EXPECT_EQ(name, "");
  EXPECT_EQ(irc, 1);
  input::GTFLNA(1, "LIST", name, irc);
  EXPECT_EQ(name, "a");
  EXPECT_EQ(irc, 0);

  testsupport::RunResult r = testsupport::run_captured(tmp, [&] { input::GTFLNA(1, "OUTFIL", name, irc); });
  EXPECT_EQ(r.status, 1);
  std::string msg =
      "\n *** SR GTFLNA: File name not found or blank\n                Keyword:  OUTFIL\n"
      "                Option:   Summary file\n\n";
  EXPECT_EQ(r.console.substr(0, msg.size()), msg);
  SetUp();
  r = testsupport::run_captured(tmp, [&] { input::GTFLNA(1, "BLANK", name, irc); });
  msg = "\n *** SR GTFLNA: File name not found or blank\n                Keyword:  BLANK\n\n";
  EXPECT_EQ(r.console.substr(0, msg.size()), msg);
}

}  // namespace

namespace {

// A derived name beyond 255 characters is refused, not cut to another name.
TEST_F(GtfileTest, DerivedNameTooLongEndsTheRun) {
  const std::string dir = "/" + std::string(200, 'd') + "/", name(50, 'n');
  testsupport::load_input(tmp, "F 1 \"" + name + ".STD\"\nF_PTH_COL_2 1 \"" + dir + "\"\nF_EXT_COL_2 1 PRE\n");
  int nFil = 0;
  Names names;
  const auto r = testsupport::run_captured(tmp, [&] { input::GTFILE("F", 2, 10, nFil, names); });
  EXPECT_EQ(r.status, 1);
  const std::string head = "\n *** SR GTFILE: File name too long\n" + std::string(16, ' ') +
                           "Keyword:   F\n" + std::string(16, ' ') + "File name: " + dir + name +
                           ".PRE\n";
  EXPECT_EQ(r.console.substr(0, head.size()), head);
}

}  // namespace
