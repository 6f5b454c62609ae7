#include "input/rplenvar.h"

#include "input/inquire.h"
#include "input/load_input.h"
#include "platform/units.h"

namespace {

using input::RPLENVAR;

class RplenvarTest : public testsupport::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    testsupport::load_input(tmp,
                            "ENVIRONMENT 7\n"
                            "  \"X\" \"/data/\"\n"
                            "  \"D\" \"${X}\"\n"
                            "  \"D\" \"/dir/\"\n"
                            "  \"LONGNAME\" \"L\"\n"
                            "  \"Y\" \"why\"\n"
                            "  \"E\" \"\"\n"
                            "  \"BROKEN\"\n");
  }
};

TEST_F(RplenvarTest, ReferencesResolved) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"${X}orb.std", "/data/orb.std"},
      {"$Xorb.std", "/data/orb.std"},
      {"${D}f", "/dir/f"},           // the line whose value holds "$" is skipped
      {"${LONGNAME}/${Y}", "L/why"},  // the scan goes on after a shorter value
      {"a${E}b", "ab"},               // a blank value removes the reference
      {"a$", "a$"},                   // "$" at the end names nothing
      {"${}x", "${}x"},
      {"x", "x"},
  };
  for (const Case& c : cases) {
    std::string name = c.in;
    const std::string out = testsupport::run_captured(tmp, [&] { RPLENVAR(1, name); }).console;
    EXPECT_EQ(name, c.out) << c.in;
    EXPECT_EQ(out, "") << c.in;
  }
}

TEST_F(RplenvarTest, UnresolvedReferencesPerLevel) {
  std::string name = "${X";
  std::string out = testsupport::run_captured(tmp, [&] { RPLENVAR(1, name); }).console;
  EXPECT_EQ(name, "${X");
  EXPECT_EQ(out, "\n ### SR RPLENVAR: \"}\" is missing in: ${X\n\n");
  name = "${BROKEN}/$Q";
  out = testsupport::run_captured(tmp, [&] { RPLENVAR(1, name); }).console;
  EXPECT_EQ(name, "${BROKEN}/$Q");
  EXPECT_EQ(out,
            "\n ### SR RPLENVAR: Variable BROKEN not resolved in: ${BROKEN}/$Q\n\n"
            "\n ### SR RPLENVAR: Variable Q not resolved in: ${BROKEN}/$Q\n\n");
  out = testsupport::run_captured(tmp, [&] { RPLENVAR(0, name); }).console;
  EXPECT_EQ(out, "");
  const testsupport::RunResult r = testsupport::run_captured(tmp, [&] { RPLENVAR(2, name); });
  EXPECT_EQ(r.status, 1);
  const std::string msg = "\n *** SR RPLENVAR: Variable BROKEN not resolved in: ${BROKEN}/$Q\n\n";
  EXPECT_EQ(r.console.substr(0, msg.size()), msg);
}

TEST_F(RplenvarTest, ResultCutAt255) {
  std::string name = "${X}" + std::string(252, 'a');
  RPLENVAR(0, name);
  EXPECT_EQ(name, "/data/" + std::string(249, 'a'));
}

TEST_F(RplenvarTest, InquireByUnitAndByResolvedName) {
  const std::string path = tmp.file("x.dat");
  testsupport::spit(path, "x\n");
  bool exists = false, opened = true;
  int unit = 0;
  input::INQUIRE(std::nullopt, path, nullptr, &exists, &opened, &unit);
  EXPECT_TRUE(exists);
  EXPECT_FALSE(opened);
  EXPECT_EQ(unit, -1);
  ASSERT_EQ(platform::open_unit(20, path, platform::OpenStatus::Old, true), 0);
  std::string name;
  input::INQUIRE(20, std::nullopt, &name, &exists, &opened, &unit);
  EXPECT_TRUE(opened);
  EXPECT_EQ(name, path);
  EXPECT_EQ(unit, -1);  // not answered by unit
  // The name holds a variable of the ENVIRONMENT table, which a new store
  // has at another place than the one remembered from the first.
  std::string x = "$X";
  RPLENVAR(0, x);
  ASSERT_EQ(input::rplenvarCache.iEnv, 1);
  testsupport::load_input(tmp, "OTHER 1 o\nENVIRONMENT 1 \"T\" \"" + tmp.path() + "\"\n", "env.inp");
  input::INQUIRE(std::nullopt, std::string("${T}/x.dat"), &name, &exists, &opened, &unit);
  EXPECT_TRUE(opened);
  EXPECT_EQ(unit, 20);
  input::INQUIRE(std::nullopt, std::string("${T}/none"), nullptr, &exists, &opened, &unit);
  EXPECT_FALSE(exists);
}

}  // namespace
