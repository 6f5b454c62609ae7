#include <filesystem>

#include "platform/units.h"
#include "satcrux/d_satcrx.h"
#include "satcrux_fixture.h"

namespace {

using satcrux::LINCOUNT;
using satcrux_test::header;
using satcrux_test::rec;
using testsupport::run_captured;
using testsupport::spit;

class LincountTest : public satcrux_test::SatCruxTest {};

TEST_F(LincountTest, CountsUpToTheFirstBlankLineAndTheTrailingPart) {
  const std::string file = tmp.file("crux");
  spit(file,
       header() + rec(1, 0, 0) + rec(2, 4, 0) + rec(3, 4, 2) + "\n" + rec(4, 0, 0) + rec(5, 0, 0));
  load("CRXKEY 1 \"" + file + "\"\nEMPTY 1 \"\"\n");
  int trailing = -1;
  EXPECT_EQ(LINCOUNT(file, 6, &trailing), 3);
  EXPECT_EQ(trailing, 3) << "the blank line and the two lines behind it";
  EXPECT_EQ(LINCOUNT(file, 6), 3);
  EXPECT_EQ(LINCOUNT("CRXKEY", 6, &trailing), 3) << "a keyword names the file";
  EXPECT_EQ(trailing, 3);
  EXPECT_EQ(LINCOUNT(file, 0), 2) << "the header's own blank line ends the count";
  EXPECT_EQ(LINCOUNT(file, 12, &trailing), 0) << "fewer lines than the header";
  EXPECT_EQ(trailing, 0);
  EXPECT_FALSE(platform::unit_connected(999));
}

TEST_F(LincountTest, NeitherKeywordNorFileGivesZeroWithoutMessage) {
  load("EMPTY 1 \"\"\n");
  int trailing = -1;
  const auto r = run_captured(tmp, [&] {
    EXPECT_EQ(LINCOUNT("NOSUCHKEY", 6, &trailing), 0);
    EXPECT_EQ(LINCOUNT("EMPTY", 6), 0) << "a keyword with a blank file name";
    EXPECT_EQ(LINCOUNT(tmp.file("missing"), 6), 0);
    EXPECT_EQ(LINCOUNT(" ", 6), 0);
  });
  EXPECT_FALSE(r.exited);
  EXPECT_EQ(trailing, 0);
  EXPECT_EQ(r.console, "");
}

TEST_F(LincountTest, LinesAreSeenAsTheir255FirstCharacters) {
  const std::string file = tmp.file("long");
  // A 1 MB line counts once; a line blank in its first 255 columns is blank.
  spit(file, header() + std::string(1 << 20, 'x') + "\n" + rec(1, 0, 0) + std::string(255, ' ') +
                 "tail\n" + rec(2, 0, 0));
  int trailing = -1;
  EXPECT_EQ(LINCOUNT(file, 6, &trailing), 2);
  EXPECT_EQ(trailing, 2);
  spit(file, header() + std::string("\0\x01\xff\n\n", 5) + "x\r\n");
  EXPECT_EQ(LINCOUNT(file, 6, &trailing), 1);
  EXPECT_EQ(trailing, 2);
}

TEST_F(LincountTest, ADirectoryEndsTheRunInOpnerr) {
  load("EMPTY 1 \"\"\n");
  std::filesystem::create_directory(tmp.file("dir"));
  const auto r = run_captured(tmp, [&] { LINCOUNT(tmp.file("dir"), 6); });
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  const std::string b16(16, ' ');
  EXPECT_TRUE(satcrux_test::starts_with(
      r.console, "\n *** SR OPNERR: OPEN FAILED\n" + b16 + "FILE NAME : " + tmp.file("dir") + "\n" +
                     b16 + "PGM./SUBR.:   linCount\n" + b16 + "IOSTAT    :     21\n" + b16 +
                     "FILE UNIT :    999\n\n"))
      << r.console;
}

}  // namespace
