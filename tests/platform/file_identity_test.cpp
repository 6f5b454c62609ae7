#include "platform/file_identity.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::spit;

class FileIdentityTest : public testsupport::ModuleTest {};

// Puts file (or, when blank, the write end of a pipe) on descriptor fd while
// it lives.
class Redirect {
 public:
  Redirect(int fd, const std::string& file) : fd_(fd), saved_(::dup(fd)) {
    std::fflush(nullptr);
    int pipeFds[2] = {-1, -1};
    const int target = file.empty() ? (::pipe(pipeFds) == 0 ? pipeFds[1] : -1)
                                    : ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    ::dup2(target, fd_);
    ::close(target);
    if (pipeFds[0] >= 0) ::close(pipeFds[0]);
  }
  ~Redirect() {
    ::dup2(saved_, fd_);
    ::close(saved_);
  }

 private:
  int fd_;
  int saved_;
};

TEST_F(FileIdentityTest, LinksAreFollowedAlsoToAFileNotWrittenYet) {
  fs::create_directory(tmp.file("d"));
  spit(tmp.file("d/there"), "x\n");
  fs::create_symlink("d/new.sum", tmp.file("dangling"));
  fs::create_symlink("dangling", tmp.file("chain"));
  fs::create_symlink(tmp.path() + "/d", tmp.file("folder"));
  fs::create_symlink("gone/new.sum", tmp.file("nofolder"));
  fs::create_symlink("loop2", tmp.file("loop1"));
  fs::create_symlink("loop1", tmp.file("loop2"));
  const struct {
    std::string name;
    std::string absolute;
  } cases[] = {
      {"d/new.sum", "d/new.sum"},
      {"dangling", "d/new.sum"},
      {"chain", "d/new.sum"},
      {"folder/../dangling", "d/new.sum"},  // ".." of the folder the link leads to
      {"folder/new.sum", "d/new.sum"},
      {"d/./there", "d/there"},
      {"nofolder", "gone/new.sum"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::absolute_name(tmp.file(c.name)), tmp.file(c.absolute)) << c.name;
  }
  EXPECT_FALSE(platform::absolute_name(tmp.file("loop1")).empty()) << "a loop ends";
}

TEST_F(FileIdentityTest, NamesOfTheStandardStreams) {
  fs::create_symlink("/dev/stdout", tmp.file("out"));
  fs::create_symlink("/proc/self/fd/2", tmp.file("err"));
  spit(tmp.file("plain"), "x\n");
  const struct {
    std::string name;
    int stream;
  } cases[] = {
      {"/dev/stdout", 1}, {"/dev/stderr", 2}, {"/dev/fd/1", 1}, {"/proc/self/fd/2", 2},
      {"/proc/" + std::to_string(::getpid()) + "/fd/1", 1}, {tmp.file("out"), 1},
      {tmp.file("err"), 2}, {"/dev/stdin", 0}, {"/dev/fd/3", 0}, {"/dev/null", 0},
      {tmp.file("plain"), 0}, {tmp.file("none"), 0}, {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(platform::standard_stream(c.name), c.stream) << c.name;
}

TEST_F(FileIdentityTest, TheConsoleFileIsTheRegularFileOfAStream) {
  {
    Redirect to(2, tmp.file("log"));
    const std::string file = platform::console_file(2);
    EXPECT_TRUE(platform::same_existing_file(file, tmp.file("log"))) << file;
    EXPECT_TRUE(platform::same_existing_file("/dev/stderr", tmp.file("log")));
    EXPECT_EQ(platform::absolute_name(file), tmp.file("log"));
  }
  {
    Redirect to(2, "");
    EXPECT_EQ(platform::console_file(2), "") << "a pipe";
  }
  {
    Redirect to(2, "/dev/null");
    EXPECT_EQ(platform::console_file(2), "") << "a device";
  }
}

}  // namespace
