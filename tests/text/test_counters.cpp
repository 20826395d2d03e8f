#include "text/Counters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "text/Errors.h"
#include "text/PrintPayload.h"

namespace {

using namespace std::string_view_literals;

struct LineCase {
  std::string_view text;
  std::int64_t lines;
};

TEST(LineCount, IsOnePlusTheCrBytes) {
  const LineCase cases[] = {
      {""sv, 1},
      {"a"sv, 1},
      {"a\r\nb"sv, 2},
      {"a\r\n"sv, 2},  // the empty line after a final line end counts
      {"\r\n\r\n\r\n"sv, 4},
      {"a\nb\nc"sv, 1},  // LF alone is not counted
      {"a\rb\rc"sv, 3},  // CR alone is
      {"x\r\ny\r\nz"sv, 3},
      {"\r"sv, 2},
      {"a\0\rb"sv, 2},  // a NUL byte does not end the count
      {"\x8F\xE0\xA8\r\n\xA2\xA5\xE2"sv, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pl4120::LineCount(c.text), c.lines) << '"' << c.text << '"';
  }
}

TEST(LineCount, SixtyNineLinesWithFinalLineEndAreSeventy) {
  std::string text;
  for (int i = 0; i < 69; ++i)
    text += "line\r\n";
  EXPECT_EQ(pl4120::LineCount(text), 70);
  EXPECT_EQ(pl4120::LineCountFromCrCount(69), 70);
}

TEST(LineCount, FromCrCountMatchesByteCount) {
  const std::string_view texts[] = {""sv, "a"sv, "a\r\nb"sv, "\r\r\r"sv};
  for (const auto t : texts) {
    const auto crs = static_cast<std::int64_t>(std::count(t.begin(), t.end(), '\r'));
    EXPECT_EQ(pl4120::LineCountFromCrCount(crs), pl4120::LineCount(t)) << t;
  }
}

struct PageCase {
  std::string_view linesPerPage;
  std::int64_t lines;
  std::int64_t pages;
};

TEST(PageCount, QuotientPlusOneTruncatedTowardZero) {
  const PageCase cases[] = {
      {"70"sv, 1, 1},
      {"70"sv, 69, 1},
      {"70"sv, 70, 2},  // not rounded up: exactly one full page already shows 2
      {"70"sv, 139, 2},
      {"70"sv, 140, 3},
      {"7"sv, 20, 3},
      {"-10"sv, 25, -1},
      {"-10"sv, 5, 1},
      {"-10"sv, 10, 0},
      {"$10"sv, 20, 2},
      {"$FFFFFFFF"sv, 25, -24},
      {" +7"sv, 7, 2},
      {"1"sv, 1, 2},
      {"-1"sv, 1, 0},
      {"-2147483648"sv, 25, 1},
      {"$80000000"sv, 25, 1},
      {"2147483647"sv, 4294967294LL, 3},  // a line count past 32 bits stays exact
      {"-1"sv, 4294967296LL, -4294967295LL},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pl4120::PageCount(c.lines, c.linesPerPage), c.pages)
        << c.lines << " lines at '" << c.linesPerPage << "'";
  }
}

TEST(PageCount, NumericFormAgreesWithText) {
  EXPECT_EQ(pl4120::PageCount(20, std::int32_t{7}), 3);
  EXPECT_EQ(pl4120::PageCount(25, std::int32_t{-1}), -24);
  EXPECT_EQ(pl4120::PageCount(INT32_MAX, INT32_MIN), 1);
  EXPECT_EQ(pl4120::PageCount(std::int64_t{INT32_MIN} * -1, INT32_MIN), 0);
}

