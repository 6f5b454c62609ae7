#include "framework/opnfil.h"

#include "framework/m_tolk.h"
#include "input/d_inpkey.h"
#include "platform/units.h"
#include "support/test_support.h"

namespace {

using testsupport::run_captured;
using testsupport::slurp;
using testsupport::spit;

const std::string B16(16, ' ');

class OpnfilTest : public testsupport::ModuleTest {};

TEST_F(OpnfilTest, NewInLowerCaseReplacesAnExistingFile) {
  spit(tmp.file("out"), "old\n");
  int ios = -1;
  framework::OPNFIL(30, tmp.file("out"), "new", " ", " ", " ", ios);
  ASSERT_EQ(ios, 0);
  EXPECT_EQ(input::inpKey.opnBusy, 0);
  platform::write_record(30, "fresh");
  platform::close_unit(30);
  EXPECT_EQ(slurp(tmp.file("out")), "fresh\n");
}

TEST_F(OpnfilTest, AFileOpenOnAnotherUnitIsClosedFirst) {
  spit(tmp.file("f"), "x\n");
  int ios = -1;
  framework::OPNFIL(12, tmp.file("f"), "OLD", "FORMATTED", "READONLY", " ", ios);
  ASSERT_EQ(ios, 0);
  framework::OPNFIL(20, "  " + tmp.file("f"), "OLD", "FORMATTED", "READONLY", " ", ios);
  ASSERT_EQ(ios, 0);
  EXPECT_FALSE(platform::unit_connected(12));
  EXPECT_TRUE(platform::unit_connected(20));
}

TEST_F(OpnfilTest, UnknownOptionWordStopsInOpnfil) {
  int ios = 0;
  const auto r = run_captured(tmp, [&] {
    framework::OPNFIL(999, tmp.file("f"), "OLD", "FORMATTED", "read", " ", ios);
  });
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.console, "\n SR OPNFIL: UNKNOWN KEYWORD    : READ" + std::string(16, ' ') +
                           "\n            LOGICAL FILENUMBER : **\n"
                           "            FILENAME           : " +
                           std::string(tmp.file("f")) + std::string(255 - tmp.file("f").size(), ' ') +
                           "\n\n\n ### SR EXITRC: PROGRAM HAS BEEN STOPPED IN OPNFIL\n\n");
}

TEST_F(OpnfilTest, OpnerrReportsReducedStatusesOnly) {
  auto r = run_captured(tmp, [] { framework::OPNERR(6, 11, 0, "a", "X"); });
  EXPECT_FALSE(r.exited);
  r = run_captured(tmp, [] { framework::OPNERR(6, 11, 512, "a", "X"); });
  EXPECT_FALSE(r.exited);
  EXPECT_EQ(r.console, "");
  r = run_captured(tmp, [] { framework::OPNERR(0, 11, 29, "dir/file.txt   ", "FITCHK"); });
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.console, "\n *** SR OPNERR: OPEN FAILED\n" + B16 + "FILE NAME : dir/file.txt\n" + B16 +
                           "PGM./SUBR.:     FITCHK\n" + B16 + "IOSTAT    :     29\n" + B16 +
                           "FILE UNIT :     11\n\n");
  r = run_captured(tmp, [] { framework::OPNERR(6, 999, -300, "a", "d_satcrx:read_crux"); });
  EXPECT_NE(r.console.find("PGM./SUBR.: d_satcrx:r\n" + B16 + "IOSTAT    :    -44\n"),
            std::string::npos)
      << r.console;
}

TEST_F(OpnfilTest, AlcerrSizeText) {
  auto r = run_captured(tmp, [] { framework::ALCERR(0, "v", {1000}, "s"); });
  EXPECT_FALSE(r.exited);
  r = run_captured(tmp, [] { framework::ALCERR(12, "inpKey%keys", {100, 20}, "readInpf"); });
  EXPECT_EQ(r.console, "\n *** SR ALCERR: ALLOCATION OF AN ARRAY FAILED\n" + B16 +
                           "VARIABLE NAME : inpKey%keys\n" + B16 +
                           "SIZE OF ARRAY : (     100,       20)\n" + B16 +
                           "PGM./SUBR.    : readInpf\n" + B16 + "ERROR STATUS  :     12\n\n");
}

TEST_F(OpnfilTest, DimtstLayouts) {
  int irc = -1;
  auto r = run_captured(tmp, [&] {
    framework::DIMTST(1, 1, 2, "d_satcrx:gtsats", "maxspl", "number of arc split events",
                      "Increase \"maxman\" in module \"M_MAXDIM\".", 2, 2, irc);
  });
  EXPECT_EQ(irc, 0);
  EXPECT_EQ(r.console, "");
  r = run_captured(tmp, [&] {
    framework::DIMTST(1, 1, 2, "d_satcrx:gtsats", "maxspl", "number of arc split events",
                      "Increase \"maxman\" in module \"M_MAXDIM\".", 3, 2, irc);
  });
  EXPECT_TRUE(r.exited);
  EXPECT_EQ(r.console,
            "\n *** SR DIMTST: MAXIMUM DIMENSION \"maxspl\" EXCEEDED IN SR d_satcrx:gtsats\n" + B16 +
                "TOO MANY number of arc split events\n" + B16 +
                "ACTUAL NUMBER OF number of arc split events :      3\n" + B16 +
                "MAXIMUM NUMBER ALLOWED                      :      2\n" + B16 +
                "INCREASE MAXIMUM DIMENSION \"maxspl\" OR\n" + B16 +
                "REDUCE NUMBER OF number of arc split events\n" + B16 +
                "Increase \"maxman\" in module \"M_MAXDIM\".\n\n");
  r = run_captured(tmp, [&] { framework::DIMTST(0, 1, 1, "PGM", "mx", "sat", " ", 86, 85, irc); });
  EXPECT_FALSE(r.exited);
  EXPECT_EQ(irc, 1);
  EXPECT_EQ(r.console, "\n ### SR DIMTST: MAXIMUM DIMENSION \"mx\" EXCEEDED IN PG PGM\n" + B16 +
                           "TOO MANY sat\n" + B16 + "ACTUAL NUMBER OF sat :     86\n" + B16 +
                           "MAXIMUM NUMBER ALLOWE:     85\n" + B16 +
                           "INCREASE MAXIMUM DIMENSION \"mx\" OR\n" + B16 + "REDUCE NUMBER OF sat\n\n");
  // Blank texts are written as one blank in every line.
  r = run_captured(tmp, [&] { framework::DIMTST(0, 1, 2, "R", " ", "", " ", 2, 1, irc); });
  EXPECT_EQ(r.console, "\n ### SR DIMTST: MAXIMUM DIMENSION \" \" EXCEEDED IN SR R\n" + B16 +
                           "TOO MANY  \n" + B16 + "ACTUAL NUMBER OF   :      2\n" + B16 +
                           "MAXIMUM NUMBER ALLO:      1\n" + B16 +
                           "INCREASE MAXIMUM DIMENSION \" \" OR\n" + B16 + "REDUCE NUMBER OF  \n\n");
  r = run_captured(tmp, [&] { framework::DIMTST(2, 0, 2, "R", "mx", "sats", "", 9, 8, irc); });
  EXPECT_FALSE(r.exited);
  EXPECT_NE(r.console.find(B16 + "TOO MANY sats\n" + B16 + "MAXIMUM NUMBER ALLOWED:      8\n"),
            std::string::npos)
      << r.console;
}

}  // namespace
