#include "input/d_inpkey.h"
#include "input/chkfln.h"

#include "support/test_support.h"

namespace {

using testsupport::spit;

class ReadInpfTest : public testsupport::ModuleTest {
 protected:
  // Loads text as the input file; returns what the console received.
  testsupport::RunResult load(const std::string& text, const std::string& name = "INP") {
    spit(tmp.file(name), text);
    return testsupport::run_captured(tmp, [&] { input::READINPF(tmp.file(name), input::inpKey); });
  }
  std::vector<std::string> values(const std::string& key, int* ircOut = nullptr) {
    std::vector<std::string> v;
    int irc = -1;
    input::READKEYS(key, v, irc);
    if (ircOut) *ircOut = irc;
    return v;
  }
  using V = std::vector<std::string>;
};

TEST_F(ReadInpfTest, KeywordLinesValueListsAndComments) {
  const auto r = load(
      "! comment\n"
      "  KEY0 0\n"
      "KEY1 1 \"a b, c\"\n"
      "KEY2 1 abc def\n"
      "LIST 3\n"
      "# a comment between values\n"
      "  first\n"
      "\"second, with comma\"\n"
      "third extra\n"
      "KEY1 1 later\n"
      "HASH 1 #text#\n"
      "RAW 1 \"#x#\" and \"y\"\n");
  ASSERT_FALSE(r.exited) << r.console;
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(input::inpKey.nKeys, 7);
  EXPECT_EQ(values("KEY0"), V{""});
  EXPECT_EQ(values("KEY1"), V{"a b, c"}) << "the first occurrence wins";
  EXPECT_EQ(values("KEY2"), V{"abc"});
  EXPECT_EQ(values("LIST"), (V{"first", "second, with comma", "third"}));
  EXPECT_EQ(values("HASH"), V{"text"});
  EXPECT_EQ(values("RAW"), V{"\"x\" and \"y\""});
  EXPECT_EQ(values("*"), (V{"KEY0", "KEY1", "KEY2", "LIST", "KEY1", "HASH", "RAW"}));
  EXPECT_EQ(values(""), V{tmp.file("INP")});
  EXPECT_TRUE(input::TSTKEY("LIST   "));
  EXPECT_FALSE(input::TSTKEY(" LIST"));
}

TEST_F(ReadInpfTest, AByteOrderMarkBeforeTheFirstLineIsSkipped) {
  for (const char* first : {"ASPLIT 1 \"a.lst\"\n", "! comment\nASPLIT 1 \"a.lst\"\n"}) {
    testsupport::reset_all_state();
    const auto r = load(std::string("\xEF\xBB\xBF") + first + "OUTFIL 1 \"o\"\n");
    EXPECT_FALSE(r.exited) << r.console;
    EXPECT_EQ(values("ASPLIT"), V{"a.lst"}) << first;
    EXPECT_EQ(input::inpKey.nKeys, 2);
  }
}

TEST_F(ReadInpfTest, HashEscapesInsideQuotes) {
  load("A 1 \"##\" \"x\" \"y\"\n"
       "B 3\n\"#a\"b#\" x \"y\"\n\"#abc#\" \"q\" \"r\"\nplain\n");
  EXPECT_EQ(values("A"), V{"\"\" \"x\" \"y\""});
  EXPECT_EQ(values("B"), (V{"\"#a\"b#\" x \"y\"", "\"abc\" \"q\" \"r\"", "plain"}));
}

TEST_F(ReadInpfTest, MissingKeywordsAreReportedUnlessDummy) {
  load("A 1 x\n");
  int irc = -1;
  testsupport::RunResult r = testsupport::run_captured(tmp, [&] { values("NOPE", &irc); });
  EXPECT_EQ(irc, 1);
  EXPECT_EQ(r.console, "\n *** SR READKEYS: Keyword \"NOPE\" not found.\n" + std::string(18, ' ') +
                           "Input file name:  " + tmp.file("INP") + "\n\n");
  r = testsupport::run_captured(tmp, [&] { values("DUMMY_KEY", &irc); });
  EXPECT_EQ(irc, 1);
  EXPECT_EQ(r.console, "");
}

TEST_F(ReadInpfTest, BadCountStopsTheRunDuringInitialization) {
  const auto r = load("GOOD 1 x\nBAD one\n");
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.console,
            "\n*** SR READKEYS: Error decoding keyword line\n"
            "                 panel: " + tmp.file("INP") + "\n"
            "                 line : BAD one\n\n"
            "\n ### SR EXITRC: PROGRAM HAS BEEN STOPPED DURING INITIALIZATION\n\n");
}

