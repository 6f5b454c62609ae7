#include <algorithm>
#include <string>
#include <utility>

#include "framework/d_pgmid.h"
#include "framework/exitrc.h"
#include "framework/m_tolk.h"
#include "framework/opnfil.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "platform/file_identity.h"
#include "platform/fixed_text.h"
#include "platform/units.h"

namespace framework {

ExitDelState s_exitdel;

namespace {

// Entry k of the delete list as written: the values of the last
// "DELETE_FILES", which is the one the list holds.
std::string written_entry(std::size_t k) {
  const t_key* list = nullptr;
  for (const t_key& key : input::inpKey.keys) {
    if (key.name == "DELETE_FILES") list = &key;
  }
  if (!list || k >= list->value.size()) return std::string();
  return std::string(platform::rtrim(list->value[k]));
}

// Entry k of the delete list as EXIT_DEL takes it: a name, or empty when
// it is skipped (a "$" left, or no such file); *unit: the unit it is
// connected to (0: none).
std::string existing_entry(std::size_t k, int* unit = nullptr) {
  const std::string& name = input::inpKey.delFil[k];
  if (name.find('$') != std::string::npos) return std::string();
  bool exists = false;
  int connected = 0;
  if (platform::inquire_file(name, exists, connected) != 0 || !exists) return std::string();
  if (unit) *unit = connected;
  return name;
}

// Entry k as the file it names, for the comparison with the files the run
// reads: as EXIT_DEL takes it, or, for an entry whose variables were never
// replaced (no file was opened under its name), with them replaced.
std::string compared_entry(std::size_t k) {
  const std::string name = existing_entry(k);
  const std::string& entry = input::inpKey.delFil[k];
  if (!name.empty() || entry.find('$') == std::string::npos) return name;
  const std::string expanded = silent_expanded_name(entry);
  bool exists = false;
  int connected = 0;
  if (expanded.find('$') != std::string::npos) return std::string();
  const bool found = platform::inquire_file(expanded, exists, connected) == 0 && exists;
  return found ? expanded : std::string();
}

// True, with a warning, when entry k is a file the run reads.
bool read_by_the_run(std::size_t k) {
  const std::string name = compared_entry(k);
  if (name.empty()) return false;
  for (const ReadFile& f : s_exitdel.readFiles) {
    if (!platform::same_existing_file(name, f.name)) continue;
    const std::string b16(16, ' ');
    write_lines(m_tolk.lfnMsg, {"", " ### SR EXIT_DEL: File not deleted: the run reads it",
                                b16 + "DELETE_FILES: " + written_entry(k),
                                b16 + "File name   : " + std::string(platform::rtrim(name)),
                                b16 + "Read as     : " + f.what, ""});
    return true;
  }
  return false;
}

}  // namespace

void keep_read_files(std::vector<ReadFile> files) { s_exitdel.readFiles = std::move(files); }

void screen_delete_list() {
  if (s_exitdel.screened) return;
  s_exitdel.screened = true;
  const input::t_inpkey& key = input::inpKey;
  const std::size_t n =
      std::min(static_cast<std::size_t>(std::max(key.nDel, 0)), key.delFil.size());
  s_exitdel.kept.assign(n, false);
  for (std::size_t k = 0; k < n; ++k) s_exitdel.kept[k] = read_by_the_run(k);
}

void EXIT_DEL() {
  if (platform::is_blank(d_pgmid.pgmName)) return;
  screen_delete_list();
  for (std::size_t k = 0; k < s_exitdel.kept.size(); ++k) {
    if (s_exitdel.kept[k]) continue;
    int unit = 0;
    const std::string name = existing_entry(k, &unit);
    if (name.empty()) continue;
    if (unit != 0) {
      platform::close_unit(unit, true);
      continue;
    }
    const int lfn = m_tolk.lfnWork;
    int ios = 0;
    OPNFIL(lfn, name, "UNKNOWN", "UNFORMATTED", " ", " ", ios);
    if (ios != 0) OPNFIL(lfn, name, "UNKNOWN", "FORMATTED", " ", " ", ios);
    if (ios == 0) platform::close_unit(lfn, true);
  }
}

}  // namespace framework
