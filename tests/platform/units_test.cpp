#include "platform/units.h"

#include <unistd.h>

#include <filesystem>

#include "support/test_support.h"

namespace {

using platform::OpenStatus;
using platform::ReadStatus;
using testsupport::slurp;
using testsupport::spit;

class UnitsTest : public testsupport::ModuleTest {};

std::string read_all(int lfn) {
  std::string all, line;
  while (platform::read_record(lfn, line) == ReadStatus::Ok) all += "[" + line + "]";
  return all;
}

TEST_F(UnitsTest, RecordsDropLineEndsAndCarriageReturns) {
  spit(tmp.file("a"), "one\r\ntwo\n\nlast without end");
  ASSERT_EQ(platform::open_unit(20, tmp.file("a"), OpenStatus::Old, true), 0);
  EXPECT_EQ(read_all(20), "[one][two][][last without end]");
  std::string line;
  EXPECT_EQ(platform::read_record(20, line), ReadStatus::Eof);
  ASSERT_EQ(platform::rewind_unit(20), 0);
  EXPECT_EQ(read_all(20), "[one][two][][last without end]");
}

TEST_F(UnitsTest, AByteOrderMarkIsSkippedOnlyAtTheStartOfTheFile) {
  const struct {
    std::string text;
    bool skipped;
    std::string records;
  } cases[] = {
      {"\xEF\xBB\xBFone\ntwo\n", true, "[one][two]"},
      {"one\n\xEF\xBB\xBFtwo\n", false, "[one][\xEF\xBB\xBFtwo]"},
      {"\xEF\xBBone\n", false, "[\xEF\xBBone]"},
      {"\xEF\xBB\xBF", true, ""},
      {"", false, ""},
  };
  // From a file, and from a pipe held in memory (an input file given as /dev/fd/N).
  for (const bool piped : {false, true}) {
    for (const auto& c : cases) {
      spit(tmp.file("a"), c.text);
      int fds[2] = {-1, -1};
      if (piped) {
        ASSERT_EQ(pipe(fds), 0);
        ASSERT_EQ(write(fds[1], c.text.data(), c.text.size()), static_cast<ssize_t>(c.text.size()));
        close(fds[1]);
      }
      const std::string name = piped ? "/proc/self/fd/" + std::to_string(fds[0]) : tmp.file("a");
      ASSERT_EQ(platform::open_unit(20, name, OpenStatus::Old, true), 0);
      if (piped) {
        close(fds[0]);
        ASSERT_EQ(platform::hold_in_memory(20), 0);
      }
      EXPECT_EQ(platform::skip_byte_order_mark(20), c.skipped) << c.text << piped;
      EXPECT_EQ(read_all(20), c.records) << c.text << piped;
      ASSERT_EQ(platform::rewind_unit(20), 0);
      EXPECT_EQ(platform::skip_byte_order_mark(20), c.skipped) << "again after a rewind";
      platform::close_unit(20);
    }
  }
}

TEST_F(UnitsTest, CappedRecordsKeepTheirFirstCharacters) {
  spit(tmp.file("a"), "abcdef\nabc\r\nabcd\r\nab\r\n" + std::string(100000, 'x') + "\nend");
  ASSERT_EQ(platform::open_unit(20, tmp.file("a"), OpenStatus::Old, true), 0);
  std::string all, line;
  while (platform::read_record(20, line, 3) == ReadStatus::Ok) all += "[" + line + "]";
  EXPECT_EQ(all, "[abc][abc][abc][ab][xxx][end]");
  EXPECT_LE(line.capacity(), 64u) << "the skipped rest is never held";
}

TEST_F(UnitsTest, StatusWordsDecideWhatHappensToExistingFiles) {
  const std::string f = tmp.file("f");
  EXPECT_EQ(platform::open_unit(20, f, OpenStatus::Old, false), platform::kErrNotFound);
  EXPECT_FALSE(std::filesystem::exists(f));

  spit(f, "old contents\n");
  ASSERT_EQ(platform::open_unit(20, f, OpenStatus::Unknown, false), 0);
  EXPECT_EQ(platform::close_unit(20), 0);
  EXPECT_EQ(slurp(f), "old contents\n") << "UNKNOWN keeps the contents until written";

  ASSERT_EQ(platform::open_unit(20, f, OpenStatus::Unknown, false), 0);
  platform::write_record(20, "new");
  platform::close_unit(20);
  EXPECT_EQ(slurp(f), "new\n");

  ASSERT_EQ(platform::open_unit(20, f, OpenStatus::New, false), 0);
  platform::close_unit(20);
  EXPECT_EQ(slurp(f), "") << "NEW empties the file at the open";
}

TEST_F(UnitsTest, InquiryFindsAFileUnderAnotherSpellingOfItsPath) {
  const std::string f = tmp.file("g");
  spit(f, "x\n");
  ASSERT_EQ(platform::open_unit(12, f, OpenStatus::Old, true), 0);
  bool exists = false;
  int unit = -1;
  ASSERT_EQ(platform::inquire_file(tmp.path() + "/./g", exists, unit), 0);
  EXPECT_TRUE(exists);
  EXPECT_EQ(unit, 12);
  ASSERT_EQ(platform::inquire_file(tmp.file("missing"), exists, unit), 0);
  EXPECT_FALSE(exists);
  EXPECT_EQ(unit, 0);
  std::string name;
  EXPECT_TRUE(platform::unit_connected(12, &name));
  EXPECT_EQ(name, f);
  EXPECT_FALSE(platform::unit_connected(13));
}

TEST_F(UnitsTest, CloseWithDeleteRemovesRegularFilesOnly) {
  const std::string f = tmp.file("h");
  ASSERT_EQ(platform::open_unit(20, f, OpenStatus::New, false), 0);
  EXPECT_EQ(platform::close_unit(20, true), 0);
  EXPECT_FALSE(std::filesystem::exists(f));

  ASSERT_EQ(platform::open_unit(21, "/dev/null", OpenStatus::Unknown, false), 0);
  platform::close_unit(21, true);
  EXPECT_TRUE(std::filesystem::exists("/dev/null"));
}

TEST_F(UnitsTest, DirectoriesAndBlankNamesDoNotOpen) {
  EXPECT_EQ(platform::open_unit(20, tmp.path(), OpenStatus::Old, true), platform::kErrIsDirectory);
  EXPECT_NE(platform::open_unit(20, "   ", OpenStatus::Old, true), 0);
  EXPECT_FALSE(platform::unit_connected(20));
}

TEST_F(UnitsTest, WriteErrorsAreReportedAtTheClose) {
  ASSERT_EQ(platform::open_unit(20, "/dev/full", OpenStatus::New, false), 0);
  platform::write_record(20, "lost");
  EXPECT_EQ(platform::close_unit(20), platform::kErrWrite);
  EXPECT_EQ(platform::write_record(77, "nowhere"), 0) << "an unconnected unit swallows records";
}

TEST_F(UnitsTest, AReadErrorIsNoEndOfFile) {
  // Reading a process's memory from address 0 fails with EIO.
  ASSERT_EQ(platform::open_unit(20, "/proc/self/mem", OpenStatus::Old, true), 0);
  std::string line;
  EXPECT_EQ(platform::read_record(20, line), platform::ReadStatus::Error);
  EXPECT_EQ(platform::unit_read_error(20), 5);
  platform::close_unit(20);
  spit(tmp.file("r"), "a\n");
  ASSERT_EQ(platform::open_unit(20, tmp.file("r"), OpenStatus::Old, true), 0);
  EXPECT_EQ(platform::read_record(20, line), platform::ReadStatus::Ok);
  EXPECT_EQ(platform::read_record(20, line), platform::ReadStatus::Eof);
  EXPECT_EQ(platform::unit_read_error(20), 0);
  platform::close_unit(20);
}

TEST_F(UnitsTest, APipeHeldInMemoryIsReadAgainAfterARewind) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const std::string text = "one\n" + std::string(20000, 'x') + "\nlast";  // fits the pipe
  ASSERT_EQ(write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  close(fds[1]);
  ASSERT_EQ(
      platform::open_unit(20, "/proc/self/fd/" + std::to_string(fds[0]), OpenStatus::Old, true), 0);
  close(fds[0]);
  EXPECT_EQ(platform::hold_in_memory(20), 0);
  const std::string all = "[one][" + std::string(20000, 'x') + "][last]";
  EXPECT_TRUE(read_all(20) == all);
  ASSERT_EQ(platform::rewind_unit(20), 0);
  EXPECT_TRUE(read_all(20) == all);
  std::string line;
  EXPECT_EQ(platform::read_record(20, line), ReadStatus::Eof);
  platform::close_unit(20);
}

TEST_F(UnitsTest, ReadOnlyUnitsRefuseWrites) {
  spit(tmp.file("r"), "keep\n");
  ASSERT_EQ(platform::open_unit(20, tmp.file("r"), OpenStatus::Old, true), 0);
  EXPECT_NE(platform::write_record(20, "x"), 0);
  EXPECT_TRUE(platform::unit_write_failed(20));
  platform::close_unit(20);
  EXPECT_EQ(slurp(tmp.file("r")), "keep\n");
}

}  // namespace
