#include "framework/pritit.h"

#include "framework/d_pgmid.h"
#include "framework/prflna.h"
#include "input/load_input.h"
#include "platform/clock.h"

namespace {

using framework::d_pgmid;

const std::string kEq = " " + std::string(79, '=');
const std::string kMinus = " " + std::string(79, '-');

class PrititTest : public testsupport::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    platform::set_fake_clock(platform::LocalTime{2026, 12, 7, 60, 6, 5, 9, 0});
  }
  std::string title(const std::string& input) {
    testsupport::load_input(tmp, input);
    return testsupport::run_captured(tmp, [] {
             framework::PRITIT("FITCHK", "Extract TRJFIT program output");
           }).console;
  }
};

TEST_F(PrititTest, TitleBlock) {
  const std::string out = title(
      "TITLE 1 \"Orbit check of day 341\"\nCAMPAIGN 1 CAMP\nSES_INFO 1 3410\nYR4_INFO 1 2026\n"
      "ENVIRONMENT 1 \"USER\" \"anna\"\n");
  EXPECT_EQ(out, "\n" + kEq + "\n Morvane GNSS Software, Version 5.2\n" + kMinus +
                     "\n Program        : FITCHK\n Purpose        : Extract TRJFIT program output\n" +
                     kMinus +
                     "\n Campaign       : CAMP\n Default session: 3410 year 2026\n"
                     " Date           : 07-Dec-2026 06:05:09\n User name      : anna\n" +
                     kEq + "\n\n\n Orbit check of day 341\n" + kMinus + "\n\n\n");
  EXPECT_EQ(d_pgmid.pgmName, "FITCHK");
  EXPECT_EQ(d_pgmid.pgmDescr, "Extract TRJFIT program output");
  EXPECT_EQ(d_pgmid.runTitle, "Orbit check of day 341" + std::string(42, ' ') + " 07-DEC-26 06:05");
}

TEST_F(PrititTest, NoTitleAndIncompleteSession) {
  const std::string out = title("SES_INFO 1 3410\nYR4_INFO 1 \"\"\n");
  EXPECT_EQ(out, "\n ### SR PRITIT: Please enter a title to characterize the program run.\n\n\n" + kEq +
                     "\n Morvane GNSS Software, Version 5.2\n" + kMinus +
                     "\n Program        : FITCHK\n Purpose        : Extract TRJFIT program output\n" +
                     kMinus +
                     "\n Campaign       :\n Default session: unknown\n"
                     " Date           : 07-Dec-2026 06:05:09\n User name      : ${USER}\n" +
                     kEq + "\n\n\n");
  EXPECT_EQ(d_pgmid.runTitle, std::string(64, ' ') + " 07-DEC-26 06:05");
}

TEST_F(PrititTest, FileListingOrder) {
  const std::string longName = "/a/path/that/is/longer/than/32/characters/file.txt";
  testsupport::load_input(
      tmp,
      "DESCR_OUTFIL 1 \"Summary file\"\nOUTFIL 1 \"" + longName + "\"\n"
      "DESCR_SYSOUT 1 \"Program output\"\nSYSOUT 1 \"\"\n"
      "DESCR_SATCRUX 1 \"Satellite problems, a description of more than 32\"\nSATCRUX 1 SAT.CRX\n"
      "DESCR_JOBOUT 1 \"Protocols\"\nJOBOUT 1 \"\"\n"
      "DESCR_CONST 1 \"General constants\"\nCONST 1 CONST.\n");
  const std::string out = testsupport::run_captured(tmp, [] { framework::PRFLNA(); }).console;
  EXPECT_EQ(out,
            " INPUT AND OUTPUT FILENAMES\n " + std::string(26, '-') + "\n\n" + kMinus + "\n" +
                " General constants               : CONST.\n"
                " Satellite problems, a descriptio: SAT.CRX\n"
                " Summary file                    : " + longName.substr(0, 32) + "\n"
                " Protocols                       :  ---\n"
                " Program output                  :  ---\n" +
                kMinus + "\n\n\n");
}

TEST_F(PrititTest, FileListingWithoutDescriptions) {
  testsupport::load_input(tmp, "OUTFIL 1 x\n");
  const std::string out = testsupport::run_captured(tmp, [] { framework::PRFLNA(); }).console;
  EXPECT_EQ(out, " INPUT AND OUTPUT FILENAMES\n " + std::string(26, '-') + "\n\n" + kMinus + "\n" +
                     kMinus + "\n\n\n");
}

}  // namespace
