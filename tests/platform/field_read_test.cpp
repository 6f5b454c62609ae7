// Accepted texts and values follow gfortran's Iw, Fw.d and list-directed
// reads; the few places where the kit is stricter are marked.
#include "platform/field_read.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

namespace {

using platform::free_items;
using platform::parse_int_item;
using platform::parse_real_item;
using platform::read_free_int;
using platform::read_free_real;
using platform::read_int_field;
using platform::read_real_field;

constexpr int kUnset = -777;

struct IntCase {
  const char* text;
  bool ok;
  int v;
};

struct RealCase {
  const char* text;
  int d;
  bool ok;
  double v;
};

TEST(FieldReadTest, IntegerField) {
  const IntCase cases[] = {
      {"", true, 0},          {"      ", true, 0},        {"  12 3", true, 123},
      {" -12", true, -12},    {"- 12", true, -12},        {"+5", true, 5},
      {" 0 0 7", true, 7},    {"00012", true, 12},        {"-0", true, 0},
      {"2147483647", true, 2147483647},                   {"-2147483648", true, -2147483647 - 1},
      {"1 2 3 4 5 6", true, 123456},
      {"2147483648", false, kUnset},                      {"99999999999999999999", false, kUnset},
      {"+", false, kUnset},   {"-", false, kUnset},       {"  -  ", false, kUnset},
      {"--5", false, kUnset}, {"+-1", false, kUnset},     {"1-2", false, kUnset},
      {"12 -", false, kUnset}, {"12a", false, kUnset},    {"1e2", false, kUnset},
      {"1.0", false, kUnset}, {".", false, kUnset},       {"1,2", false, kUnset},
      {"1/", false, kUnset},  {"\t12", false, kUnset},    {"12\t", false, kUnset},
      {"abc", false, kUnset}, {"1_2", false, kUnset},
  };
  for (const auto& c : cases) {
    int v = kUnset;
    EXPECT_EQ(read_int_field(c.text, v), c.ok) << '"' << c.text << '"';
    EXPECT_EQ(v, c.v) << '"' << c.text << '"';
  }
}

TEST(FieldReadTest, RealField) {
  const RealCase cases[] = {
      {"", 2, true, 0.0},           {"     123", 2, true, 1.23},   {"123     ", 2, true, 1.23},
      {"  1.23", 2, true, 1.23},    {"1234", 2, true, 12.34},      {"-1234", 2, true, -12.34},
      {"00001", 2, true, 0.01},     {"12345678", 2, true, 123456.78}, {"-1 2 3", 2, true, -1.23},
      {"1 . 5", 2, true, 1.5},      {" .5", 2, true, 0.5},         {"5.", 2, true, 5.0},
      {"-.5", 2, true, -0.5},       {".00001", 2, true, 1.0e-5},   {"0.0", 2, true, 0.0},
      {"123", 0, true, 123.0},      {"123", 5, true, 0.00123},
      // Stricter than gfortran: an exponent, with or without its letter, fails.
      {"1.5E2", 2, false, kUnset},  {"1.5D2", 2, false, kUnset},   {"1.5e 2", 2, false, kUnset},
      {"1.5d-2", 2, false, kUnset}, {"3.0E-5", 2, false, kUnset},  {"1.e2", 2, false, kUnset},
      {"1.5E2 3", 2, false, kUnset}, {"1e2", 2, false, kUnset},    {"12e2", 2, false, kUnset},
      {"1E+2", 2, false, kUnset},   {"1 E 2", 2, false, kUnset},   {"1.5+2", 2, false, kUnset},
      {"1.5-2", 2, false, kUnset},  {"12-3", 2, false, kUnset},    {"1e-400", 2, false, kUnset},
      {"450.+00", 2, false, kUnset}, {"5.1E0000000", 3, false, kUnset},
      {"1.2.3", 2, false, kUnset},  {"12E", 2, false, kUnset},     {"1E+", 2, false, kUnset},
      {"1E2.5", 2, false, kUnset},  {"1.5E2.", 2, false, kUnset},  {"12+", 2, false, kUnset},
      {"1+", 2, false, kUnset},     {"e", 2, false, kUnset},       {"abc", 2, false, kUnset},
      {"1.5x", 2, false, kUnset},   {"1,5", 2, false, kUnset},     {"\t1.5", 2, false, kUnset},
      // gfortran reads these as 0, infinity, NaN or 150; a number they are not.
      {".", 2, false, kUnset},      {"-", 2, false, kUnset},       {"+.", 2, false, kUnset},
      {"E2", 2, false, kUnset},     {".e2", 2, false, kUnset},     {"++1", 2, false, kUnset},
      {"inf", 2, false, kUnset},    {"nan", 2, false, kUnset},     {"Infinity", 2, false, kUnset},
      {"1e400", 2, false, kUnset},  {"1.5Q2", 2, false, kUnset},
  };
  for (const auto& c : cases) {
    double v = kUnset;
    EXPECT_EQ(read_real_field(c.text, c.d, v), c.ok) << '"' << c.text << '"';
    EXPECT_DOUBLE_EQ(v, c.v) << '"' << c.text << '"';
  }
}

TEST(FieldReadTest, RealFieldKeepsSignOfZeroAndReadsExactly) {
  double v = 1.0;
  ASSERT_TRUE(read_real_field("-0", 2, v));
  EXPECT_TRUE(std::signbit(v));
  ASSERT_TRUE(read_real_field("0.1", 2, v));
  EXPECT_EQ(v, 0.1);
  ASSERT_TRUE(read_real_field("0." + std::string(323, '0') + "49406564584124654", 0, v));
  EXPECT_EQ(v, 4.9406564584124654e-324);
  ASSERT_TRUE(read_real_field("." + std::string(400, '0') + "1", 0, v));
  EXPECT_EQ(v, 0.0);
  v = 1.0;
  EXPECT_FALSE(read_real_field(std::string(400, '9'), 0, v));
  EXPECT_EQ(v, 1.0);
  ASSERT_TRUE(parse_real_item("4.9406564584124654e-324", v));
  EXPECT_EQ(v, 4.9406564584124654e-324);
  const std::string many = "0." + std::string(200, '0') + "1e201";
  ASSERT_TRUE(parse_real_item(many, v));
  EXPECT_EQ(v, 1.0);
}

TEST(FieldReadTest, FreeItems) {
  struct Case {
    const char* line;
    std::vector<const char*> items;  // nullptr: a null item
  };
  const Case cases[] = {
      {"a b c d", {"a", "b", "c", "d"}},
      {"a,,b c", {"a", nullptr, "b", "c"}},
      {"a , , b", {"a", nullptr, "b"}},
      {"a ,b", {"a", "b"}},
      {",a", {nullptr, "a"}},
      {" , , , ,", {nullptr, nullptr, nullptr, nullptr}},
      {"a, b,", {"a", "b"}},
      {"abc\"def x", {"abc\"def", "x"}},
      {"\"a\"\"b\" x", {"a\"b", "x"}},
      {"'a''b' 'c\"d' x", {"a'b", "c\"d", "x"}},
      {"\"a b, c\" d", {"a b, c", "d"}},
      {"a \"/\" b", {"a", "/", "b"}},
      {"a/b c", {"a"}},
      {"a b /c d", {"a", "b"}},
      {"/", {}},
      {"x\ty\t z", {"x", "y", "z"}},
      {"'' b", {"", "b"}},
      {"\"a\",,b", {"a", nullptr, "b"}},
      {"a  ,  b  ,  c", {"a", "b", "c"}},
      // Unterminated: the item runs to the end of the line.
      {"\"abc", {"abc"}},
      {"x 'a b", {"x", "a b"}},
      // gfortran rejects text glued to a closing quote; here it starts an item.
      {"\"abc\"def x", {"abc", "def", "x"}},
      {"", {}},
      {"   ", {}},
  };
  for (const auto& c : cases) {
    const auto got = free_items(c.line);
    ASSERT_EQ(got.size(), c.items.size()) << '"' << c.line << '"';
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].null, c.items[i] == nullptr) << '"' << c.line << "\" item " << i;
      EXPECT_EQ(got[i].text, c.items[i] ? c.items[i] : "") << '"' << c.line << "\" item " << i;
    }
  }
  EXPECT_EQ(free_items("a b c d", 2).size(), 2u);
  EXPECT_EQ(free_items("a b", 0).size(), 0u);
  const std::string with_nul("a\0b c", 5);
  ASSERT_EQ(free_items(with_nul).size(), 2u);
  EXPECT_EQ(free_items(with_nul)[0].text, with_nul.substr(0, 3));
}