TEST_F(ReadInpfTest, HugeCountsEndAtTheEndOfTheData) {
  const auto r = load("A 1 x\nBIG 2147483647\nv1\n");
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.console.find(" *** SR ALCERR: ALLOCATION OF AN ARRAY FAILED"), std::string::npos)
      << r.console;
  EXPECT_NE(r.console.find("SIZE OF ARRAY : (********)"), std::string::npos);
}

TEST_F(ReadInpfTest, ManyBlankLinesEndTheData) {
  load("A 1 x\n" + std::string(1001, '\n') + "B 1 y\n");
  EXPECT_EQ(input::inpKey.nKeys, 1);
  load("A 1 x\n" + std::string(1000, '\n') + "B 1 y\n", "INP2");
  EXPECT_EQ(input::inpKey.nKeys, 2);
}

TEST_F(ReadInpfTest, LongLinesAreCutAndCommentOnlyFilesAreEmpty) {
  load("A 1 " + std::string(300, 'x') + "\n");
  EXPECT_EQ(values("A"), V{std::string(251, 'x')});
  load("# only\n\n! comments\n", "INP2");
  EXPECT_EQ(input::inpKey.nKeys, 0);
  EXPECT_TRUE(values("*").empty());
}

TEST_F(ReadInpfTest, DeleteListNamesKeywords) {
  load("OUT 1 result.txt\nDELETE_FILES 2\nOUT\nother.txt\n");
  ASSERT_EQ(input::inpKey.nDel, 2);
  EXPECT_EQ(input::inpKey.delFil, (V{"result.txt", "other.txt"}));
}

TEST_F(ReadInpfTest, SameNameLeavesTheStoreAndAnotherRebuildsIt) {
  load("A 1 x\n");
  spit(tmp.file("INP"), "B 1 y\n");
  input::READINPF(tmp.file("INP"), input::inpKey);
  EXPECT_EQ(values("*"), V{"A"});
  spit(tmp.file("INP2"), "B 1 y\n");
  input::READINPF(tmp.file("INP2"), input::inpKey);
  EXPECT_EQ(values("*"), V{"B"});
}

TEST_F(ReadInpfTest, MissingFileIsAnOpenFailure) {
  const auto r = testsupport::run_captured(tmp, [&] { input::READINPF(tmp.file("none"), input::inpKey); });
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.console.substr(0, 29), "\n *** SR OPNERR: OPEN FAILED\n");
}

}  // namespace

namespace {

// A value is marked cut only when the line's cut at 255 columns changed it.
TEST_F(ReadInpfTest, ValuesCutWithTheirLineAreMarked) {
  const std::string pre = "K 1 \"";  // the value starts in column 6
  const std::string name250(250, 'n');
  struct Case {
    std::string line;
    bool cut;
  };
  const Case cases[] = {
      {pre + std::string(100, 'n') + "\"" + std::string(300, ' ') + "x", false},
      {pre + name250 + "\"", false},  // the closing quote in column 256: the name is whole
      {pre + name250 + "n\"", true},
      {"K 1 " + std::string(251, 'n') + " x", false},  // the item ends in column 255
      {"K 1 " + std::string(252, 'n'), true},
      {"K 1 \"a\" \"" + name250 + "\"", true},  // three quotes: raw from the first
  };
  int i = 0;
  for (const Case& c : cases) {
    const std::string text = c.line + "\nL 2\n  \"" + name250 + "nnnnnn\"\n  b\n";
    ASSERT_FALSE(load(text, "INP" + std::to_string(++i)).exited);
    EXPECT_EQ(input::value_cut("K", 0), c.cut) << c.line.size();
    EXPECT_TRUE(input::value_cut("L", 0));
    EXPECT_FALSE(input::value_cut("L", 1));
  }
}

}  // namespace
