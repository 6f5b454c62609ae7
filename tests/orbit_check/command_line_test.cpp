#include "orbit_check/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
