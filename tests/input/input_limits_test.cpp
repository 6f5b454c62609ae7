// Input files that try to take the machine's memory: huge value counts and
// lines without an end.
#include <string>
#include <vector>

#include "input/d_inpkey.h"
#include "support/test_support.h"

namespace {

class InputLimitsTest : public testsupport::ModuleTest {
 protected:
  // Each load reads a file of its own name, so that the store is rebuilt.
  testsupport::RunResult load(const std::string& text) {
    const std::string name = tmp.file("INP" + std::to_string(++loads_));
    testsupport::spit(name, text);
    return testsupport::run_captured(tmp, [&] { input::READINPF(name, input::inpKey); });
  }

 private:
  int loads_ = 0;
};

// Found by fuzzing: a count of 100 000 000 allocated 3.2 GB of blank values
// (a crash where the allocator cannot fail softly, as under ASan).
TEST_F(InputLimitsTest, CountsBeyondTheArrayLimitAreFailedAllocations) {
  for (const char* count : {"50000000", "2147483647"}) {
    const auto r = load(std::string("A 1 x\nBIG ") + count + "\nv1\n");
    EXPECT_TRUE(r.exited) << count;
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.console.find(" *** SR ALCERR: ALLOCATION OF AN ARRAY FAILED\n"
                             "                VARIABLE NAME : inpKey%keys(ikey)%value\n"),
              std::string::npos)
        << r.console;
  }
  EXPECT_NE(load("BIG 50000000\n").console.find("SIZE OF ARRAY : (50000000)"), std::string::npos);
}

TEST_F(InputLimitsTest, LargeCountsWithinTheLimitGiveBlankValues) {
  const auto r = load("BIG 1000000\nv1\n");
  ASSERT_FALSE(r.exited) << r.console;
  std::vector<std::string> v;
  int irc = 1;
  input::READKEYS("BIG", v, irc);
  ASSERT_EQ(v.size(), 1000000u);
  EXPECT_EQ(v.front(), "v1");
  EXPECT_EQ(v.back(), "");
}

TEST_F(InputLimitsTest, EndlessLinesAreCutAtTheirColumns) {
  const auto r = load("A 1 " + std::string(3000000, 'x') + "\r\nB 1 \"" + std::string(251, 'y') +
                      "\r\n");
  ASSERT_FALSE(r.exited) << r.console;
  std::vector<std::string> v;
  int irc = 1;
  input::READKEYS("A", v, irc);
  EXPECT_EQ(v, std::vector<std::string>{std::string(251, 'x')});
  input::READKEYS("B", v, irc);
  EXPECT_EQ(v, std::vector<std::string>{std::string(250, 'y')});
}

}  // namespace
