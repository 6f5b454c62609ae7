#include "orbit_check/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

namespace {

TEST(CommandLineTest, OnlyTheSingleRequestWordsAreAnswered) {
  EXPECT_EQ(orbit_check::information_text({"--version"}), "fitchk (FITCHK, Morvane GNSS Software) 5.2\n");
  for (const char* help : {"--help", "-h"}) {
    const auto text = orbit_check::information_text({help});
    ASSERT_TRUE(text);
    EXPECT_EQ(text->rfind("Usage: fitchk INPUT-FILE\n", 0), 0u);
    EXPECT_NE(text->find("  JSONFIL       results of the run, JSON (optional)\n"), std::string::npos);
  }
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"FITCHK.INP"}, {"--help", "x"}, {"-help"}, {"--HELP"}}) {
    EXPECT_FALSE(orbit_check::information_text(args)) << args.size();
  }
}

TEST(CommandLineTest, AnOptionOutOfPlaceWithoutSuchAFileGetsTheUsage) {
  testsupport::TempDir tmp;
  testsupport::spit(tmp.file("case -odd"), "");
  const std::string usage =
      "Usage: fitchk INPUT-FILE\n"
      "       fitchk --check INPUT-FILE\n"
      "       fitchk --help | -h | --version\n";
  const std::string inp = tmp.file("CASE.INP");
  EXPECT_EQ(orbit_check::call_hint({inp, "--check"}),
            "fitchk: no input file \"" + inp +
                " --check\" (the arguments are joined with blanks into one name)\n"
                "To check the input file, write the option first: fitchk --check " + inp + "\n" +
                usage);
  EXPECT_EQ(orbit_check::call_hint({"-v"}), "fitchk: no input file \"-v\"\n" + usage);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {inp}, {"my", "case.inp"}, {tmp.file("case"), "-odd"}}) {
    EXPECT_FALSE(orbit_check::call_hint(args)) << "no option, or an existing file";
  }
}

}  // namespace
