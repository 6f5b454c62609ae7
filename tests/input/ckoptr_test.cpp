#include "input/ckoptr.h"

#include <vector>

#include "input/ckoptn.h"
#include "input/descrp.h"
#include "input/load_input.h"

namespace {

using input::CKOPTR;

class CkoptrTest : public testsupport::ModuleTest {
 protected:
  // The values of keyWord, checked in mode 1 by "FITCHK"; returns the console.
  std::string check(const std::string& keyWord, const std::function<void(const std::vector<std::string>&, int)>& fn) {
    return testsupport::run_captured(tmp, [&] {
             std::vector<std::string> value;
             int irc = 0;
             input::READKEYS(keyWord, value, irc);
             fn(value, irc);
           }).console;
  }
  std::string head(const std::string& line, const std::string& option) {
    return "\n" + line + "\n                Input file:  " + inpFil +
           "\n                Called by:   FITCHK\n                Option:      " + option + "\n";
  }
  void SetUp() override {
    ModuleTest::SetUp();
    inpFil = testsupport::load_input(
        tmp,
        "FAC_GPS 1 abc\nLIM_GPS 1 \"-1\"\nBIG 1 1.0E6\nTINY 1 0.0005\nTHREE 3\n  1\n  2\n  3\n"
        "EMPTY 0\nPAIR 2\n  1.5\n  2\nMIXED 3\n  1\n  abc\n  \"-5\"\nRANGE 1 11\n"
        "MSG_OPT 1 \"Option from the input file\"\nOPT 1 x\nSMALL 3\n  0\n  0.0005\n  0.5\n");
  }
  std::string inpFil;
  int irCode = 0;
  double r1 = 0.0;
};

TEST_F(CkoptrTest, UnreadableValueKeepsResultAndCounts) {
  const std::string out = check("FAC_GPS", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "FAC_GPS", v, "FITCHK", "Factor wrt mean RMS (GPS)", irc, irCode, 0.0, {}, {}, 0.0,
           {}, {}, {}, {}, {}, {}, {}, nullptr, nullptr, &r1);
  });
  EXPECT_EQ(out, head(" *** SR CKOPTR: A real string is expected for keyword \"FAC_GPS\"",
                      "Factor wrt mean RMS (GPS)") +
                     "                Bad value:   \" abc \"\n"
                     "                             The string could not be converted to a real!\n \n");
  EXPECT_EQ(irCode, 1);
  EXPECT_EQ(r1, 0.0);
}

TEST_F(CkoptrTest, OutOfRangeInFixedFormatKeepsItsNumber) {
  const std::string out = check("LIM_GPS", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "LIM_GPS", v, "FITCHK", "Lower limit for RMS (GPS)", irc, irCode, 0.0, 0.0, {}, {},
           {}, {}, {}, {}, {}, {}, {}, nullptr, nullptr, &r1);
  });
  EXPECT_EQ(out, head(" *** SR CKOPTR: The value for keyword \"LIM_GPS\" exceeds the range.",
                      "Lower limit for RMS (GPS)") +
                     "                Bad value:    -1.0000\n"
                     "                Expected:    ( value >=  0.0000 )\n \n");
  EXPECT_EQ(irCode, 1);
  EXPECT_EQ(r1, -1.0);
}

TEST_F(CkoptrTest, LargeOrTinyValuesSwitchToExponentialFormat) {
  std::string out = check("BIG", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "BIG", v, "FITCHK", "d", irc, irCode, {}, {}, 100.0);
  });
  EXPECT_NE(out.find("\n                Bad value:     0.1000E+07\n"
                     "                Expected:    ( value <=  0.1000E+03 )\n \n"),
            std::string::npos)
      << out;
  out = check("TINY", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(0, "TINY", v, "FITCHK", "d", irc, irCode, {}, {}, {}, 0.001);
  });
  EXPECT_NE(out.find(" ### SR CKOPTR: The value for keyword \"TINY\" exceeds the range.\n"), std::string::npos);
  EXPECT_NE(out.find("\n                Bad value:     0.5000E-03\n"
                     "                Expected:    ( value >  0.1000E-02 )\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(irCode, 1);  // mode 0 warns without counting
}

// Only the smallest and the largest bad value choose the format: 0.0005
// lies between them.
TEST_F(CkoptrTest, ValueBetweenSmallestAndLargestKeepsFixedFormat) {
  const std::string out = check("SMALL", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "SMALL", v, "FITCHK", "d", irc, irCode, {}, 1.0);
  });
  EXPECT_EQ(out, head(" *** SR CKOPTR: The value for keyword \"SMALL\" exceeds the range.", "d") +
                     "                Bad value:     0.0000      in line 1\n"
                     "                Bad value:     0.0005      in line 2\n"
                     "                Bad value:     0.5000      in line 3\n"
                     "                Expected:    ( value >=  1.0000 )\n \n");
  EXPECT_EQ(irCode, 3);
}

