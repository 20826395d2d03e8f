#include "text/IntConv.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "text/Errors.h"

namespace pl4120 {
namespace {

struct Case {
  const char* text;
  std::optional<std::int32_t> value;
};

const Case kCases[] = {
    {"70", 70},
    {"0", 0},
    {" 7", 7},
    {"   -3", -3},
    {"+7", 7},
    {"-10", -10},
    {"007", 7},
    {"$10", 16},
    {"x1F", 31},
    {"X1f", 31},
    {"0x10", 16},
    {"0X10", 16},
    {"$FFFFFFFF", -1},
    {"$80000000", INT_MIN},
    {"$7FFFFFFF", INT_MAX},
    {"$000000010", 16},  // leading zeros are not significant digits
    {"2147483647", INT_MAX},
    {"-2147483648", INT_MIN},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999", std::nullopt},
    {"", std::nullopt},
    {" ", std::nullopt},
    {"-", std::nullopt},
    {"+", std::nullopt},
    {"$", std::nullopt},
    {"0x", std::nullopt},
    {"-$10", std::nullopt},
    {"+$10", std::nullopt},
    {"$123456789", std::nullopt},
    {"$G", std::nullopt},
    {"7 ", std::nullopt},
    {"\t7", std::nullopt},
    {"1e3", std::nullopt},
    {"1.5", std::nullopt},
    {"1,5", std::nullopt},
    {"--1", std::nullopt},
    {"abc", std::nullopt},
};

TEST(IntConv, TryStrToIntTable) {
  for (const Case& c : kCases) {
    EXPECT_EQ(TryStrToInt(c.text), c.value) << "text '" << c.text << "'";
  }
}

TEST(IntConv, StrToIntAgreesWithTryAndThrowsOnInvalidText) {
  for (const Case& c : kCases) {
    if (c.value) {
      EXPECT_EQ(StrToInt(c.text), *c.value) << "text '" << c.text << "'";
    } else {
      EXPECT_THROW(StrToInt(c.text), EConvertError) << "text '" << c.text << "'";
    }
  }
}

TEST(IntConv, ErrorMessageQuotesTheTextAsGiven) {
  struct MessageCase {
    const char* text;
    const char* message;
  };
  const MessageCase cases[] = {
      {"abc", "'abc' is not a valid integer value"},
      {"", "'' is not a valid integer value"},
      {" 7 ", "' 7 ' is not a valid integer value"},
  };
  for (const MessageCase& c : cases) {
    try {
      StrToInt(c.text);
      ADD_FAILURE() << "no exception for '" << c.text << "'";
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

}  // namespace
}  // namespace pl4120
