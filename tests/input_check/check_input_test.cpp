#include "input_check/check_input.h"

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "support/test_support.h"

namespace {

using testsupport::slurp;
using testsupport::spit;

const std::string kData =
    std::filesystem::path(__FILE__).parent_path().parent_path().string() + "/data/";

// Lines 1-13; P is the test's folder (written as TMP in the expected lines).
const std::string kBase =
    "ENVIRONMENT 2\n"
    "  \"P\" \"TMP\"\n"
    "  \"USER\" \"test\"\n"
    "RADIO_1 1 \"1\"\n"
    "JOBOUT 1 \"${P}/two.prt\"\n"
    "OUTFIL 1 \"${P}/out/F.SUM\"\n"
    "ASPLIT 1 \"${P}/out/A.LST\"\n"
    "SATCRUX 1 \"${P}/SAT.CRX\"\n"
    "TOL_RMS 1 \"0.5\"\n"
    "FAC_GPS 1 \"3\"\n"
    "FAC_GLO 1 \"3\"\n"
    "LIM_GPS 1 \"0.1\"\n"
    "LIM_GLO 1 \"0.1\"\n";

struct Case {
  const char* what;
  std::vector<std::pair<std::string, std::string>> edits;  // text replaced in kBase
  std::string appended;                                     // from line 14 on
  std::vector<std::string> expected;                        // lines of the report
  int status;
};

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t p = text.find(from); p != std::string::npos; p = text.find(from, p + to.size())) {
    text.replace(p, from.size(), to);
  }
  return text;
}

class CheckInputTest : public testsupport::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    spit(tmp.file("two.prt"), slurp(kData + "protocols/trjfit_two_outliers.prt"));
    spit(tmp.file("three.prt"), slurp(kData + "protocols/trjfit_3day_layout_b.prt"));
    spit(tmp.file("SAT.CRX"), slurp(kData + "satcrux/SATCRUX.CRX"));
    spit(tmp.file("cut.prt"), slurp(kData + "protocols/trjfit_modern_cut_120.prt"));
    spit(tmp.file("empty.prt"), "");
    const std::string two = slurp(kData + "protocols/trjfit_two_outliers.prt");
    spit(tmp.file("head.prt"), two.substr(0, two.find(" ARC  START")));  // no arc table
    spit(tmp.file("notes.txt"), "Orbit fits of day 127: fine\n");
    spit(tmp.file("z.gz"), std::string("\x1F\x8B\x08\x00\x00\x00\x00\x00", 8));
    std::filesystem::create_symlink("two.prt", tmp.file("link.prt"));
    // Problem files the run cannot add records to: records up to the end of
    // the file, and no write permission bit.
    std::string full = slurp(kData + "satcrux/SATCRUX.CRX");
    full.erase(full.find("\n\n") + 1);
    spit(tmp.file("full.crx"), full);
    spit(tmp.file("ro.crx"), slurp(kData + "satcrux/SATCRUX.CRX"));
    std::filesystem::permissions(tmp.file("ro.crx"), std::filesystem::perms::owner_read);
    spit(tmp.file("TWO.CRX"), slurp(kData + "satcrux/SATCRUX.CRX"));
    std::filesystem::create_hard_link(tmp.file("TWO.CRX"), tmp.file("TWO-LINK.CRX"));
    std::filesystem::create_directory(tmp.file("out"));
    std::filesystem::create_directory(tmp.file("dir.prt"));
    ASSERT_EQ(mkfifo(tmp.file("p.fifo").c_str(), 0600), 0);
    // A comment typed in among the records, at line 9.
    std::string crx = slurp(kData + "satcrux/SATCRUX.CRX");
    std::size_t at = 0;
    for (int n = 0; n < 8; ++n) at = crx.find('\n', at) + 1;
    spit(tmp.file("hand.crx"), crx.insert(at, "! checked by hand\n"));
    // A link to the summary, which does not exist yet.
    std::filesystem::create_symlink("F.SUM", tmp.file("out/link.wek"));
    // Links that lead in a circle.
    std::filesystem::create_symlink("loop2", tmp.file("out/loop1"));
    std::filesystem::create_symlink("loop1", tmp.file("out/loop2"));
  }
  // The report with the folder written as TMP, the current folder as CWD,
  // and the exit status.
  std::pair<std::string, int> check(const std::string& text) {
    testsupport::reset_all_state();
    spit(tmp.file("test.inp"), replaced(text, "TMP", tmp.path()));
    std::string report;
    const int status = input_check::CHECK_INPUT(tmp.file("test.inp"), report);
    report = replaced(replaced(report, tmp.file("test.inp"), "F"), tmp.path(), "TMP");
    return {replaced(report, std::filesystem::current_path().string(), "CWD"), status};
  }
};

