// Records read in place: views into the read buffer, records across buffer
// fills, the per-unit reader, and reads mixed with writes.
#include <string>
#include <vector>

#include "platform/units.h"
#include "support/test_support.h"

namespace {

using platform::OpenStatus;
using platform::ReadStatus;

class RecordReaderTest : public testsupport::ModuleTest {
 protected:
  // The records of text by the rules, independent of the unit layer: split
  // at line ends, a record longer than max_len cut, else a CR at its end dropped.
  static std::vector<std::string> by_rule(const std::string& text, std::size_t max_len) {
    std::vector<std::string> out;
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      std::string r = text.substr(start, end - start);
      if (r.size() > max_len) {
        r.resize(max_len);
      } else if (!r.empty() && r.back() == '\r') {
        r.pop_back();
      }
      out.push_back(r);
      start = end + 1;
    }
    return out;
  }
  std::vector<std::string> by_copy(const std::string& text, std::size_t max_len) {
    testsupport::spit(tmp.file("copy"), text);
    EXPECT_EQ(platform::open_unit(21, tmp.file("copy"), OpenStatus::Old, true), 0);
    std::vector<std::string> out;
    std::string line;
    while (platform::read_record(21, line, max_len) == ReadStatus::Ok) out.push_back(line);
    platform::close_unit(21);
    return out;
  }
  // The same through RecordReader.
  std::vector<std::string> by_view(const std::string& text, std::size_t max_len) {
    testsupport::spit(tmp.file("view"), text);
    EXPECT_EQ(platform::open_unit(22, tmp.file("view"), OpenStatus::Old, true), 0);
    platform::RecordReader reader(22);
    std::vector<std::string> out;
    std::string_view line;
    while (reader.next(line, max_len) == ReadStatus::Ok) out.emplace_back(line);
    platform::close_unit(22);
    return out;
  }
};

// Lines of every length around the 64 KiB buffer fill, with and without CR.
std::string lines_across_fills() {
  std::string text;
  for (int i = 0; text.size() < 300000; ++i) {
    text += std::string(static_cast<std::size_t>(i * 37 % 1200), static_cast<char>('a' + i % 26));
    text += i % 3 == 0 ? "\r\n" : "\n";
  }
  return text + std::string(70000, 'z') + "\r";
}

TEST_F(RecordReaderTest, ViewsAndCopiesGiveTheRecordsByTheRules) {
  const std::string text = lines_across_fills();
  for (std::size_t max_len : {std::string::npos, std::size_t{150}, std::size_t{1}, std::size_t{0}}) {
    const std::vector<std::string> expected = by_rule(text, max_len);
    ASSERT_GT(expected.size(), 400u);
    EXPECT_EQ(by_view(text, max_len), expected) << "max_len " << max_len;
    EXPECT_EQ(by_copy(text, max_len), expected) << "max_len " << max_len;
  }
  EXPECT_EQ(by_rule(text, std::string::npos).back(), std::string(70000, 'z'));
}

TEST_F(RecordReaderTest, CutRecordsKeepTheirCarriageReturn) {
  const std::string text = "abc\r\nab\r\nabcd\r\n\r\n\r";
  EXPECT_EQ(by_view(text, 3), (std::vector<std::string>{"abc", "ab", "abc", "", ""}));
  EXPECT_EQ(by_view(text, 4), (std::vector<std::string>{"abc", "ab", "abcd", "", ""}));
  EXPECT_EQ(by_view("ab\r\n", 2), (std::vector<std::string>{"ab"}));
  EXPECT_TRUE(by_view("", 10).empty());
}

TEST_F(RecordReaderTest, ReaderOfAnUnconnectedUnitReportsAnError) {
  platform::RecordReader reader(23);
  std::string_view line = "x";
  EXPECT_EQ(reader.next(line, 10), ReadStatus::Error);
  EXPECT_TRUE(line.empty());
}

TEST_F(RecordReaderTest, WritingAfterReadingContinuesBehindTheLastRecordRead) {
  testsupport::spit(tmp.file("rw"), "one\ntwo\nthree\n");
  ASSERT_EQ(platform::open_unit(24, tmp.file("rw"), OpenStatus::Old, false), 0);
  std::string_view line;
  ASSERT_EQ(platform::read_record_view(24, line), ReadStatus::Ok);
  EXPECT_EQ(line, "one");
  // An existing file opened this way is emptied at its first write.
  EXPECT_EQ(platform::write_record(24, "new"), 0);
  platform::close_unit(24);
  EXPECT_EQ(testsupport::slurp(tmp.file("rw")), "new\n");
  ASSERT_EQ(platform::open_unit(24, tmp.file("rw"), OpenStatus::Unknown, false), 0);
  EXPECT_EQ(platform::write_record(24, "first"), 0);
  ASSERT_EQ(platform::rewind_unit(24), 0);
  ASSERT_EQ(platform::read_record_view(24, line), ReadStatus::Ok);
  EXPECT_EQ(line, "first");
  EXPECT_EQ(platform::write_record(24, "second"), 0);
  platform::close_unit(24);
  EXPECT_EQ(testsupport::slurp(tmp.file("rw")), "first\nsecond\n");
}

TEST_F(RecordReaderTest, UnitsOpenedOneAfterTheOtherReadTheirOwnFiles) {
  for (int i = 0; i < 20; ++i) {
    const std::string text = std::to_string(i) + "\n" + std::string(100000, 'p') + "\nend\n";
    EXPECT_EQ(by_view(text, 150), (std::vector<std::string>{std::to_string(i), std::string(150, 'p'), "end"}));
  }
}

}  // namespace