TEST(FieldReadTest, ListDirectedItems) {
  struct Case {
    const char* item;
    bool int_ok;
    int i;
    bool real_ok;
    double r;
  };
  const Case cases[] = {
      {"+3", true, 3, true, 3.0},        {"-0", true, 0, true, 0.0},
      {"2147483647", true, 2147483647, true, 2147483647.0},
      {"2147483648", false, kUnset, true, 2147483648.0},
      {"1.5", false, kUnset, true, 1.5}, {"1e3", false, kUnset, true, 1000.0},
      {"1.5D2", false, kUnset, true, 150.0}, {"-.5", false, kUnset, true, -0.5},
      {"+3.", false, kUnset, true, 3.0}, {"3.", false, kUnset, true, 3.0},
      {"1d0", false, kUnset, true, 1.0}, {"1.e-3", false, kUnset, true, 0.001},
      {"1.5+2", false, kUnset, true, 150.0},
      {"abc", false, kUnset, false, kUnset}, {"", false, kUnset, false, kUnset},
      {".", false, kUnset, false, kUnset},   {"-", false, kUnset, false, kUnset},
      {"1e", false, kUnset, false, kUnset},  {"12a", false, kUnset, false, kUnset},
      {".e2", false, kUnset, false, kUnset}, {"E2", false, kUnset, false, kUnset},
      {"0x10", false, kUnset, false, kUnset}, {"1_8", false, kUnset, false, kUnset},
      {" 7", false, kUnset, false, kUnset},  {"1 2", false, kUnset, false, kUnset},
      // gfortran: a repeat count, infinity, NaN and a Q exponent.
      {"3*5", false, kUnset, false, kUnset}, {"inf", false, kUnset, false, kUnset},
      {"nan", false, kUnset, false, kUnset}, {"1.5Q2", false, kUnset, false, kUnset},
  };
  for (const auto& c : cases) {
    int i = kUnset;
    double r = kUnset;
    EXPECT_EQ(parse_int_item(c.item, i), c.int_ok) << '"' << c.item << '"';
    EXPECT_EQ(i, c.i) << '"' << c.item << '"';
    EXPECT_EQ(parse_real_item(c.item, r), c.real_ok) << '"' << c.item << '"';
    EXPECT_DOUBLE_EQ(r, c.r) << '"' << c.item << '"';
  }
}

