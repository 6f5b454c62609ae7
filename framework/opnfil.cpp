#include "framework/opnfil.h"

#include <string>

#include "framework/d_pgmid.h"
#include "framework/exitrc.h"
#include "framework/write_line.h"
#include "input/d_inpkey.h"
#include "input/rplenvar.h"
#include "platform/fixed_text.h"
#include "platform/fortran_format.h"
#include "platform/units.h"
#include "timeutil/sjustl.h"
#include "timeutil/upperc.h"

namespace framework {
namespace {

constexpr int kMaxAttempts = 10000;
constexpr std::size_t kNameLength = 255;

struct OpenWords {
  platform::OpenStatus status = platform::OpenStatus::Unknown;
  bool readOnly = false;
};

// The word in its 20-character buffer, upper-cased while the run is not exiting.
std::string option_word(std::string_view word) {
  std::string w = platform::cut(word, 20);
  if (input::inpKey.status <= 2) timeutil::UPPERC(w);
  return w;
}

[[noreturn]] void bad_word(const std::string& word, int lfn, const std::string& name) {
  write_lines(6, {"", " SR OPNFIL: UNKNOWN KEYWORD    : " + platform::pad(word, 20),
                  "            LOGICAL FILENUMBER : " + platform::fmt_i(lfn, 2),
                  "            FILENAME           : " + platform::pad(name, 255), ""});
  EXITRC(2);
}

OpenWords translate(std::string_view status, std::string_view form, std::string_view action,
                    int lfn, const std::string& name) {
  OpenWords w;
  const std::string s = option_word(status);
  if (s == "NEW") {
    w.status = platform::OpenStatus::New;
  } else if (s.empty() || s == "UNKNOWN") {
    w.status = platform::OpenStatus::Unknown;
  } else if (s == "SCRATCH") {
    w.status = platform::OpenStatus::Scratch;
  } else if (s == "OLD") {
    w.status = platform::OpenStatus::Old;
  } else {
    bad_word(s, lfn, name);
  }
  const std::string f = option_word(form);
  if (!(f.empty() || f == "FORMATTED" || f == "UNFORMATTED" || f == "BINARY")) {
    bad_word(f, lfn, name);
  }
  const std::string a = option_word(action);
  if (a == "READONLY") {
    w.readOnly = true;
  } else if (!a.empty()) {
    bad_word(a, lfn, name);
  }
  return w;
}

// An expanded name replaces its unexpanded entry in the delete list.
void follow_delete_list(const std::string& work, std::string_view fileName) {
  if (input::inpKey.status != 2 || platform::cut(fileName, 255).find('$') == std::string::npos) return;
  for (std::string& entry : input::inpKey.delFil) {
    if (platform::same_text(entry, fileName)) {
      entry = work;
      break;
    }
  }
}

// The name OPNFIL opens; RPLENVAR's level decides on warnings.
std::string expand(std::string_view fileName, int level) {
  std::string work = platform::cut(fileName, kNameLength);
  timeutil::SJUSTL(work);
  if (input::inpKey.status == 2 && work.find('$') != std::string::npos) {
    input::RPLENVAR(level, work);
  }
  return work;
}

}  // namespace

std::string expanded_name(std::string_view fileName) { return expand(fileName, 1); }

std::string silent_expanded_name(std::string_view fileName) { return expand(fileName, 0); }

std::string whole_expanded_name(std::string_view fileName, bool* cut) {
  std::string work(fileName);
  timeutil::SJUSTL(work);
  if (input::inpKey.status == 2 && work.find('$') != std::string::npos) {
    work = input::replaced_whole(work, cut);
  }
  return work;
}

bool name_fits(std::string_view fileName) {
  bool cut = false;
  return platform::len_trim(whole_expanded_name(fileName, &cut)) <= kNameLength && !cut;
}

std::string opened_name(std::string_view fileName) {
  const std::string work = expanded_name(fileName);
  follow_delete_list(work, fileName);
  return work;
}

void OPNFIL(int lfn, std::string_view fileName, std::string_view status, std::string_view form,
            std::string_view action, std::string_view /*reserved*/, int& iostat) {
  input::inpKey.opnBusy = -1;
  if (!name_fits(fileName)) {
    // Never another file through a name cut to what is held.
    iostat = platform::kErrNameTooLong;
    input::inpKey.opnBusy = 0;
    return;
  }
  const std::string work = opened_name(fileName);

  bool exists = false;
  int connected = 0;
  iostat = platform::inquire_file(work, exists, connected);
  if (iostat != 0) return;
  if (connected != 0) platform::close_unit(connected);
  if (platform::unit_connected(lfn)) platform::close_unit(lfn);

  const OpenWords words = translate(status, form, action, lfn, work);
  for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
    iostat = platform::open_unit(lfn, work, words.status, words.readOnly);
    if (iostat != 0) continue;
    if (attempt > 1 && !platform::same_text(d_pgmid.pgmName, "OPTSRV")) {
      write_lines(6, {"", " ### SR OPNFIL: Problem to access file for opening",
                      std::string(16, ' ') + "File name : " + work,
                      std::string(16, ' ') + "Successful after " + platform::fmt_i(attempt, 5) +
                          " open commands",
                      ""});
    }
    break;
  }
  input::inpKey.opnBusy = 0;
}

}  // namespace framework
