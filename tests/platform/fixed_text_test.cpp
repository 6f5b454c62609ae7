#include "platform/fixed_text.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(FixedTextTest, TrimAndBlank) {
  EXPECT_EQ(len_trim("ab  "), 2u);
  EXPECT_EQ(len_trim("  ab"), 4u);
  EXPECT_EQ(len_trim("   "), 0u);
  EXPECT_EQ(len_trim(""), 0u);
  // Only the blank counts: a tab is text.
  EXPECT_EQ(len_trim("a\t"), 2u);
  EXPECT_EQ(rtrim(" a b  "), " a b");
  EXPECT_TRUE(is_blank(""));
  EXPECT_TRUE(is_blank("    "));
  EXPECT_FALSE(is_blank("  x "));
  EXPECT_FALSE(is_blank(std::string_view("\0", 1)));
}

TEST(FixedTextTest, PadAndCut) {
  EXPECT_EQ(pad("ab", 4), "ab  ");
  EXPECT_EQ(pad("abcdef", 4), "abcd");
  EXPECT_EQ(pad("", 2), "  ");
  EXPECT_EQ(pad("ab", 0), "");
  EXPECT_EQ(cut("abcdef", 4), "abcd");
  EXPECT_EQ(cut("ab  cd", 4), "ab");
  EXPECT_EQ(cut("ab  ", 10), "ab");
  EXPECT_EQ(cut("ab", 0), "");
}

TEST(FixedTextTest, SameText) {
  EXPECT_TRUE(same_text("abc", "abc   "));
  EXPECT_TRUE(same_text("", "   "));
  EXPECT_FALSE(same_text("abc", "ABC"));
  EXPECT_FALSE(same_text(" abc", "abc"));
  EXPECT_FALSE(same_text("abc", "abcd"));
}

TEST(FixedTextTest, Columns) {
  const std::string line = "0123456789";
  EXPECT_EQ(col(line, 2, 4), "123");
  EXPECT_EQ(col(line, 1, 10), line);
  EXPECT_EQ(col(line, 9, 12), "89  ");
  EXPECT_EQ(col(line, 11, 13), "   ");
  EXPECT_EQ(col("", 1, 2), "  ");
  EXPECT_EQ(col(line, 0, 2), " 01");
  EXPECT_EQ(col(line, -2, 0), "   ");
  EXPECT_EQ(col(line, 5, 4), "");
  EXPECT_EQ(col_view(line, 2, 4), "123");
  EXPECT_EQ(col_view(line, 9, 12), "89");
  EXPECT_EQ(col_view(line, 11, 13), "");
  EXPECT_EQ(col_view(line, 0, 2), "01");
  EXPECT_EQ(col_view(line, 5, 4), "");
}

}  // namespace
