#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "timeutil/iordup.h"
#include "timeutil/lengt1.h"
#include "timeutil/sjustl.h"
#include "timeutil/stripdir.h"
#include "timeutil/upperc.h"
#include "timeutil/valid_utf8.h"

namespace {

std::vector<int> iordup(const std::vector<int>& values) {
  std::vector<int> index;
  timeutil::IORDUP(values, static_cast<int>(values.size()), index);
  return index;
}

TEST(IordupTest, StableAscendingPositions) {
  const std::pair<std::vector<int>, std::vector<int>> cases[] = {
      {{5, 3, 5, 1}, {4, 2, 1, 3}},
      {{2, 2, 2}, {1, 2, 3}},
      {{7}, {1}},
      {{3, 1, 2, 1, 3, 1}, {2, 4, 6, 3, 1, 5}},
      {{-5, 10, -5, 0}, {1, 3, 4, 2}},
      // The ends of the int range sort like any other value.
      {{INT_MAX, INT_MIN, 0, INT_MAX, INT_MIN + 1}, {2, 5, 3, 1, 4}},
  };
  for (const auto& [values, index] : cases) EXPECT_EQ(iordup(values), index);
}

TEST(IordupTest, NothingForNoValues) {
  std::vector<int> index{9, 9};
  timeutil::IORDUP({4, 3}, 0, index);
  EXPECT_EQ(index, (std::vector<int>{9, 9}));
  timeutil::IORDUP({4, 3, 1}, 2, index);  // only the first n values count
  EXPECT_EQ(index, (std::vector<int>{2, 1}));
}

TEST(TextHelpersTest, Sjustl) {
  const std::pair<std::string, std::string> cases[] = {
      {"   ab", "ab"}, {"ab", "ab"}, {"  a b ", "a b "}, {"\tab", "\tab"}, {"   ", "   "}, {"", ""}};
  for (auto [text, result] : cases) {
    timeutil::SJUSTL(text);
    EXPECT_EQ(text, result);
  }
}

TEST(TextHelpersTest, Upperc) {
  std::string text = "Z\xC3\xBCrich-7a{`z";
  timeutil::UPPERC(text);
  EXPECT_EQ(text, "Z\xC3\xBCRICH-7A{`Z");
}

TEST(TextHelpersTest, Lengt1) {
  const std::pair<std::string, int> cases[] = {
      {"", 1}, {"   ", 1}, {"a", 1}, {"ab", 2}, {std::string("ab\0  ", 5), 2},
      {std::string("\0\0", 2), 1}, {" x  ", 2}, {std::string("a\0b", 3), 3}};
  for (const auto& [text, length] : cases) EXPECT_EQ(timeutil::LENGT1(text), length) << text;
}

TEST(TextHelpersTest, Stripdir) {
  const std::pair<std::string, std::string> cases[] = {
      {"C:\\a\\b/c.txt", "c.txt"}, {"/x/y\\z.out", "z.out"}, {"plain.txt", "plain.txt"},
      {"dir/", ""},                {"  ", "  "},             {"", ""}};
  for (auto [name, result] : cases) {
    timeutil::STRIPDIR(name);
    EXPECT_EQ(name, result);
  }
}

TEST(ValidUtf8Test, BytesOutsideWellFormedSequencesAreReplaced) {
  const std::string r = "\xEF\xBF\xBD";
  const std::pair<std::string, std::string> cases[] = {
      {"plain ASCII", "plain ASCII"},
      {"\xC3\xA9t\xC3\xA9 \xE2\x80\x93 \xF0\x9F\x9B\xB0", "\xC3\xA9t\xC3\xA9 \xE2\x80\x93 \xF0\x9F\x9B\xB0"},
      {"Z\xFCrich", "Z" + r + "rich"},              // Latin-1
      {"\x80", r},                                   // stray continuation byte
      {"\xC0\xAF", r + r},                          // overlong
      {"\xED\xA0\x80", r + r + r},                 // surrogate
      {"\xF4\x90\x80\x80", r + r + r + r},        // above U+10FFFF
      {"end \xE2\x80", "end " + r + r},             // cut at the end
      {std::string("nul\0ok", 6), std::string("nul\0ok", 6)},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(timeutil::valid_utf8(in), out) << in;
}

}  // namespace
