// Reading whole files and listing a folder's files, on the real file system.
#include <sys/stat.h>
#include <unistd.h>

#include "platform/read_whole_file.h"
#include "platform/units.h"
#include "support/test_support.h"

namespace {

using testsupport::spit;

class ReadWholeFileTest : public testsupport::ModuleTest {};

TEST_F(ReadWholeFileTest, ContentsOrTheReason) {
  spit(tmp.file("a.json"), "{\"a\": 1}\n");
  std::string buf = "old contents";
  EXPECT_EQ(platform::read_whole_file(tmp.file("a.json"), buf, 100), 0);
  EXPECT_EQ(buf, "{\"a\": 1}\n");
  EXPECT_EQ(platform::read_whole_file(tmp.file("a.json"), buf, 4), platform::kErrTooLarge);
  EXPECT_EQ(buf, "{\"a\"");
  EXPECT_EQ(platform::read_whole_file(tmp.file("none"), buf, 100), platform::kErrNotFound);
  EXPECT_EQ(platform::read_whole_file(tmp.path(), buf, 100), platform::kErrIsDirectory);
  EXPECT_EQ(platform::read_whole_file("/dev/zero", buf, 100000), platform::kErrTooLarge);
  EXPECT_EQ(platform::error_words(platform::kErrNotFound), "no such file");
}

TEST_F(ReadWholeFileTest, RegularFilesOfAFolderSortedLinksFollowed) {
  spit(tmp.file("b.json"), "");
  spit(tmp.file("a.JSON"), "");
  ASSERT_EQ(::mkdir(tmp.file("sub.json").c_str(), 0755), 0);
  ASSERT_EQ(::symlink("b.json", tmp.file("link.json").c_str()), 0);
  ASSERT_EQ(::symlink("none", tmp.file("broken.json").c_str()), 0);
  std::vector<std::string> names;
  EXPECT_EQ(platform::list_regular_files(tmp.path(), names), 0);
  EXPECT_EQ(names, (std::vector<std::string>{"a.JSON", "b.json", "link.json"}));
  EXPECT_EQ(platform::list_regular_files(tmp.file("none"), names), platform::kErrNotFound);
  EXPECT_EQ(platform::file_kind(tmp.file("sub.json")), platform::FileKind::Folder);
  EXPECT_EQ(platform::file_kind("/dev/null"), platform::FileKind::Device);
}

}  // namespace
