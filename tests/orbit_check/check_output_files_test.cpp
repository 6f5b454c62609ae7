#include "orbit_check/check_output_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "input/load_input.h"
#include "support/test_support.h"

namespace {

using orbit_check::OutputNames;
using testsupport::run_captured;
using testsupport::spit;

const std::string B16(16, ' ');

class CheckOutputFilesTest : public testsupport::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    load();
    spit(tmp.file("a.prt"), "protocol\n");
    spit(tmp.file("b.prt"), "protocol\n");
    spit(tmp.file("sat.crx"), "problems\n");
    ASSERT_EQ(symlink("sat.crx", tmp.file("link.crx").c_str()), 0);
    spit(tmp.file("old.sum"), "summary\n");
    ASSERT_EQ(link(tmp.file("old.sum").c_str(), tmp.file("hard.wek").c_str()), 0);
    ASSERT_EQ(symlink("new.sum", tmp.file("link.wek").c_str()), 0);
  }
  // The input file, loaded afresh (the end of a run leaves the store closed).
  void load() {
    inpFil = testsupport::load_input(
        tmp, "ENVIRONMENT 2\n  \"P\" \"" + tmp.path() + "\"\n  \"X\" \"x\"\n");
  }
  std::string inpFil;
};

TEST_F(CheckOutputFilesTest, FirstClashEndsTheRun) {
  const std::vector<std::string> protocols = {"${P}/a.prt", "${P}/gone.prt", "${P}/b.prt"};
  const std::string crx = "${P}/sat.crx";
  struct Case {
    OutputNames names;
    std::vector<std::string> message;  // empty: no clash
  };
  const auto overwrite = [](const std::string& out, const std::string& in) {
    return std::vector<std::string>{
        " *** PG FITCHK: Output file would overwrite an input file of the run",
        B16 + "Output file: " + out, B16 + "Input file : " + in};
  };
  const Case cases[] = {
      {{"${P}/./b.prt", "", ""}, overwrite("OUTFIL ${P}/./b.prt", "${P}/b.prt")},
      {{"${P}/s.sum", "${P}/link.crx", ""}, overwrite("WEEKFM ${P}/link.crx", crx)},
      {{"${P}/s.sum", "", inpFil}, overwrite("ASPLIT " + inpFil, inpFil)},
      // Outputs in turn, each against the inputs in their order.
      {{"${P}/sat.crx", "${P}/a.prt", ""}, overwrite("OUTFIL ${P}/sat.crx", crx)},
      {{"${P}/s.sum", "${P}/w.wek", "${P}/sub/../w.wek"},
       {" *** PG FITCHK: Two output files name the same file",
        B16 + "Output file: WEEKFM ${P}/w.wek", B16 + "Output file: ASPLIT ${P}/sub/../w.wek"}},
      // The picture and the results, replaced at the end of every run.
      {{"${P}/s.sum", "", "", "", "${P}/link.crx"}, overwrite("JSONFIL ${P}/link.crx", crx)},
      {{"${P}/s.sum", "", "", "${P}/s.sum"},
       {" *** PG FITCHK: Two output files name the same file",
        B16 + "Output file: OUTFIL ${P}/s.sum", B16 + "Output file: PLOTFIL ${P}/s.sum"}},
      // Two hard links of one file; a device is written without replacing anything.
      {{"${P}/old.sum", "${P}/hard.wek", ""},
       {" *** PG FITCHK: Two output files name the same file",
        B16 + "Output file: OUTFIL ${P}/old.sum", B16 + "Output file: WEEKFM ${P}/hard.wek"}},
      {{"/dev/null", "/dev/null", "${P}/s.sum", "", "", "/dev/null"}, {}},
      // A link to a file that does not exist yet is that file.
      {{"${P}/new.sum", "${P}/link.wek", ""},
       {" *** PG FITCHK: Two output files name the same file",
        B16 + "Output file: OUTFIL ${P}/new.sum", B16 + "Output file: WEEKFM ${P}/link.wek"}},
      // The program output and the message file come first.
      {{"${P}/s.sum", "", "", "", "", "${P}/x.log", "${P}/link.crx"},
       overwrite("SYSERR ${P}/link.crx", crx)},
      // A missing input and an unknown variable: no clash, no message.
      {{"${P}/gone.prt", "${Q}/a.prt", "${P}/s.sum"}, {}},
  };
  for (const Case& c : cases) {
    load();
    const auto r = run_captured(
        tmp, [&] { orbit_check::check_output_files(c.names, inpFil, protocols, crx); });
    std::string expected;
    for (const std::string& line : c.message) expected += "\n" + line;
    if (!c.message.empty()) expected += "\n\n";
    EXPECT_EQ(r.exited, !c.message.empty()) << c.names.outFil;
    EXPECT_EQ(r.console.substr(0, expected.size()), expected) << c.names.outFil;
    if (c.message.empty()) {
      EXPECT_EQ(r.console, "");
    }
  }
}

TEST_F(CheckOutputFilesTest, TheRunsConsoleFileIsAnOutput) {
  const std::string log = tmp.file("run.log");
  const int saved = dup(2);
  const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  ASSERT_GE(fd, 0);
  dup2(fd, 2);
  close(fd);
  OutputNames names{"${P}/s.sum", "", "", "", "", "", "/dev/stderr"};
  const auto r = run_captured(tmp, [&] { orbit_check::check_output_files(names, inpFil, {}, ""); });
  names.console = true;
  const auto c = run_captured(tmp, [&] { orbit_check::check_output_files(names, inpFil, {}, ""); });
  dup2(saved, 2);
  close(saved);
  EXPECT_FALSE(r.exited) << "another process's console: " << r.console;
  EXPECT_TRUE(c.exited);
  EXPECT_EQ(c.console.substr(0, c.console.find("\n\n") + 2),
            "\n *** PG FITCHK: Two output files name the same file\n" + B16 +
                "Output file: SYSERR /dev/stderr\n" + B16 + "Output file: standard error (" + log +
                ")\n\n");
}

}  // namespace
