// The steps of the input-file check and what they hand on to each other.
#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "input/chkfln.h"
#include "input_check/diagnostics.h"
#include "input_check/keyword_scan.h"
#include "orbit_check/check_output_files.h"
#include "orbit_check/protocol_extract.h"

namespace input_check {

// A protocol of the run: its name as given and its line.
struct ProtocolName {
  std::string given;
  int line = 0;
  bool readable = false;
  bool notRead = false;  // a FIFO or a device: the run reads it, the check does not
};

// A file name of the input file: its keyword, line and the name as given.
struct NamedFile {
  std::string key;
  int line = 0;
  std::string given;
};

struct CheckContext {
  KeywordScan scan;
  Diagnostics diag;
  std::vector<std::string> delFil;  // the store's delete list, kept aside
  // Names the run refuses ("File name too long"): it stops before any file
  // is opened.
  std::vector<input::NameFault> refused;
  bool is_refused(std::string_view keyWord) const;

  // Line of the first keyword name (0: not in the file).
  int line_of(std::string_view name) const;
  // Line of value k (0-based) of the first keyword name.
  int value_line(std::string_view name, std::size_t k) const;

  // Options as the run takes them (check_options).
  double tolRms = 0.0;
  std::array<double, 6> factor{};
  orbit_check::EditRule rule = orbit_check::EditRule::Mean;
  // Files (check_files).
  std::vector<ProtocolName> protocols;
  std::string aSplit;
  std::string crxName;  // as given
  int crxLine = 0;
  std::vector<NamedFile> named;  // every file name the run uses
};

// Line rules: undecodable keyword lines, counts, cut values, keywords given
// twice, typos.
void check_lines(CheckContext& ctx);

// Lines beyond 255 characters, except those whose file name is refused
// (reported with the refusal).
void check_long_lines(CheckContext& ctx);

// The options of the run: missing, empty, not a number, out of range, a
// rule not allowed.
void check_options(CheckContext& ctx);

// Every file named: variables, the name opened, inputs readable, outputs
// writable, outputs that would overwrite an input or each other.
void check_files(CheckContext& ctx);

// The files of DELETE_FILES: each deleted at the end of the run, but an
// input of the run (the same file after variables) the run does not delete.
void check_deletions(CheckContext& ctx, const orbit_check::RunFileNames& run);

// Names that are relative (as given, or through a variable holding a
// relative folder) while the current folder is not the input file's own:
// the folder they resolve from. On the name's line, or on the variable's.
void check_relative_names(CheckContext& ctx);

// A name the run refuses: what it says, and why.
void report_refused(CheckContext& ctx, const input::NameFault& fault);

// The protocols read as the run reads them, and the check the run makes.
void check_run_case(CheckContext& ctx);

// The start of a protocol file: empty, compressed, or naming its program.
struct ProtocolLook {
  bool empty = false;               // no byte at all
  const char* compressed = nullptr; // "gzip", "bzip2" or "xz" by its magic number
  bool namesTrjfit = false;         // one of its first 10 lines holds "TRJFIT"
};

// Looks at the first lines of the protocol opened (read on lfnWork, closed
// after); a file that cannot be opened gives the defaults.
ProtocolLook look_at_protocol(const std::string& opened);

// "a FIFO" or "a device" for a file the check does not read (the run reads
// it once: its data would be lost to the run, or never end); else nullptr.
const char* not_read_kind(std::string_view name);

// A number as the messages show it (shortest form).
std::string number_text(double v);

}  // namespace input_check
