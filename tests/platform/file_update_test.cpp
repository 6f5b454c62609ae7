#include "platform/file_update.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <set>

#include "platform/units.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::slurp;
using testsupport::spit;

class FileUpdateTest : public testsupport::ModuleTest {
 protected:
  void TearDown() override {
    platform::use_exchange(true);
    ModuleTest::TearDown();
  }
  std::string names(const std::string& dir) const {
    std::set<std::string> n;
    for (const auto& e : fs::directory_iterator(dir)) n.insert(e.path().filename().string());
    std::string all;
    for (const auto& s : n) all += s + " ";
    return all;
  }
};

TEST_F(FileUpdateTest, TheNewVersionTakesOwnerBitsAndAttributesOfTheOld) {
  spit(tmp.file("f"), "old\n");
  ASSERT_EQ(::chmod(tmp.file("f").c_str(), 0640), 0);
  const bool attrs = ::setxattr(tmp.file("f").c_str(), "user.campaign", "orb", 3, 0) == 0;
  platform::FileUpdate u;
  ASSERT_EQ(u.resolve(tmp.file("f")), 0);
  ASSERT_EQ(u.lock(0.0, nullptr), 0);
  const platform::Replacement r = u.replace("new\n");
  EXPECT_TRUE(r.replaced && r.status == 0 && !r.changed);
  u.release();
  EXPECT_EQ(slurp(tmp.file("f")), "new\n");
  struct stat st {};
  ASSERT_EQ(::stat(tmp.file("f").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(names(tmp.path()), "f ") << "the old version is removed";
  if (!attrs) GTEST_SKIP() << "no user attributes on the file system of " << tmp.path();
  char value[8] = {};
  EXPECT_EQ(::getxattr(tmp.file("f").c_str(), "user.campaign", value, sizeof value), 3);
  EXPECT_STREQ(value, "orb");
}

// What another program does between the lock and the replace: the update
// puts nothing in place and says so; the other's version stays.
TEST_F(FileUpdateTest, AVersionItDidNotReadIsNeverReplaced) {
  const std::function<void()> neighbours[] = {
      [&] {  // an editor saves by rename
        spit(tmp.file("e"), "edited\n");
        fs::rename(tmp.file("e"), tmp.file("f"));
      },
      [&] { spit(tmp.file("f"), "OLD\n"); },  // edited in place, same size
  };
  for (bool exchange : {true, false}) {
    for (const auto& edit : neighbours) {
      spit(tmp.file("f"), "old\n");
      platform::use_exchange(exchange);
      platform::FileUpdate u;
      ASSERT_EQ(u.resolve(tmp.file("f")), 0);
      ASSERT_EQ(u.lock(0.0, nullptr), 0);
      const std::string other = (edit(), slurp(tmp.file("f")));
      const platform::Replacement r = u.replace("new\n");
      EXPECT_TRUE(r.changed && !r.replaced && r.status == 0) << exchange;
      u.release();
      EXPECT_EQ(slurp(tmp.file("f")), other) << exchange;
      EXPECT_EQ(names(tmp.path()), "f ") << exchange;
    }
  }
}

TEST_F(FileUpdateTest, AFolderLinkSwitchedAfterTheResolveDoesNotRedirectTheUpdate) {
  fs::create_directory(tmp.file("a"));
  fs::create_directory(tmp.file("b"));
  spit(tmp.file("a/f"), "a\n");
  spit(tmp.file("b/f"), "b\n");
  fs::create_directory_symlink("a", tmp.file("link"));
  platform::FileUpdate u;
  ASSERT_EQ(u.resolve(tmp.file("link/f")), 0);
  EXPECT_EQ(u.path(), fs::canonical(tmp.file("a/f")).string());
  fs::remove(tmp.file("link"));
  fs::create_directory_symlink("b", tmp.file("link"));
  ASSERT_EQ(u.lock(0.0, nullptr), 0);
  EXPECT_TRUE(u.replace("a2\n").replaced);
  EXPECT_EQ(slurp(tmp.file("a/f")), "a2\n");
  EXPECT_EQ(slurp(tmp.file("b/f")), "b\n");
}

TEST_F(FileUpdateTest, UnitsOpenedOnThePinnedNameReadTheHeldFile) {
  spit(tmp.file("f"), "held\n");
  platform::FileUpdate u;
  ASSERT_EQ(u.resolve(tmp.file("f")), 0);
  ASSERT_EQ(u.lock(0.0, nullptr), 0);
  u.pin(tmp.file("f") + "  ");
  spit(tmp.file("e"), "other\n");
  fs::rename(tmp.file("e"), tmp.file("f"));
  std::string line;
  for (int pass = 0; pass < 2; ++pass) {  // each open reads from the start
    ASSERT_EQ(platform::open_unit(999, tmp.file("f"), platform::OpenStatus::Old, true), 0);
    ASSERT_EQ(platform::read_record(999, line), platform::ReadStatus::Ok);
    EXPECT_EQ(line, "held");
    platform::close_unit(999);
  }
  u.release();
  ASSERT_EQ(platform::open_unit(999, tmp.file("f"), platform::OpenStatus::Old, true), 0);
  ASSERT_EQ(platform::read_record(999, line), platform::ReadStatus::Ok);
  EXPECT_EQ(line, "other") << "unpinned";
}

TEST_F(FileUpdateTest, AFileWithoutWriteBitsIsNotLockedButMayBeRead) {
  spit(tmp.file("f"), "old\n");
  ASSERT_EQ(::chmod(tmp.file("f").c_str(), 0444), 0);
  platform::FileUpdate u;
  ASSERT_EQ(u.resolve(tmp.file("f")), 0);
  platform::LockFailure why;
  EXPECT_EQ(u.lock(0.0, &why), platform::kErrAccess);
  EXPECT_TRUE(why.atOpen);
  EXPECT_EQ(why.err, EACCES);
  EXPECT_EQ(u.open_read_only(), 0);
}

}  // namespace
