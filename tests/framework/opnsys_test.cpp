#include "framework/opnsys.h"

#include <filesystem>

#include "framework/m_tolk.h"
#include "framework/write_line.h"
#include "input/load_input.h"
#include "platform/units.h"

namespace {

namespace fs = std::filesystem;
using framework::m_tolk;

class OpnsysTest : public testsupport::ModuleTest {
 protected:
  // Loads the input lines (with @ standing for the temporary folder), runs
  // OPNSYS, writes one line to each stream and closes all units.
  testsupport::RunResult run(std::string lines) {
    for (std::size_t at; (at = lines.find('@')) != std::string::npos;) lines.replace(at, 1, tmp.path());
    testsupport::load_input(tmp, lines);
    return testsupport::run_captured(tmp, [&] {
      framework::OPNSYS();
      lfnOut = m_tolk.lfnOut;
      lfnMsg = m_tolk.lfnMsg;
      framework::write_line(m_tolk.lfnOut, "output");
      framework::write_line(m_tolk.lfnMsg, "message");
      platform::close_unit(m_tolk.lfnOutFil);
      platform::close_unit(m_tolk.lfnMsgFil);
    });
  }
  std::string file(const std::string& name) { return testsupport::slurp(tmp.file(name)); }
  bool exists(const std::string& name) { return fs::exists(tmp.file(name)); }
  int lfnOut = 0, lfnMsg = 0;
};

TEST_F(OpnsysTest, ConnectionsOfTheTable) {
  struct Case {
    const char* input;
    int lfnOut, lfnMsg;
    const char* console;
    const char* out;  // content of out.txt ("" when missing)
    const char* err;  // content of err.txt
  };
  const Case cases[] = {
      {"SYSOUT 1 \"\"\nSYSERR 1 \"\"\n", 6, 6, "output\nmessage\n", "", ""},
      {"SYSOUT 1 \"@/out.txt\"\n", 998, 998, "", "output\nmessage\n", ""},
      {"SYSOUT 1 \"@/out.txt\"\nSYSERR 1 \"@/err.txt\"\n", 998, 997, "", "output\n", "message\n"},
      {"SYSERR 1 \"@/err.txt\"\n", 6, 997, "output\n", "", "message\n"},
      {"SYSOUT 1 \"@/out.txt\"\nERRMRG 1 1\nSYSERR 1 \"@/err.txt\"\n", 998, 998, "", "output\nmessage\n", ""},
      {"ERRMRG 1 1\nSYSERR 1 \"@/err.txt\"\n", 6, 6, "output\nmessage\n", "", ""},
      {"SYSOUT 1 \"@/out.txt\"\nSYSERR 1 SYSOUT\n", 998, 998, "", "output\nmessage\n", ""},
      {"ERRMRG 1 0\nSYSERR 1 SYSOUT\n", 6, 6, "output\nmessage\n", "", ""},
      {"SYSOUT 1 \"@/out.txt\"\nERRMRG 1 0\nSYSERR 1 \"@/err.txt\"\n", 998, 997, "", "output\n", "message\n"},
  };
  for (const Case& c : cases) {
    testsupport::reset_all_state();
    const testsupport::RunResult r = run(c.input);
    EXPECT_FALSE(r.exited) << c.input;
    EXPECT_EQ(lfnOut, c.lfnOut) << c.input;
    EXPECT_EQ(lfnMsg, c.lfnMsg) << c.input;
    EXPECT_EQ(r.console, c.console) << c.input;
    EXPECT_EQ(file("out.txt"), c.out) << c.input;
    EXPECT_EQ(file("err.txt"), c.err) << c.input;
    EXPECT_EQ(exists("err.txt"), *c.err != '\0') << c.input;
    fs::remove(tmp.file("out.txt"));
    fs::remove(tmp.file("err.txt"));
  }
}

TEST_F(OpnsysTest, OldFilesStartEmpty) {
  testsupport::spit(tmp.file("out.txt"), "old output\n");
  testsupport::spit(tmp.file("err.txt"), "old messages\n");
  run("SYSOUT 1 \"@/out.txt\"\nSYSERR 1 \"@/err.txt\"\n");
  EXPECT_EQ(file("out.txt"), "output\n");
  EXPECT_EQ(file("err.txt"), "message\n");
  testsupport::spit(tmp.file("err.txt"), "old messages\n");
  run("ERRMRG 1 0\nSYSERR 1 \"@/err.txt\"\n");
  EXPECT_EQ(file("err.txt"), "message\n");
}

TEST_F(OpnsysTest, StandardInputReplaced) {
  testsupport::spit(tmp.file("in.txt"), "first line\n");
  std::string line;
  testsupport::load_input(tmp, "SYSINP 1 \"" + tmp.file("in.txt") + "\"\n");
  testsupport::run_captured(tmp, [&] {
    framework::OPNSYS();
    platform::read_record(m_tolk.lfnStdIn, line);
  });
  EXPECT_EQ(line, "first line");
}

TEST_F(OpnsysTest, DefaultNameWarning) {
  const std::string warning =
      "\n ### SR OPNSYS: Special program output requested, but default file name found.\n"
      "                Program output: " + tmp.path() + "/out.L01\n\n";
  struct Case {
    const char* input;
    bool warns;
  };
  const Case cases[] = {
      {"SYSOUT 1 \"@/out.L01\"\nSYSODEF 1 0\n", true},
      {"SYSOUT 1 \"@/out.L01\"\nSYSODEF 1 1\n", false},
      {"SYSOUT 1 \"@/out.LOG\"\nSYSODEF 1 0\n", false},
      {"SYSOUT 1 \"@/out.L01\"\n", false},
  };
  for (const Case& c : cases) {
    testsupport::reset_all_state();
    run(c.input);
    const std::string out = file(exists("out.L01") ? "out.L01" : "out.LOG");
    EXPECT_EQ(out, (c.warns ? warning : "") + "output\nmessage\n") << c.input;
    fs::remove(tmp.file("out.L01"));
    fs::remove(tmp.file("out.LOG"));
  }
}

TEST_F(OpnsysTest, BadCheckBoxOrMissingErrorFileEndsTheRun) {
  testsupport::RunResult r = run("ERRMRG 1 2\nSYSERR 1 SYSOUT\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.console.find(" *** SR CKOPTI: The value for keyword \"ERRMRG\" exceeds the range.\n"),
            std::string::npos);
  EXPECT_NE(r.console.find("Option:      Merge program messages into output\n"), std::string::npos);
  testsupport::reset_all_state();
  r = run("ERRMRG 1 0\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.console.find("\n *** SR GTFLNA: File name not found or blank\n"
                           "                Keyword:  SYSERR\n\n"),
            std::string::npos);
}

}  // namespace
