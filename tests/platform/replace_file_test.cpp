#include "platform/replace_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <set>

#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::slurp;
using testsupport::spit;

class ReplaceFileTest : public testsupport::ModuleTest {
 protected:
  void TearDown() override {
    platform::fail_replace_steps(0);
    ModuleTest::TearDown();
  }
  // Names in the folder, sorted.
  std::string names() const {
    std::set<std::string> n;
    for (const auto& e : fs::directory_iterator(tmp.path())) n.insert(e.path().filename().string());
    std::string all;
    for (const auto& s : n) all += s + " ";
    return all;
  }
};

TEST_F(ReplaceFileTest, ReplacesThroughALinkWithTheOldModeAndSyncs) {
  spit(tmp.file("f"), "old\n");
  fs::permissions(tmp.file("f"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("f", tmp.file("link"));
  const long syncs = platform::sync_count();
  ASSERT_EQ(platform::replace_file(tmp.file("link") + "   ", "new\n"), 0);
  EXPECT_EQ(slurp(tmp.file("f")), "new\n");
  EXPECT_TRUE(fs::is_symlink(tmp.file("link")));
  EXPECT_EQ(fs::status(tmp.file("f")).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(platform::sync_count() - syncs, 2) << "the new file and its folder";
  EXPECT_EQ(names(), "f link ");
  ASSERT_EQ(platform::replace_file(tmp.file("new"), "created"), 0);
  EXPECT_EQ(slurp(tmp.file("new")), "created");
}

// A link whose target is not there yet leads to the file it names (through
// a chain of links too); the links stay links.
TEST_F(ReplaceFileTest, ALinkToAFileNotThereYetGetsItsTarget) {
  fs::create_directory(tmp.file("out"));
  fs::create_symlink("out/target", tmp.file("link"));
  fs::create_symlink("link", tmp.file("link2"));
  ASSERT_EQ(platform::replace_file(tmp.file("link2"), "new\n"), 0);
  EXPECT_TRUE(fs::is_symlink(tmp.file("link")) && fs::is_symlink(tmp.file("link2")));
  EXPECT_EQ(slurp(tmp.file("out/target")), "new\n");
  EXPECT_EQ(names(), "link link2 out ");
  // Links that lead in a circle have no target: they stay as they are.
  fs::create_symlink("loop2", tmp.file("loop1"));
  fs::create_symlink("loop1", tmp.file("loop2"));
  EXPECT_EQ(platform::replace_file(tmp.file("loop1"), "new\n"), ELOOP);
  EXPECT_TRUE(fs::is_symlink(tmp.file("loop1")) && fs::is_symlink(tmp.file("loop2")));
  EXPECT_EQ(names(), "link link2 loop1 loop2 out ");
}

// Every step fails once, with an anonymous new file and (its open failed)
// with a named one.
TEST_F(ReplaceFileTest, AFailureAtAnyStepLeavesTheOldFileAndNothingElse) {
  const std::string content(200000, 'x');
  int keptOld = 0;
  for (unsigned long named = 0; named <= 1; ++named) {
    for (int step = 1 + static_cast<int>(named); step <= 30; ++step) {
      spit(tmp.file("f"), "old\n");
      platform::fail_replace_steps(named | 1UL << (step - 1));
      const int rc = platform::replace_file(tmp.file("f"), content);
      const std::string now = slurp(tmp.file("f"));
      EXPECT_TRUE(now == "old\n" || now == content) << "step " << step << ": a part";
      EXPECT_TRUE(rc != 0 || now == content) << "step " << step;
      EXPECT_EQ(names(), "f ") << "step " << step;
      keptOld += rc != 0 && now == "old\n";
    }
  }
  EXPECT_GE(keptOld, 7) << "write, sync, rename of either new file; named create";
}

TEST_F(ReplaceFileTest, PlantedLinksAreNeverFollowed) {
  spit(tmp.file("f"), "old\n");
  spit(tmp.file("victim"), "keep\n");
  fs::create_symlink("victim", tmp.file(".f.fitchk-newnewnewnew"));
  ASSERT_EQ(platform::replace_file(tmp.file("f"), "new\n"), 0);
  EXPECT_EQ(slurp(tmp.file("victim")), "keep\n");
  platform::remove_leftovers(tmp.file("f"));
  EXPECT_EQ(slurp(tmp.file("victim")), "keep\n");
  EXPECT_EQ(names(), ".f.fitchk-newnewnewnew f victim ") << "a link is not a leftover";
}

// Only what the program makes (".<name>.fitchk-" and 12 letters or digits)
// and only the user's own; root's new files take the owner of the file they
// replace, so root also removes that owner's.
TEST_F(ReplaceFileTest, OnlyOwnNewFilesOfTheExactPatternAreRemoved) {
  spit(tmp.file("f"), "old\n");
  for (const char* name : {".f.fitchk-Ab3def6hij9K", ".f.fitchk-notes", ".f.fitchk-Ab3def6hij9K~",
                           ".f.fitchk-Ab3def6h.j9K", ".g.fitchk-Ab3def6hij9K"}) {
    spit(tmp.file(name), "x");
  }
  platform::remove_leftovers(tmp.file("f"));
  EXPECT_EQ(names(), ".f.fitchk-Ab3def6h.j9K .f.fitchk-Ab3def6hij9K~ .f.fitchk-notes "
                     ".g.fitchk-Ab3def6hij9K f ");
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to give a file to another user";
  spit(tmp.file(".f.fitchk-theirs012345"), "x");
  ASSERT_EQ(::chown(tmp.file(".f.fitchk-theirs012345").c_str(), 65534, 65534), 0);
  platform::remove_leftovers(tmp.file("f"));
  EXPECT_NE(names().find(".f.fitchk-theirs012345"), std::string::npos) << "another user's";
  ASSERT_EQ(::chown(tmp.file("f").c_str(), 65534, 65534), 0);
  platform::remove_leftovers(tmp.file("f"));
  EXPECT_EQ(names().find(".f.fitchk-theirs012345"), std::string::npos) << "the file owner's, by root";
}

// A new file whose writer still runs (it holds its lock) is no leftover.
TEST_F(ReplaceFileTest, ANewFileOfALiveWriterIsKept) {
  spit(tmp.file("f"), "old\n");
  spit(tmp.file(".f.fitchk-live00000000"), "x");
  int ready[2], done[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(done), 0);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(tmp.file(".f.fitchk-live00000000").c_str(), O_WRONLY);
    struct flock fl {};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    char c = ::fcntl(fd, F_OFD_SETLK, &fl) == 0 ? 'y' : 'n';
    (void)!::write(ready[1], &c, 1);
    (void)!::read(done[0], &c, 1);
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, 'y');
  platform::remove_leftovers(tmp.file("f"));
  EXPECT_EQ(names(), ".f.fitchk-live00000000 f ");
  (void)!::write(done[1], &c, 1);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  platform::remove_leftovers(tmp.file("f"));
  EXPECT_EQ(names(), "f ");
  for (int fd : {ready[0], ready[1], done[0], done[1]}) ::close(fd);
}

TEST_F(ReplaceFileTest, AFifoIsWrittenInPlace) {
  ASSERT_EQ(::mkfifo(tmp.file("fifo").c_str(), 0600), 0);
  const int rd = ::open(tmp.file("fifo").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(rd, 0);
  ASSERT_EQ(platform::replace_file(tmp.file("fifo"), "through\n"), 0);
  char buf[16] = {};
  EXPECT_EQ(::read(rd, buf, sizeof buf), 8);
  ::close(rd);
  EXPECT_TRUE(fs::is_fifo(tmp.file("fifo")));
}

TEST_F(ReplaceFileTest, AProcessKilledByTheSizeLimitLeavesTheOldFile) {
  spit(tmp.file("f"), "old\n");
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit lim{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &lim);
    platform::replace_file(tmp.file("f"), std::string(100000, 'x'));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
  EXPECT_EQ(slurp(tmp.file("f")), "old\n");
  platform::remove_leftovers(tmp.file("f"));
  EXPECT_EQ(names(), "f ");
}

TEST_F(ReplaceFileTest, ALockIsExclusiveUntilReleased) {
  spit(tmp.file("f"), "old\n");
  platform::FileLock first, second;
  ASSERT_EQ(platform::lock_file(tmp.file("f"), first, 0.0), 0);
  EXPECT_TRUE(first.held());
  EXPECT_EQ(platform::lock_file(tmp.file("f"), second, 0.05), platform::kErrLockTimeout);
  EXPECT_FALSE(second.held());
  first.release();
  EXPECT_EQ(platform::lock_file(tmp.file("f"), second, 0.0), 0);
  platform::LockFailure why;
  EXPECT_EQ(platform::lock_file(tmp.file("missing"), first, 0.0, &why), 2);
  EXPECT_TRUE(why.atOpen);
  EXPECT_EQ(names(), "f ") << "no lock file";
}

TEST_F(ReplaceFileTest, AFileThatMayNotBeWrittenIsNotLocked) {
  spit(tmp.file("f"), "old\n");
  if (::geteuid() == 0) {  // root writes any file: take the rights of another user
    const pid_t pid = ::fork();
    if (pid == 0) {
      if (::setresgid(65534, 65534, 65534) != 0 || ::setresuid(65534, 65534, 65534) != 0) ::_exit(3);
      platform::FileLock lock;
      platform::LockFailure why;
      const int rc = platform::lock_file(tmp.file("f"), lock, 0.0, &why);
      ::_exit(rc == 13 && why.atOpen && !lock.held() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  } else {
    ::chmod(tmp.file("f").c_str(), 0444);
    platform::FileLock lock;
    platform::LockFailure why;
    EXPECT_EQ(platform::lock_file(tmp.file("f"), lock, 0.0, &why), 13);
    EXPECT_TRUE(why.atOpen);
  }
}

}  // namespace
