#include "history/collect_results.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <exception>
#include <system_error>
#include <thread>

#include "history/read_results.h"
#include "platform/read_whole_file.h"

namespace history {
namespace {

constexpr std::size_t kMaxFileBytes = 64u << 20;

bool results_name(const std::string& name) {
  if (name.empty() || name[0] == '.' || name.size() < 5) return false;
  std::string tail = name.substr(name.size() - 5);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".json";
}

ResultsFile unusable(const std::string& path, const std::string& reason) {
  ResultsFile f;
  f.path = path;
  f.reason = reason;
  return f;
}

void read_file(ResultsFile& f, std::string& buf) {
  const int status = platform::read_whole_file(f.path, buf, kMaxFileBytes);
  if (status == platform::kErrTooLarge) {
    f.reason = "larger than 64 MB: not a results file";
  } else if (status != 0) {
    f.reason = "cannot be read: " + platform::error_words(status);
  } else {
    read_results(buf, f);
  }
}

// An exception must not leave a reader thread: it would end the process.
void read_one(ResultsFile& f, std::string& buf) {
  try {
    read_file(f, buf);
  } catch (const std::exception& e) {
    f = unusable(f.path, std::string("cannot be read: ") + e.what());
  }
}

}  // namespace

std::vector<ResultsFile> list_results_files(const std::vector<std::string>& inputs) {
  std::vector<ResultsFile> files;
  std::vector<std::string> seen;
  for (const std::string& in : inputs) {
    // A name given twice is read once.
    if (std::find(seen.begin(), seen.end(), in) != seen.end()) continue;
    seen.push_back(in);
    const platform::FileKind kind = platform::file_kind(in);
    if (kind == platform::FileKind::Missing) {
      files.push_back(unusable(in, "no such file or folder"));
      continue;
    }
    if (kind != platform::FileKind::Folder) {
      files.push_back(unusable(in, ""));
      continue;
    }
    std::vector<std::string> names;
    const int status = platform::list_regular_files(in, names);
    if (status != 0) {
      files.push_back(unusable(in, "the folder cannot be read: " + platform::error_words(status)));
      continue;
    }
    const std::string folder = in.back() == '/' ? in : in + "/";
    for (const std::string& n : names) {
      if (results_name(n)) files.push_back(unusable(folder + n, ""));
    }
  }
  return files;
}

void read_results_files(std::vector<ResultsFile>& files, unsigned threads) {
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    std::string buf;
    for (std::size_t i = next++; i < files.size(); i = next++) {
      if (files[i].reason.empty()) read_one(files[i], buf);
    }
  };
  const unsigned n = std::clamp<unsigned>(threads, 1, 8);
  std::vector<std::thread> pool;
  for (unsigned t = 1; t < n && t < files.size(); ++t) {
    try {
      pool.emplace_back(work);
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the others do the work
    }
  }
  work();
  for (std::thread& t : pool) t.join();
}

}  // namespace history
