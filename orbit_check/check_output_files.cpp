#include "orbit_check/check_output_files.h"

#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "platform/file_identity.h"
#include "platform/fixed_text.h"
#include "timeutil/sjustl.h"

namespace orbit_check {
namespace {

// A file of the run: its keyword (outputs), the name as given and the name
// it is opened under.
struct RunFile {
  std::string_view keyWord;
  std::string given;
  std::string opened;
};

// Adds a named file with its variables replaced, silently.
void add_file(std::vector<RunFile>& files, std::string_view keyWord, std::string_view given) {
  if (platform::is_blank(given)) return;
  files.push_back(
      {keyWord, std::string(platform::rtrim(given)), framework::silent_expanded_name(given)});
}

// The input file was opened before the variables were known: its name as given.
RunFile input_file(std::string_view inpFil) {
  std::string opened = platform::cut(inpFil, 255);
  timeutil::SJUSTL(opened);
  return {"", std::string(platform::rtrim(inpFil)), opened};
}

std::string output_line(const RunFile& f) {
  return "Output file: " + std::string(f.keyWord) + " " + f.given;
}

}  // namespace

std::vector<OutputClash> find_output_clashes(const OutputNames& names, std::string_view inpFil,
                                             const std::vector<std::string>& protocols,
                                             std::string_view crxName) {
  std::vector<RunFile> outputs;
  add_file(outputs, "OUTFIL", names.outFil);
  add_file(outputs, "WEEKFM", names.weekFm);
  add_file(outputs, "ASPLIT", names.aSplit);
  add_file(outputs, "PLOTFIL", names.plotFil);
  add_file(outputs, "JSONFIL", names.jsonFil);
  std::vector<RunFile> inputs{input_file(inpFil)};
  for (const std::string& p : protocols) add_file(inputs, "", p);
  add_file(inputs, "", crxName);

  std::vector<OutputClash> clashes;
  for (const RunFile& out : outputs) {
    for (const RunFile& in : inputs) {
      if (!platform::same_existing_file(out.opened, in.opened)) continue;
      clashes.push_back({"Output file would overwrite an input file of the run", output_line(out),
                         "Input file : " + in.given, std::string(out.keyWord), ""});
    }
  }
  for (std::size_t a = 0; a < outputs.size(); ++a) {
    for (std::size_t b = a + 1; b < outputs.size(); ++b) {
      if (platform::absolute_name(outputs[a].opened) != platform::absolute_name(outputs[b].opened))
        continue;
      clashes.push_back({"Two output files name the same file", output_line(outputs[a]),
                         output_line(outputs[b]), std::string(outputs[a].keyWord),
                         std::string(outputs[b].keyWord)});
    }
  }
  return clashes;
}

void check_output_files(const OutputNames& names, std::string_view inpFil,
                        const std::vector<std::string>& protocols, std::string_view crxName) {
  const std::vector<OutputClash> clashes = find_output_clashes(names, inpFil, protocols, crxName);
  if (clashes.empty()) return;
  const OutputClash& c = clashes.front();
  const std::string b16(16, ' ');
  framework::write_lines(framework::m_tolk.lfnMsg,
                         {"", " *** PG FITCHK: " + c.head, b16 + c.first, b16 + c.second, ""});
  framework::EXITRC(2);
}

}  // namespace orbit_check
