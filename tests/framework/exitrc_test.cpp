#include "framework/exitrc.h"

#include <filesystem>
#include <vector>

#include "framework/d_pgmid.h"
#include "framework/m_cpu.h"
#include "framework/m_msglog.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "platform/units.h"
#include "support/test_support.h"

namespace {

using testsupport::run_captured;
using testsupport::spit;

class ExitTest : public testsupport::ModuleTest {
 protected:
  void load(const std::string& text) {
    spit(tmp.file("INP"), text);
    input::READINPF(tmp.file("INP"), input::inpKey);
  }
};

TEST_F(ExitTest, ExitStatusFollowsTheReturnCode) {
  for (auto [code, status] : {std::pair{0, 0}, {1, 0}, {2, 1}, {7, 1}}) {
    testsupport::reset_all_state();
    const auto r = run_captured(tmp, [&] { framework::EXITRC(code); });
    EXPECT_TRUE(r.exited);
    EXPECT_EQ(r.status, status) << code;
    EXPECT_EQ(input::inpKey.status, 3);
  }
}

TEST_F(ExitTest, DeletesListedFilesAfterANormalRun) {
  spit(tmp.file("gone.txt"), "x");
  spit(tmp.file("kept$1.txt"), "x");
  load("OUT 1 \"" + tmp.file("gone.txt") + "\"\nENV 1 \"" + tmp.file("kept$1.txt") +
       "\"\nDELETE_FILES 3\nOUT\n\"" + tmp.file("missing.txt") + "\"\nENV\n");
  framework::d_pgmid.pgmName = "FITCHK";
  const auto r = run_captured(tmp, [] { framework::EXITRC(0); });
  EXPECT_EQ(r.console, "");
  EXPECT_FALSE(std::filesystem::exists(tmp.file("gone.txt")));
  EXPECT_TRUE(std::filesystem::exists(tmp.file("kept$1.txt")));
}

TEST_F(ExitTest, FilesTheRunReadsAreKeptWithAWarning) {
  spit(tmp.file("crux.crx"), "x");
  spit(tmp.file("gone.txt"), "x");
  load("ENVIRONMENT 1 \"D\" \"" + tmp.path() + "\"\nCRX 1 \"${D}/crux.crx\"\nOUT 1 \"" +
       tmp.file("gone.txt") + "\"\nDELETE_FILES 4\nCRX\n\"" + tmp.path() +
       "/./crux.crx\"\n\"${D}/./crux.crx\"\nOUT\n");
  input::inpKey.delFil[0] = tmp.file("crux.crx");  // as the run's open leaves it
  framework::keep_read_files({{"SATCRUX ${D}/crux.crx", tmp.file("crux.crx")}});
  framework::d_pgmid.pgmName = "FITCHK";
  const auto r = run_captured(tmp, [] { framework::EXITRC(0); });
  EXPECT_EQ(r.status, 0) << "a warning";
  EXPECT_TRUE(std::filesystem::exists(tmp.file("crux.crx")));
  EXPECT_FALSE(std::filesystem::exists(tmp.file("gone.txt")));
  const std::string b16(16, ' ');
  const auto warning = [&](const std::string& entry, const std::string& name) {
    return "\n ### SR EXIT_DEL: File not deleted: the run reads it\n" + b16 + "DELETE_FILES: " +
           entry + "\n" + b16 + "File name   : " + name + "\n" + b16 +
           "Read as     : SATCRUX ${D}/crux.crx\n\n";
  };
  // The third entry names it through a variable that no open replaced.
  EXPECT_EQ(r.console, warning("CRX", tmp.file("crux.crx")) +
                           warning(tmp.path() + "/./crux.crx", tmp.path() + "/./crux.crx") +
                           warning("${D}/./crux.crx", tmp.path() + "/./crux.crx"));
}

TEST_F(ExitTest, NothingIsDeletedWhileTheProgramNameIsBlank) {
  spit(tmp.file("gone.txt"), "x");
  load("OUT 1 \"" + tmp.file("gone.txt") + "\"\nDELETE_FILES 1 OUT\n");
  run_captured(tmp, [] { framework::EXITRC(0); });
  EXPECT_TRUE(std::filesystem::exists(tmp.file("gone.txt")));
}

TEST_F(ExitTest, StopsOutsideTheNormalStateAreReported) {
  spit(tmp.file("gone.txt"), "x");
  load("OUT 1 \"" + tmp.file("gone.txt") + "\"\nDELETE_FILES 1 OUT\n");
  framework::d_pgmid.pgmName = "FITCHK";
  input::inpKey.opnBusy = -1;
  auto r = run_captured(tmp, [] { framework::EXITRC(2); });
  EXPECT_EQ(r.console, "\n ### SR EXITRC: PROGRAM HAS BEEN STOPPED IN OPNFIL\n\n");
  EXPECT_TRUE(std::filesystem::exists(tmp.file("gone.txt")));
  input::inpKey.opnBusy = 0;
  r = run_captured(tmp, [] { framework::EXITRC(2); });
  EXPECT_EQ(r.console, "\n ### SR EXITRC: PROGRAM HAS BEEN STOPPED DURING EXITING\n\n");
  framework::d_pgmid.pgmName = "OPTSRV";
  r = run_captured(tmp, [] { framework::EXITRC(2); });
  EXPECT_EQ(r.console, "");
}

TEST_F(ExitTest, ListedFileStillOpenIsDeletedThroughItsUnit) {
  load("OUT 1 \"" + tmp.file("open.txt") + "\"\nDELETE_FILES 1 OUT\n");
  framework::d_pgmid.pgmName = "FITCHK";
  ASSERT_EQ(platform::open_unit(11, tmp.file("open.txt"), platform::OpenStatus::New, false), 0);
  run_captured(tmp, [] { framework::EXITRC(0); });
  EXPECT_FALSE(std::filesystem::exists(tmp.file("open.txt")));
}

TEST_F(ExitTest, AuxiliaryProgramGetsItsReturnCodeRecord) {
  spit(tmp.file("AUX.INP"), "A 1 x   \nPANLAID_IRCODE 1 \"9\"\nB 1 y\n");
  framework::auxInpFil = tmp.file("AUX.INP");
  framework::d_pgmid.pgmName = "PANLAID";
  input::inpKey.status = 2;
  run_captured(tmp, [] { framework::EXITRC(1); });
  EXPECT_EQ(testsupport::slurp(tmp.file("AUX.INP")), "A 1 x\nPANLAID_IRCODE  1  \"2\"\nB 1 y\n");
  framework::auxInpFil.clear();
}

// What the exit hook saw.
struct HookSeen {
  int calls = 0;
  int ircode = -1;
  bool listedFileThere = false;
  std::string listedFile;
};
HookSeen hookSeen;

// Records the call, then fails as a failed write would.
int failing_hook(int ircode) {
  ++hookSeen.calls;
  hookSeen.ircode = hookSeen.calls == 1 ? ircode : hookSeen.ircode;
  hookSeen.listedFileThere = hookSeen.calls == 1 ? std::filesystem::exists(hookSeen.listedFile)
                                                 : hookSeen.listedFileThere;
  return 2;
}

TEST_F(ExitTest, HookRunsOnceBeforeTheListedFilesAreDeleted) {
  hookSeen = HookSeen{};
  hookSeen.listedFile = tmp.file("gone.txt");
  spit(hookSeen.listedFile, "x");
  load("OUT 1 \"" + hookSeen.listedFile + "\"\nDELETE_FILES 1 OUT\n");
  framework::d_pgmid.pgmName = "FITCHK";
  framework::set_exit_hook(failing_hook);
  const auto r = run_captured(tmp, [] { framework::EXITRC(0); });
  EXPECT_EQ(hookSeen.calls, 1) << "its own failure does not call it again";
  EXPECT_EQ(hookSeen.ircode, 0);
  EXPECT_TRUE(hookSeen.listedFileThere);
  EXPECT_FALSE(std::filesystem::exists(hookSeen.listedFile));
  EXPECT_EQ(r.status, 1) << "the hook's failure decides the end";
}

// Records every call and its code; its own writes work.
std::vector<int> hookCodes;
int recording_hook(int ircode) {
  hookCodes.push_back(ircode);
  return ircode;
}

TEST_F(ExitTest, AVerdictLineThatIsLostMakesTheHookTellTheError) {
  hookCodes.clear();
  load("TITLE 1 \"t\"\n");
  framework::d_pgmid.pgmName = "FITCHK";
  framework::CPU_START(true);
  framework::set_exit_hook(recording_hook);
  const auto r = run_captured(tmp, [] {
    platform::set_console_file("/dev/full");  // the console fails at the verdict
    framework::EXITRC(0);
  });
  EXPECT_EQ(hookCodes, (std::vector<int>{0, 2}));
  EXPECT_EQ(r.status, 1);
}

TEST_F(ExitTest, AnErrorMessageWrittenMakesASuccessAnError) {
  struct Case {
    int lfnMsg;
    int unit;  // where the message goes
    const char* head;
    int code;
    int status;
  };
  const Case cases[] = {
      {6, 6, " ### SR X: a warning", 0, 0},       {6, 6, " *** SR X: an error", 0, 1},
      {6, 6, " *** SR X: an error", 1, 1},        {12, 12, " *** SR X: an error", 0, 1},
      {12, 6, " *** SR X: on the console", 0, 1}, {6, 11, " *** SR X: no message unit", 0, 0},
  };
  for (const Case& c : cases) {
    testsupport::reset_all_state();
    hookCodes.clear();
    load("TITLE 1 \"t\"\n");
    framework::d_pgmid.pgmName = "FITCHK";
    framework::CPU_START(true);
    framework::set_exit_hook(recording_hook);
    ASSERT_EQ(platform::open_unit(12, tmp.file("MSG"), platform::OpenStatus::New, false), 0);
    ASSERT_EQ(platform::open_unit(11, tmp.file("AUX"), platform::OpenStatus::New, false), 0);
    framework::m_tolk.lfnMsg = c.lfnMsg;
    const auto r = run_captured(tmp, [&] {
      framework::write_lines(c.unit, {"", c.head, ""});
      framework::EXITRC(c.code);
    });
    const int code = c.status == 0 ? c.code : 2;
    EXPECT_EQ(r.status, c.status) << c.head;
    EXPECT_EQ(hookCodes, std::vector<int>{code}) << c.head;
    EXPECT_NE(r.console.find(c.status == 0 ? ">>> Program finished successfully"
                                           : ">>> Program ended with an error"),
              std::string::npos)
        << c.head;
  }
}

TEST_F(ExitTest, NoHookBeforeTheInputFileIsRead) {
  hookSeen = HookSeen{};
  framework::set_exit_hook(failing_hook);
  input::inpKey.status = 1;
  run_captured(tmp, [] { framework::EXITRC(2); });
  EXPECT_EQ(hookSeen.calls, 0);
}

TEST_F(ExitTest, MessageLinesOfTheMessageUnitAreKept) {
  framework::m_tolk.lfnMsg = 6;  // merged with the program output
  run_captured(tmp, [] {
    framework::write_lines(6, {" THRESHOLD VALUES FOR RMS", "", " ### SR PRITIT: No title   ",
                               "", " GPS   3.0", "", " *** PG FITCHK: FAILED", "     detail", ""});
    framework::write_lines(11, {" *** not the message unit", ""});
  });
  EXPECT_EQ(framework::m_msglog.messages,
            (framework::Messages{{" ### SR PRITIT: No title"},
                                 {" *** PG FITCHK: FAILED", "     detail"}}));
}

}  // namespace