TEST_F(CheckInputTest, BrokenInputFiles) {
  const std::string longTitle = "TITLE 1 \"" + std::string(250, 'x') + "\" tail";
  const std::string longName(250, 'n');
  const Case cases[] = {
      {"clean", {}, "",
       {"F:5: note: JOBOUT: the run reads TMP/two.prt",
        "F:5: note: protocol: arc 2013-05-06 00:00:00 to 2013-05-08 00:00:00 (2 days), 30 "
        "satellites, 30 RMS values read",
        "F:7: note: the run makes the arc splitting (one protocol of a 2-day arc, ASPLIT named); "
        "split day 2013-05-07",
        "F:8: note: SATCRUX: the run may add arc-split records to the problem file",
        "F: 0 errors, 0 warnings"},
       0},
      // Lines.
      // What editors write.
      {"byte-order mark", {{"ENVIRONMENT 2", "\xEF\xBB\xBF" "ENVIRONMENT 2"}}, "",
       {"F:1: note: the file begins with a UTF-8 byte-order mark (some editors write one): the run "
        "reads past it",
        "F: 0 errors, 0 warnings"},
       0},
      {"tabs", {{"JOBOUT 1 \"", "JOBOUT\t1\t\""}, {"TOL_RMS 1", "TOL_RMS\t1"}, {"  \"USER\"", "\t\"USER\""}},
       "",
       {"F: 0 errors, 0 warnings"},
       0},
      {"typographic quotes",
       {{"\"${P}/out/F.SUM\"", "\u201C${P}/out/F.SUM\u201D"},
        {"\"USER\" \"test\"", "\u201CUSER\u201D \u201Ctest\u201D"}},
       "",
       {"F:3: warning: ENVIRONMENT: the run takes the typographic quotes for characters of the "
        "value and reads \"\u201CUSER\u201D\", cut at the blank; write \"USER\" \"test\" (plain "
        "double quotes)",
        "F:6: warning: OUTFIL: the run takes the typographic quotes for characters of the value "
        "and reads \"\u201C${P}\", cut at the \"/\"; write OUTFIL 1 \"${P}/out/F.SUM\" (plain double "
        "quotes)"},
       1},
      {"ENVIRONMENT value unquoted", {{"\"USER\" \"test\"", "\"USER\" test"}}, "",
       {"F:3: warning: ENVIRONMENT: the run takes \"USER\" alone from this line, which defines no "
        "variable (the name and the value each need double quotes); write \"USER\" \"test\"",
        "F: 0 errors, 1 warning"},
       0},
      {"output through links in a circle", {}, "PLOTFIL 1 \"${P}/out/loop1\"\n",
       {"F:14: error: PLOTFIL: cannot write TMP/out/loop1: its links lead in a circle (from "
        "\"${P}/out/loop1\", P = TMP)"},
       1},
      {"count 1, value below", {{"JOBOUT 1 \"${P}/two.prt\"", "JOBOUT 1\n  \"${P}/two.prt\""}}, "",
       {"F:5: warning: the count 1 takes the value from this line, which has none; line 6 is read "
        "as a keyword line (write JOBOUT 1 \"value\" on one line, or the number of value lines)",
        "F:6: error: the run cannot decode this keyword line (no count after \"${P}/two.prt\") and "
        "stops with \"Error decoding keyword line\"",
        "F: 1 error, 1 warning"},
       1},
      {"count not a number", {}, "WEEKFM x \"a\"\n",
       {"F:14: error: the run cannot decode this keyword line (the count \"x\" is not a whole "
        "number) and stops with \"Error decoding keyword line\""},
       1},
      {"count takes keyword lines", {{"TOL_RMS 1 \"0.5\"", "TOL_RMS 2 \"0.5\""}}, "",
       {"F:9: warning: the count 2 takes the next 2 lines as values of TOL_RMS; they look like "
        "keyword lines (FAC_GPS, FAC_GLO)",
        "F: error: FAC_GPS is missing: the run reports \"Keyword \"FAC_GPS\" not found.\" and takes "
        "0 (GPS is not edited)"},
       1},
      {"unquoted value cut", {{"\"${P}/out/F.SUM\"", "${P}/out/F.SUM"}}, "",
       {"F:6: warning: OUTFIL: the run reads \"${P}\" (an unquoted value ends at the \"/\"; "
        "\"/out/F.SUM\" is dropped); write OUTFIL 1 \"${P}/out/F.SUM\"",
        "F:6: error: OUTFIL: TMP is a folder (from \"${P}\", P = TMP)"},
       1},
      {"long line", {}, longTitle + "\n",
       {"F:14: warning: the line has 265 characters; the run reads the first 255 and drops "
        "\"xxxx\" tail\""},
       0},
      {"given twice", {}, "FAC_GPS 1 \"4\"\n",
       {"F:14: warning: FAC_GPS is given again (first at line 10): the run reads the first"}, 0},
      {"typo", {{"FAC_GPS", "FAC_GSP"}}, "TOL-RMS 1 \"1\"\nDESCR_FAC_GPS 1 \"x\"\nRADIO_2 1 \"0\"\n",
       {"F:10: warning: FAC_GSP is not a keyword of FITCHK; did you mean FAC_GPS?",
        "F:14: warning: TOL-RMS is not a keyword of FITCHK; did you mean TOL_RMS?",
        "F: 1 error, 2 warnings"},
       1},
      // Options.
      {"options",
       {{"\"0.5\"", "\"0.1 m\""}, {"FAC_GLO 1 \"3\"", "FAC_GLO 1 \"x\""},
        {"LIM_GPS 1 \"0.1\"", "LIM_GPS 1 \"0,1\""}, {"LIM_GLO 1 \"0.1\"", "LIM_GLO 1 \"\""}},
       "FAC_GAL 1 \"0\"\nLIM_QZS 1 \"-2\"\n",
       {"F:9: warning: TOL_RMS \"0.1 m\": the run reads 0.1 (the rest \"m\" is ignored)",
        "F:11: error: FAC_GLO \"x\" is not a number: the run reports \"A real string is expected "
        "for keyword \"FAC_GLO\"\" and takes 0 (GLONASS is not edited)",
        "F:12: warning: LIM_GPS \"0,1\": the run reads 0 (the number ends at the comma; write 0.1)",
        "F:13: note: LIM_GLO is empty: the run takes 0 (no lower limit)",
        "F:14: error: FAC_GAL \"0\" is out of range (value > 0): the run reports \"The value for "
        "keyword \"FAC_GAL\" exceeds the range.\" and keeps 0",
        "F:15: error: LIM_QZS \"-2\" is out of range (value >= 0): the run reports \"The value for "
        "keyword \"LIM_QZS\" exceeds the range.\" and keeps -2",
        "F: 3 errors, 2 warnings"},
       1},
      {"millimetres", {{"\"0.5\"", "\"50\""}, {"LIM_GPS 1 \"0.1\"", "LIM_GPS 1 \"100\""}}, "",
       {"F:9: warning: TOL_RMS \"50\": the run takes 50 m, far above an orbit fit's RMS (centimetres "
        "to decimetres); for 50 mm write 0.05",
        "F:12: warning: LIM_GPS \"100\": the run takes 100 m, far above an orbit fit's RMS "
        "(centimetres to decimetres); for 100 mm write 0.1",
        "F: 0 errors, 2 warnings"},
       0},
      {"edit rule not allowed", {}, "EDIT_RULE 1 \"median\"\n",
       {"F:14: error: EDIT_RULE \"median\" is not allowed (\"MEAN\" or \"MEDIAN\"): the run "
        "reports \"The value for keyword \"EDIT_RULE\" is not allowed.\" and takes MEAN (write "
        "\"MEDIAN\": upper case)",
        "F: 1 error, 0 warnings"},
       1},
      // 6 GLONASS satellites with factor 6: the mean rule is blind, the median is not.
      {"mean rule blind", {{"FAC_GLO 1 \"3\"", "FAC_GLO 1 \"6\""}}, "",
       {"F:11: warning: FAC_GLO 6: GLONASS has 6 satellites in the protocol, no more than the "
        "factor: with the mean rule none can reach factor x mean RMS, and the run warns; use a "
        "factor below 6 with a lower limit (LIM_GLO), or EDIT_RULE \"MEDIAN\"",
        "F: 0 errors, 1 warning"},
       0},
      {"median rule", {{"FAC_GLO 1 \"3\"", "FAC_GLO 1 \"6\""}}, "EDIT_RULE 1 \"MEDIAN\"\n",
       {"F:7: note: the run makes the arc splitting (one protocol of a 2-day arc, ASPLIT named); "
        "split day 2013-05-07; EDIT_RULE MEDIAN",
        "F: 0 errors, 0 warnings"},
       0},
      {"radio", {{"RADIO_1 1 \"1\"", "RADIO_1 1 \"2\""}}, "",
       {"F:4: error: RADIO_1 \"2\" is neither \"1\" nor \"0\": no protocol will be read",
        "F:7: error: no arc splitting and no tolerance check: arc splitting needs exactly one "
        "protocol file; the run has 0 (leave ASPLIT empty for the tolerance check)"},
       1},
      {"check box", {}, "ERRMRG 1 \"yes\"\n",
       {"F:14: error: ERRMRG \"yes\" is neither \"1\" nor \"0\": the run stops at the start with "
        "return code 2"},
       1},
      // SYSODEF is read only for a SYSOUT name.
      {"check box unread", {}, "SYSODEF 1 \"yes\"\n", {"F: 0 errors, 0 warnings"}, 0},
      {"check box read", {}, "SYSOUT 1 \"${P}/out/RUN.L01\"\nSYSODEF 1 \"yes\"\n",
       {"F:15: error: SYSODEF \"yes\" is neither \"1\" nor \"0\": the run stops at the start with "
        "return code 2"},
       1},
      {"description of a missing keyword", {}, "DESCR_WEEKFM 1 \"Week summary\"\n",
       {"F:14: error: DESCR_WEEKFM: WEEKFM is missing: the run's file listing reports \"Keyword "
        "\"WEEKFM\" not found.\" and the run ends with an error; write WEEKFM 1 \"\" or take out "
        "DESCR_WEEKFM",
        "F: 1 error, 0 warnings"},
       1},
      // Files.
      {"files",
       {{"${P}/two.prt", "${P}/gone.prt"}, {"${P}/out/A.LST", "${Q}/A.LST"},
        {"${P}/out/F.SUM", "${P}/new/F.SUM"}},
       "",
       {"F:5: error: JOBOUT: cannot read TMP/gone.prt: no such file (from \"${P}/gone.prt\", P = TMP)",
        "F:6: note: OUTFIL: the run writes TMP/new/F.SUM",
        "F:6: error: OUTFIL: no such folder: TMP/new (from \"${P}/new/F.SUM\", P = TMP)",
        "F:7: error: ASPLIT: ENVIRONMENT does not define the variable Q; the run opens "
        "\"${Q}/A.LST\""},
       1},
      {"protocol is a folder", {{"${P}/two.prt", "${P}/dir.prt"}}, "",
       {"F:5: error: JOBOUT: cannot read TMP/dir.prt: is a folder (from \"${P}/dir.prt\", P = TMP)"}, 1},
      {"output overwrites an input", {{"${P}/out/F.SUM", "${P}/./two.prt"}}, "WEEKFM 1 \"${P}/out/A.LST\"\n",
       {"F:6: error: OUTFIL: the run stops with \"Output file would overwrite an input file of the "
        "run\" (Input file : ${P}/two.prt)",
        "F:14: error: WEEKFM: the run stops with \"Two output files name the same file\" (Output "
        "file: ASPLIT ${P}/out/A.LST)"},
       1},
      {"output overwrites an input: SYSOUT", {}, "SYSOUT 1 \"${P}/SAT.CRX\"\n",
       {"F:14: error: SYSOUT: the run stops with \"Output file would overwrite an input file of the "
        "run\" (Input file : ${P}/SAT.CRX)"},
       1},
      // A line cut, a name too long with its variables, a delete-list entry cut.
      {"names the run refuses",
       {{"F.SUM", longName},
        {"\"test\"", "\"" + std::string(200, 'u') + "\""},
        {"${P}/two.prt", "${USER}/${USER}"}},
       "DELETE_FILES 1 \"" + longName + "/" + longName + "\"\n",
       {"F:5: error: JOBOUT: the run refuses the name and stops with \"File name too long\" before "
        "it opens any file (with its variables replaced it has 401 characters, at most 255 fit)",
        "F:6: error: OUTFIL: the run refuses the name and stops with \"File name too long\" before "
        "it opens any file (its line has 270 characters and cuts it at 255)",
        "F:14: error: DELETE_FILES: the run refuses the name and stops with \"File name too long\" "
        "before it opens any file (its line has 518 characters and cuts it at 255)",
        "F: 3 errors, 0 warnings"},
       1},
      {"an input deleted", {},
       "DELETE_FILES 4\n  \"SATCRUX\"\n  \"${P}/./two.prt\"\n  \"OUTFIL\"\n  \"${P}/test.inp\"\n",
       {"F:14: note: DELETE_FILES: the run deletes TMP/out/F.SUM at its end",
        "F:15: error: DELETE_FILES: the run does not delete TMP/SAT.CRX, which it reads (SATCRUX), "
        "and warns; take \"SATCRUX\" off the list",
        "F:16: error: DELETE_FILES: the run does not delete TMP/two.prt, which it reads (JOBOUT), "
        "and warns; take \"${P}/./two.prt\" off the list",
        "F:18: error: DELETE_FILES: the run does not delete F, which it reads (the input file), and "
        "warns; take \"${P}/test.inp\" off the list",
        "F: 3 errors, 0 warnings"},
       1},
      {"a variable in a name the run opens no file of", {},
       "DELETE_FILES 2\n  \"${P}/old.tmp\"\n  \"OUTFIL\"\n",
       {"F:14: note: DELETE_FILES: the run deletes TMP/out/F.SUM at its end",
        "F:15: warning: DELETE_FILES: the run does not delete TMP/old.tmp: it replaces the "
        "variables of an entry only where it opens a file of that name, and it opens none of "
        "\"${P}/old.tmp\"; write \"TMP/old.tmp\"",
        "F: 0 errors, 1 warning"},
       0},
      {"relative names, run in another folder",
       {{"\"USER\" \"test\"", "\"R\" \"rel\""}, {"${P}/out/A.LST", "${R}/A.LST"}},
       "WEEKFM 1 \"W.WEK\"\n",
       {"F:3: warning: ENVIRONMENT: R = \"rel\" is a relative folder: the names that use it (ASPLIT) "
        "resolve from the current folder CWD, not from the input file's folder TMP",
        "F:14: warning: WEEKFM: \"W.WEK\" is relative: the run resolves it from the current folder "
        "CWD, not from the input file's folder TMP"},
       1},
      {"protocol is a FIFO", {{"two.prt", "p.fifo"}}, "",
       {"F:5: note: protocol: TMP/p.fifo is a FIFO: the run reads it, the check does not",
        "F:7: note: the check the run makes depends on the protocol, which the check does not read"},
       0},
      {"problem file without a place for records", {{"${P}/SAT.CRX", "${P}/full.crx"}}, "",
       {"F:8: error: SATCRUX: the problem file has no place for arc-split records (no line from line "
        "7 on begins with 6 blanks): an arc split the run finds is not recorded and ends the run "
        "with an error",
        "F: 1 error, 0 warnings"},
       1},
      {"problem file without a write permission bit", {{"${P}/SAT.CRX", "${P}/ro.crx"}}, "",
       {"F:8: error: SATCRUX: the run cannot update the problem file (TMP/ro.crx has no write "
        "permission bit, which the run respects also for root): an arc split the run finds is not "
        "recorded and ends the run with an error"},
       1},
      {"problem file with a line the reader stops at", {{"${P}/SAT.CRX", "${P}/hand.crx"}}, "",
       {"F:8: warning: SATCRUX: line 9 of the problem file is no record: columns 1-5 (satellite "
        "number) hold no integer; the run reads no record after it and puts its arc-split records "
        "before it",
        "F: 0 errors, 1 warning"},
       0},
      {"output to the console", {}, "SYSOUT 1 \"/dev/stdout\"\n",
       {"F:14: note: SYSOUT: the run writes its standard output (/dev/stdout)",
        "F:14: warning: SYSOUT: \"/dev/stdout\" is the run's standard output: where that goes to "
        "a regular file (a log), the run stops with \"Two output files name the same file\"; a "
        "terminal, a pipe or /dev/null take the output",
        "F: 0 errors, 1 warning"},
       0},
      {"two outputs through a link to a file not yet written", {},
       "WEEKFM 1 \"${P}/out/link.wek\"\n",
       {"F:14: note: WEEKFM: the run writes TMP/out/F.SUM",
        "F:6: error: OUTFIL: the run stops with \"Two output files name the same file\" (Output "
        "file: WEEKFM ${P}/out/link.wek)"},
       1},
      {"problem file missing", {{"${P}/SAT.CRX", "${P}/NO.CRX"}}, "",
       {"F:8: error: SATCRUX: cannot read TMP/NO.CRX: no such file (the run stops in the arc "
        "splitting)"},
       1},
      {"problem file of two names", {{"${P}/SAT.CRX", "${P}/TWO.CRX"}}, "",
       {"F:8: error: SATCRUX: the run does not update a problem file of 2 names (hard links): "
        "TMP/TWO.CRX; give it one name (a symbolic link may lead to it)"},
       1},
      // Which check the run makes.
      {"tolerance check", {{"\"${P}/out/A.LST\"", "\"\""}}, "",
       {"F:9: note: the run makes the tolerance check on the last protocol: largest RMS 0.231 m "
        "(satellite 19) against TOL_RMS 0.5 m",
        "F:8: note: SATCRUX: the run does not change the problem file (no arc splitting)"},
       0},
      {"problem file a FIFO", {{"${P}/SAT.CRX", "${P}/p.fifo"}}, "",
       {"F:8: note: SATCRUX: TMP/p.fifo is a FIFO: the run reads it, the check does not",
        "F: 0 errors, 0 warnings"},
       0},
      // The tolerance check does not use the problem file.
      {"problem file of an unknown variable, tolerance check",
       {{"\"${P}/out/A.LST\"", "\"\""}, {"${P}/SAT.CRX", "${Q}/SAT.CRX"}}, "",
       {"F:8: warning: SATCRUX: ENVIRONMENT does not define every variable of \"${Q}/SAT.CRX\"",
        "F: 0 errors, 1 warning"},
       0},
      {"tolerance check on no protocol", {{"\"${P}/out/A.LST\"", "\"\""}, {"\"1\"", "\"2\""}}, "",
       {"F:9: error: no protocol is read: the run makes no tolerance check and ends with an error"},
       1},
      {"tolerance check on an incomplete table",
       {{"\"${P}/out/A.LST\"", "\"\""}, {"two.prt", "cut.prt"}}, "",
       {"F:5: error: protocol: satellite table incomplete: 120 of 136 satellites read; the run makes "
        "no tolerance check and ends with an error",
        "F: 1 error, 1 warning"},
       1},
      {"arc splitting on an incomplete table", {{"two.prt", "cut.prt"}}, "",
       {"F:5: error: protocol: satellite table incomplete: 120 of 136 satellites read; the run writes "
        "no arc-split record and ends with an error",
        "F:8: note: SATCRUX: the run does not change the problem file (no arc splitting)",
        "F: 1 error, 1 warning"},
       1},
      {"protocols the run reads nothing from",
       {{"\"${P}/out/A.LST\"", "\"\""},
        {"JOBOUT 1 \"${P}/two.prt\"",
         "JOBOUT 3\n  \"${P}/empty.prt\"\n  \"${P}/notes.txt\"\n  \"${P}/z.gz\""}},
       "",
       {"F:6: warning: protocol: TMP/empty.prt is empty: the run reads no RMS value from it",
        "F:7: warning: protocol: TMP/notes.txt is not a TRJFIT protocol (it has none of the headings "
        "the run reads, and its first lines do not name TRJFIT): the run reads no RMS value from it",
        "F:8: error: protocol: TMP/z.gz is compressed (gzip): the run reads no RMS value from it "
        "(decompress it, or read it through a FIFO); the run makes no tolerance check and ends with "
        "an error"},
       1},
      {"a protocol without its arc's window",
       {{"\"${P}/out/A.LST\"", "\"\""},
        {"JOBOUT 1 \"${P}/two.prt\"", "JOBOUT 2\n  \"${P}/two.prt\"\n  \"${P}/head.prt\""}},
       "",
       {"F:7: note: protocol: no arc window, 0 satellites, 0 RMS values read",
        "F:7: error: protocol: no satellite RMS values found; the run makes no tolerance check and "
        "ends with an error"},
       1},
      {"a protocol listed twice",
       {{"\"${P}/out/A.LST\"", "\"\""},
        {"JOBOUT 1 \"${P}/two.prt\"", "JOBOUT 2\n  \"${P}/two.prt\"\n  \"${P}/link.prt\""}},
       "",
       {"F:7: warning: JOBOUT: \"${P}/link.prt\" is TMP/two.prt, listed before (line 6): the run "
        "reads it twice",
        "F: 0 errors, 1 warning"},
       0},
      {"3-day arc", {{"two.prt", "three.prt"}}, "",
       {"F:7: error: no arc splitting and no tolerance check: arc splitting needs an arc of 2 days; "
        "the arc has 3 (leave ASPLIT empty for the tolerance check)"},
       1},
      {"two protocols",
       {{"JOBOUT 1 \"${P}/two.prt\"", "JOBOUT 2\n  \"${P}/two.prt\"\n  \"${P}/three.prt\""}},
       "",
       {"F:9: error: no arc splitting and no tolerance check: arc splitting needs exactly one "
        "protocol file; the run has 2 (leave ASPLIT empty for the tolerance check)"},
       1},
  };
  for (const Case& c : cases) {
    std::string text = kBase;
    for (const auto& [from, to] : c.edits) text = replaced(text, from, to);
    const auto [report, status] = check(text + c.appended);
    EXPECT_EQ(status, c.status) << c.what << "\n" << report;
    for (const std::string& line : c.expected) {
      EXPECT_NE(report.find(line + (line.back() == ' ' ? "" : "\n")), std::string::npos)
          << c.what << ": missing\n" << line << "\nin\n" << report;
    }
  }
}

TEST_F(CheckInputTest, UnreadableInputFile) {
  std::string report;
  EXPECT_EQ(input_check::CHECK_INPUT(tmp.file("none.inp"), report), 2);
  EXPECT_EQ(report, tmp.file("none.inp") + ": error: the input file cannot be read: no such file\n" +
                        tmp.file("none.inp") + ": 1 error, 0 warnings\n");
}

}  // namespace