TEST(FieldReadTest, FirstFreeNumber) {
  struct Case {
    const char* text;
    bool int_ok;
    int i;
    bool real_ok;
    double r;
  };
  const Case cases[] = {
      {" 7 ", true, 7, true, 7.0},         {"1,", true, 1, true, 1.0},
      {"1/", true, 1, true, 1.0},          {"1 2", true, 1, true, 1.0},
      {"\t12\t", true, 12, true, 12.0},    {"  85 x", true, 85, true, 85.0},
      {"1.5 2", false, kUnset, true, 1.5}, {"-2.5e-1,", false, kUnset, true, -0.25},
      {"", false, kUnset, false, kUnset},  {"   ", false, kUnset, false, kUnset},
      {",5", false, kUnset, false, kUnset}, {"/5", false, kUnset, false, kUnset},
      {"\"5\"", false, kUnset, false, kUnset}, {"'5'", false, kUnset, false, kUnset},
      {"abc 5", false, kUnset, false, kUnset}, {"12a", false, kUnset, false, kUnset},
  };
  for (const auto& c : cases) {
    int i = kUnset;
    double r = kUnset;
    EXPECT_EQ(read_free_int(c.text, i), c.int_ok) << '"' << c.text << '"';
    EXPECT_EQ(i, c.i) << '"' << c.text << '"';
    EXPECT_EQ(read_free_real(c.text, r), c.real_ok) << '"' << c.text << '"';
    EXPECT_DOUBLE_EQ(r, c.r) << '"' << c.text << '"';
  }
}

// Arbitrary bytes, very long lines and open quotes never crash a reader.
TEST(FieldReadTest, AnyInputIsSafe) {
  std::mt19937 gen(12345);
  const std::string alphabet("0123456789 +-.eEdD,/\"'\t\0xQ*", 27);
  for (int round = 0; round < 3000; ++round) {
    std::string s(gen() % (round % 100 == 0 ? 100000 : 40), ' ');
    for (auto& ch : s) ch = round % 2 ? static_cast<char>(gen()) : alphabet[gen() % alphabet.size()];
    int i = 0;
    double r = 0;
    read_int_field(s, i);
    read_real_field(s, static_cast<int>(gen() % 12) - 2, r);
    parse_int_item(s, i);
    parse_real_item(s, r);
    read_free_int(s, i);
    read_free_real(s, r);
    std::size_t total = 0;
    for (const auto& item : free_items(s)) total += item.text.size();
    EXPECT_LE(total, s.size());
  }
  double r = 0;
  EXPECT_FALSE(read_real_field(std::string(1000000, '9') + "e999999999999999999999", 0, r));
  EXPECT_FALSE(parse_real_item(std::string(1000000, '9') + "e999999999999999999999", r));
  EXPECT_TRUE(parse_real_item("1e-99999999999999999999", r));
  EXPECT_EQ(r, 0.0);
}

}  // namespace