TEST_F(CkoptrTest, BothLimitsGiveTheValidRange) {
  struct Case {
    std::optional<double> ge, le, gt, lt;
    const char* line;
  };
  const Case cases[] = {
      {0.0, 10.0, {}, {}, "Valid range: (   0.0000 <= value <=  10.0000 )"},
      {{}, {}, 0.0, 10.0, "Valid range: (   0.0000 < value <  10.0000 )"},
      {0.0, {}, {}, 10.0, "Valid range: (   0.0000 <= value <  10.0000 )"},
  };
  for (const Case& c : cases) {
    const std::string out = check("RANGE", [&](const std::vector<std::string>& v, int irc) {
      CKOPTR(1, "RANGE", v, "FITCHK", "d", irc, irCode, {}, c.ge, c.le, c.gt, c.lt);
    });
    EXPECT_NE(out.find("\n                Bad value:     11.0000\n                " +
                       std::string(c.line) + "\n \n"),
              std::string::npos)
        << out;
  }
}

TEST_F(CkoptrTest, LocationTextsStartAtTheCommonColumn) {
  std::vector<double> result(3, 7.0);
  int nError = 0, nOk = 0, nResult = 0;
  const std::string out = check("MIXED", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "MIXED", v, "FITCHK", "Mixed", irc, irCode, {}, 0.0, {}, {}, {}, {}, {}, {}, {}, {},
           -9.0, &nError, &nOk, &r1, &nResult, &result);
  });
  EXPECT_EQ(out, head(" *** SR CKOPTR: A real string is expected for keyword \"MIXED\"", "Mixed") +
                     "                Bad value:   \" abc \"  in line 2\n"
                     "                             The string could not be converted to a real!\n \n" +
                     head(" *** SR CKOPTR: The value for keyword \"MIXED\" exceeds the range.", "Mixed") +
                     "                Bad value:    -5.0000      in line 3\n"
                     "                Expected:    ( value >=  0.0000 )\n \n");
  EXPECT_EQ(result, (std::vector<double>{1.0, -9.0, -9.0}));
  EXPECT_EQ(r1, 1.0);
  EXPECT_EQ(nError, 2);
  EXPECT_EQ(nOk, 1);
  EXPECT_EQ(nResult, 3);
  EXPECT_EQ(irCode, 2);
}

TEST_F(CkoptrTest, TooManyValuesReportedByCkoptn) {
  int nError = 0;
  const std::string out = check("THREE", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "THREE", v, "FITCHK", "Three", irc, irCode, {}, {}, {}, {}, {}, {}, {}, {}, 2, {},
           -1.0, &nError, nullptr, &r1);
  });
  EXPECT_EQ(out, head(" *** SR CKOPTN: Too many items found for keyword \"THREE\".", "Three") +
                     "                Num of items:    3\n"
                     "                Max of items:    2\n \n");
  EXPECT_EQ(irCode, 1);
  EXPECT_EQ(nError, 2);
  EXPECT_EQ(r1, -1.0);
}

TEST_F(CkoptrTest, MissingKeywordCountsWithoutOwnMessage) {
  int nError = 0;
  const std::string out = testsupport::run_captured(tmp, [&] {
                            CKOPTR(1, "NONE", {""}, "FITCHK", "d", 1, irCode, {}, {}, {}, {}, {}, {}, {},
                                   {}, {}, {}, 5.0, &nError, nullptr, &r1);
                          }).console;
  EXPECT_EQ(out, "");
  EXPECT_EQ(irCode, 1);
  EXPECT_EQ(nError, 99);
  EXPECT_EQ(r1, 5.0);
}

TEST_F(CkoptrTest, EmptyValueNeedsAReplacement) {
  std::string out = check("EMPTY", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "EMPTY", v, "FITCHK", "Empty", irc, irCode, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
           {}, nullptr, nullptr, &r1);
  });
  EXPECT_EQ(out, head(" *** SR CKOPTR: A real string is expected for keyword \"EMPTY\"", "Empty") +
                     "                Bad value:   \" \"\n"
                     "                             An empty string is not allowed here!\n \n");
  r1 = 3.0;
  out = check("EMPTY", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "EMPTY", v, "FITCHK", "Empty", irc, irCode, 0.0, 1.0, {}, {}, {}, {}, {}, {}, {}, {},
           {}, nullptr, nullptr, &r1);
  });
  EXPECT_EQ(out, "");
  EXPECT_EQ(r1, 0.0);
  EXPECT_EQ(irCode, 1);
}