// The extremes of both arguments: exact where the result fits, the largest value where it
// does not (INT64_MAX at 1 per page is 2^63, INT64_MIN at -1 per page 2^63 + 1).
TEST(PageCount, ExtremeArgumentsNeitherOverflowNorTrap) {
  constexpr std::int64_t kMax = INT64_MAX;
  constexpr std::int64_t kMin = INT64_MIN;
  const struct {
    std::int64_t lines;
    std::int32_t linesPerPage;
    std::int64_t pages;
  } cases[] = {
      {kMax, 1, kMax},
      {kMin, -1, kMax},
      {kMax - 1, 1, kMax},
      {kMin + 1, -1, kMax},
      {kMax, -1, kMin + 2},
      {kMin, 1, kMin + 1},
      {kMax, 2, kMax / 2 + 1},
      {kMin, -2, kMax / 2 + 2},
      {kMax, INT32_MAX, 4294967299LL},
      {kMax, INT32_MIN, -4294967294LL},
      {kMin, INT32_MIN, 4294967297LL},
      {kMin, INT32_MAX, -4294967297LL},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pl4120::PageCount(c.lines, c.linesPerPage), c.pages)
        << c.lines << " lines at " << c.linesPerPage;
  }
  EXPECT_EQ(pl4120::PageCount(kMax, "1"sv), kMax);
  EXPECT_EQ(pl4120::PageCount(kMin, "$FFFFFFFF"sv), kMax);
}

TEST(LineCount, FromCrCountSaturatesAtTheLargestValue) {
  const std::pair<std::int64_t, std::int64_t> cases[] = {
      {0, 1}, {INT64_MAX - 2, INT64_MAX - 1}, {INT64_MAX - 1, INT64_MAX}, {INT64_MAX, INT64_MAX}};
  for (const auto& [crs, lines] : cases) {
    EXPECT_EQ(pl4120::LineCountFromCrCount(crs), lines) << crs;
  }
}

TEST(PageCount, ZeroLinesPerPageIsDivisionByZero) {
  const std::string_view zeros[] = {"0"sv, "-0"sv, "$0"sv, "0x00000000"sv, "  +0"sv};
  for (const auto z : zeros) {
    try {
      pl4120::PageCount(5, z);
      ADD_FAILURE() << "no exception for '" << z << "'";
    } catch (const pl4120::EDivByZero& e) {
      EXPECT_STREQ(e.what(), "Division by zero");
    }
  }
  EXPECT_THROW(pl4120::PageCount(1, std::int32_t{0}), pl4120::EDivByZero);
}

TEST(PageCount, InvalidTextNamesTheTextInTheMessage) {
  const std::string_view bad[] = {""sv,    "-$10"sv,       "7 "sv,        "1e3"sv,
                                  "abc"sv, "2147483648"sv, "$123456789"sv};
  for (const auto b : bad) {
    try {
      pl4120::PageCount(5, b);
      ADD_FAILURE() << "no exception for '" << b << "'";
    } catch (const pl4120::EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(b) + "' is not a valid integer value");
    }
  }
}

struct PayloadCase {
  std::string_view subject;
  bool formFeed;
  std::string_view sent;
};

TEST(PrintPayload, SubjectUnchangedWithOptionalFormFeed) {
  const PayloadCase cases[] = {
      {"a\r\nb"sv, true, "a\r\nb\x0C"sv},
      {"a\r\nb"sv, false, "a\r\nb"sv},
      {"b"sv, true, "b\x0C"sv},
      {""sv, true, "\x0C"sv},
      {""sv, false, ""sv},
      {"\x0C"sv, true, "\x0C\x0C"sv},  // a form feed in the text is not swallowed
      {"\x1B@\0\xFF"sv, false, "\x1B@\0\xFF"sv},
      {"\x8F\xE0\xA8\xA2\xA5\xE2"sv, true, "\x8F\xE0\xA8\xA2\xA5\xE2\x0C"sv},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pl4120::PrintPayload(std::string(c.subject), c.formFeed), c.sent)
        << "formFeed " << c.formFeed;
  }
}

TEST(PrintPayload, EjectIsOneFormFeed) {
  EXPECT_EQ(pl4120::EjectPayload(), "\x0C"sv);
}

}  // namespace
