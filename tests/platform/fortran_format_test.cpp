// Expected texts are what gfortran writes for the same descriptor and value.
#include "platform/fortran_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace {

using platform::fmt_a;
using platform::fmt_ab;
using platform::fmt_e;
using platform::fmt_f;
using platform::fmt_i;
using platform::Line;

struct RealCase {
  double v;
  int w;
  int d;
  const char* text;
};

struct IntCase {
  long long v;
  int w;
  int m;
  const char* text;
};

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(FortranFormatTest, FixedPoint) {
  const RealCase cases[] = {
      {0.5, 6, 3, " 0.500"}, {0.5, 5, 3, "0.500"},
      {0.5, 4, 3, ".500"}, {0.5, 3, 3, "***"},
      {-0.5, 6, 3, "-0.500"}, {-0.5, 5, 3, "-.500"},
      {-0.5, 4, 3, "****"}, {-0.0001, 6, 3, "-0.000"},
      {-0.0, 6, 3, "-0.000"}, {0.0, 6, 3, " 0.000"},
      {0.0, 2, 0, "0."}, {0.0, 1, 0, "*"},
      {0.0, 2, 1, ".0"}, {0.04, 2, 1, ".0"},
      {0.999, 4, 2, "1.00"}, {0.999, 3, 2, "***"},
      {0.994, 3, 2, ".99"}, {-0.994, 4, 2, "-.99"},
      {-0.001, 3, 2, "***"}, {0.125, 5, 2, " 0.12"},
      {0.375, 5, 2, " 0.38"}, {2.675, 5, 2, " 2.67"},
      {0.25, 5, 1, "  0.2"}, {0.35, 5, 1, "  0.3"},
      {2.5, 5, 0, "   2."}, {3.5, 5, 0, "   4."},
      {-0.4, 5, 0, "  -0."}, {0.4, 1, 0, "*"},
      {-0.4, 2, 0, "**"}, {0.6, 2, 0, "1."},
      {5.0, 1, 0, "*"}, {-5.0, 2, 0, "**"},
      {0.0005, 6, 3, " 0.001"}, {-0.0005, 6, 3, "-0.001"},
      {1.0005, 8, 3, "   1.000"}, {1.0015, 8, 3, "   1.002"},
      {0.005, 8, 2, "    0.01"}, {0.015, 8, 2, "    0.01"},
      {123.4567, 6, 3, "******"}, {123.4567, 7, 3, "123.457"},
      {-12.5, 6, 2, "-12.50"}, {-12.5, 5, 2, "*****"},
      {99.995, 6, 2, "100.00"}, {99.994, 6, 2, " 99.99"},
      {999.995, 6, 2, "******"}, {9.96, 4, 1, "10.0"},
      {9.96, 3, 1, "***"}, {1.0e20, 6, 3, "******"},
      {1.0e20, 25, 3, "100000000000000000000.000"}, {1.0e300, 10, 2, "**********"},
      {1.0e-300, 10, 4, "    0.0000"}, {-1.0e-300, 10, 4, "   -0.0000"},
      {0.1, 30, 25, "   0.1000000000000000055511151"}, {-0.5, 10, 0, "       -0."},
      {0.5, 0, 3, ".500"}, {-0.5, 0, 3, "-.500"},
      {0.0, 0, 0, "0."}, {12.25, 0, 1, "12.2"},
      {-0.0001, 0, 3, "-.000"}, {-0.4, 0, 0, "-0."},
      {1234.5, 0, 2, "1234.50"}, {-9.9996, 6, 3, "******"},
      {-3.14159, 8, 4, " -3.1416"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fmt_f(c.v, c.w, c.d), c.text) << "F" << c.w << "." << c.d << " of " << c.v;
}

TEST(FortranFormatTest, Exponential) {
  const RealCase cases[] = {
      {1.0e6, 12, 4, "  0.1000E+07"}, {1.0e-4, 12, 4, "  0.1000E-03"},
      {0.0, 12, 4, "  0.0000E+00"}, {-0.0, 12, 4, " -0.0000E+00"},
      {-1.2345678, 12, 4, " -0.1235E+01"}, {1.0e-100, 12, 4, "  0.1000E-99"},
      {1.0e100, 12, 4, "  0.1000+101"}, {-1.0e100, 12, 4, " -0.1000+101"},
      {1.0e300, 12, 4, "  0.1000+301"}, {1.0e99, 12, 4, "  0.1000+100"},
      {9.99996e99, 12, 4, "  0.1000+101"}, {9.99996e-100, 12, 4, "  0.1000E-98"},
      {9.99994e-101, 12, 4, "  0.1000E-99"}, {1.0e6, 10, 4, "0.1000E+07"},
      {1.0e6, 9, 4, ".1000E+07"}, {1.0e6, 8, 4, "********"},
      {-1.0e6, 11, 4, "-0.1000E+07"}, {-1.0e6, 10, 4, "-.1000E+07"},
      {-1.0e6, 9, 4, "*********"}, {0.5, 9, 4, ".5000E+00"},
      {0.125, 10, 3, " 0.125E+00"}, {0.125, 10, 2, "  0.12E+00"},
      {0.135, 10, 2, "  0.14E+00"}, {0.25, 10, 1, "   0.2E+00"},
      {0.75, 12, 1, "     0.8E+00"}, {123456789.0, 15, 8, " 0.12345679E+09"},
      {1.7976931348623157e308, 15, 8, " 0.17976931+309"}, {2.2250738585072014e-308, 15, 8, " 0.22250739-307"},
      {4.9406564584124654e-324, 12, 4, "  0.4941-323"}, {1.0e100, 10, 4, "0.1000+101"},
      {0.99995, 12, 4, "  0.1000E+01"}, {0.999949, 12, 4, "  0.9999E+00"},
      {1.25e-5, 12, 4, "  0.1250E-04"}, {1.0, 3, 1, "***"},
      {-7.5e-3, 10, 2, " -0.75E-02"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fmt_e(c.v, c.w, c.d), c.text) << "E" << c.w << "." << c.d << " of " << c.v;
}

TEST(FortranFormatTest, InfinityAndNaN) {
  const RealCase f_cases[] = {
      {kInf, 6, 3, "   Inf"},     {-kInf, 6, 3, "  -Inf"},   {kNaN, 6, 3, "   NaN"},
      {-kNaN, 9, 1, "      NaN"}, {kInf, 3, 1, "Inf"},       {kInf, 2, 1, "**"},
      {kInf, 1, 0, "*"},          {-kInf, 3, 1, "***"},      {-kInf, 4, 1, "-Inf"},
      {-kInf, 8, 1, "    -Inf"},  {kInf, 7, 1, "    Inf"},   {kInf, 8, 1, "Infinity"},
      {kInf, 9, 1, " Infinity"},  {-kInf, 9, 1, "-Infinity"}, {kNaN, 2, 1, "**"},
      {kNaN, 3, 1, "NaN"},        {kInf, 0, 3, "Inf"},       {-kInf, 0, 3, "-Inf"},
      {kNaN, 0, 3, "NaN"},
  };
  for (const auto& c : f_cases)
    EXPECT_EQ(fmt_f(c.v, c.w, c.d), c.text) << "F" << c.w << "." << c.d << " of " << c.v;
  const RealCase e_cases[] = {
      {kInf, 12, 4, "    Infinity"}, {-kInf, 12, 4, "   -Infinity"}, {kNaN, 12, 4, "         NaN"},
      {kInf, 3, 1, "Inf"},            {-kInf, 9, 1, "-Infinity"},
  };
  for (const auto& c : e_cases)
    EXPECT_EQ(fmt_e(c.v, c.w, c.d), c.text) << "E" << c.w << "." << c.d << " of " << c.v;
}

// gfortran stops with a run-time error on these descriptors; the kit gives
// asterisks or nothing rather than a wrong number.
TEST(FortranFormatTest, DescriptorsGfortranRejects) {
  EXPECT_EQ(fmt_e(5.0, 10, 0), "**********");
  EXPECT_EQ(fmt_e(5.0, 0, 4), "");
  EXPECT_EQ(fmt_f(5.0, 6, -1), "******");
  EXPECT_EQ(fmt_f(5.0, -1, 2), "");
  EXPECT_EQ(fmt_i(5, 4, 6), "****");
  EXPECT_EQ(fmt_i(5, -1), "");
}

TEST(FortranFormatTest, Integer) {
  const IntCase cases[] = {
      {5LL, 2, 2, "05"}, {2013LL, 4, 4, "2013"},
      {-5LL, 4, 4, "****"}, {-5LL, 5, 4, "-0005"},
      {0LL, 4, 0, "    "}, {3LL, 4, 0, "   3"},
      {0LL, 1, 0, " "}, {-123LL, 4, -1, "-123"},
      {-123LL, 3, -1, "***"}, {1234LL, 3, -1, "***"},
      {999LL, 3, -1, "999"}, {-1LL, 1, -1, "*"},
      {0LL, 2, 1, " 0"}, {0LL, 3, 3, "000"},
      {-42LL, 0, -1, "-42"}, {7LL, 0, 3, "007"},
      {0LL, 0, -1, "0"}, {-12LL, 6, 4, " -0012"},
      {2147483647LL, 10, -1, "2147483647"}, {-2147483648LL, 11, -1, "-2147483648"},
      {-2147483648LL, 10, -1, "**********"}, {9223372036854775807LL, 19, -1, "9223372036854775807"},
      {LLONG_MIN, 20, -1, "-9223372036854775808"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(fmt_i(c.v, c.w, c.m), c.text) << "I" << c.w << "." << c.m << " of " << c.v;
}

TEST(FortranFormatTest, Text) {
  EXPECT_EQ(fmt_a("ab", 5), "   ab");
  EXPECT_EQ(fmt_a("abcd", 2), "ab");
  EXPECT_EQ(fmt_a("abc", 3), "abc");
  EXPECT_EQ(fmt_a("", 3), "   ");
  EXPECT_EQ(fmt_a("abc", 0), "");
  EXPECT_EQ(fmt_ab("ab", 5), "ab   ");
  EXPECT_EQ(fmt_ab("abcd", 2), "ab");
  EXPECT_EQ(fmt_ab("", 2), "  ");
  EXPECT_EQ(platform::list_int(5), " 5");
  EXPECT_EQ(platform::list_int(-12), " -12");
  EXPECT_EQ(platform::list_int(0), " 0");
}

TEST(FortranFormatTest, LineBuilder) {
  EXPECT_EQ(Line().A("x").I(7, 4).F(0.5, 6, 3).X(2).str(), "x   7 0.500");
  EXPECT_EQ(Line().A("a").X(2).str(), "a");
  EXPECT_EQ(Line().X(2).A("a").str(), "  a");
  EXPECT_EQ(Line().A("a").X(2).X(3).A("b").str(), "a     b");
  // An empty text is still a field: the blanks before it are written.
  EXPECT_EQ(Line().A("a").X(2).A("").str(), "a  ");
  EXPECT_EQ(Line().A("abc", 2).Ab("de", 4).E(1.0e6, 11, 4).str(), "abde   0.1000E+07");
  EXPECT_EQ(Line().I(123, 2).A("|").str(), "**|");
  EXPECT_EQ(Line().X(3).str(), "");
  Line buffer;
  buffer.Ab("name", 8).X(1).A("  ");
  EXPECT_EQ(buffer.str(), "name       ");
  EXPECT_EQ(buffer.trimmed(), "name");
}

}  // namespace