TEST_F(CkoptrTest, ScalarResultTakesTheFirstValue) {
  int nResult = 0;
  check("PAIR", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "PAIR", v, "FITCHK", "Pair", irc, irCode, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {},
           nullptr, nullptr, &r1, &nResult);
  });
  EXPECT_EQ(r1, 1.5);
  EXPECT_EQ(nResult, 2);
  EXPECT_EQ(irCode, 0);
}

TEST_F(CkoptrTest, DescriptionFromInputFileAndLongDescriptionWarning) {
  const std::string longDescr(50, 'd');
  const std::string out = check("OPT", [&](const std::vector<std::string>& v, int irc) {
    CKOPTR(1, "OPT", v, "FITCHK", longDescr, irc, irCode);
  });
  EXPECT_EQ(out,
            "\n ### SR CKOPTR: Dear programmer, please give a shorter description\n"
            "                for this option - not more than 45 chr. are possible\n"
            "                to get a \"nice\" error message.\n"
            "                You have a description with  50 characters.\n"
            "                Keyword:  OPT\n\n" +
                head(" *** SR CKOPTR: A real string is expected for keyword \"OPT\"",
                     "Option from the input file") +
                "                Bad value:   \" x \"\n"
                "                             The string could not be converted to a real!\n \n");
}

TEST_F(CkoptrTest, ProgrammerErrorsEndTheRun) {
  const std::string dear = "\n *** SR CKOPTR: Dear programmer, you did a FATAL ERROR!!!\n";
  struct Case {
    std::function<void()> call;
    std::string lines;
  };
  std::vector<double> small(1);
  const std::vector<std::string> one{"1"};
  const Case cases[] = {
      {[&] { CKOPTR(1, "K", one, "T", "d", 0, irCode, {}, 0.0, {}, 0.0); },
       "                You have specified the optional arguments \"ge\" and \"gt\"\n"
       "                in the same call of the subroutine.\n\n"},
      {[&] { CKOPTR(1, "K", one, "T", "d", 0, irCode, {}, {}, 1.0, {}, 2.0); },
       "                You have specified the optional arguments \"le\" and \"lt\"\n"
       "                in the same call of the subroutine.\n\n"},
      {[&] { CKOPTR(2, "K", one, "T", "d", 0, irCode); },
       "                The first parameter has to be \"0\" or \"1\".\n                Keyword:  K\n\n"},
      {[&] {
         CKOPTR(1, "K", one, "T", "d", 0, irCode, {}, {}, {}, {}, {}, {}, {}, {}, 2, {}, {}, nullptr,
                nullptr, nullptr, nullptr, &small);
       },
       "                The optional parameter \"maxVal\" is bigger that the\n"
       "                size of the \"result\" array.\n                Keyword:  K\n\n"},
  };
  for (const Case& c : cases) {
    const testsupport::RunResult r = testsupport::run_captured(tmp, c.call);
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.console.substr(0, dear.size() + c.lines.size()), dear + c.lines);
  }
}

TEST_F(CkoptrTest, DescriptionShortenedToMaxLen) {
  const std::string sixty = "The description of this option is long, sixty characters ...";
  testsupport::load_input(tmp, "DESCR_K 1 \"" + sixty + "\"\nMSG_K 1 later\n", "descr.inp");
  struct Case {
    int maxLen;
    std::string text;
  };
  const Case cases[] = {{60, sixty}, {45, sixty.substr(0, 42) + " .."}, {3, "The"}, {1, "T"}};
  for (const Case& c : cases) {
    std::string text;
    input::DESCRP("K", c.maxLen, text);
    EXPECT_EQ(text, c.text) << c.maxLen;
  }
  std::string none = "x";
  input::DESCRP("OTHER", 45, none);
  EXPECT_EQ(none, "");
  const testsupport::RunResult r = testsupport::run_captured(tmp, [&] { input::DESCRP("K", 0, none); });
  EXPECT_EQ(r.status, 1);
  const std::string expected =
      "\n *** SR DESCRP: Illegal length of description string:     0\n"
      "                Keyword:  K\n\n";
  EXPECT_EQ(r.console.substr(0, expected.size()), expected);
}

}  // namespace
