#include "text/IntConv.h"

#include <string>

#include "text/Errors.h"

namespace pl4120 {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

std::optional<std::int32_t> ParseHex(std::string_view digits) {
  if (digits.empty())
    return std::nullopt;
  std::uint32_t value = 0;
  int significant = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0)
      return std::nullopt;
    if (significant > 0 || d != 0)
      ++significant;
    if (significant > 8)
      return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  return static_cast<std::int32_t>(value);
}

std::optional<std::int32_t> ParseDecimal(std::string_view digits, bool negative) {
  if (digits.empty())
    return std::nullopt;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9')
      return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit)
      return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

}  // namespace

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ')
    ++i;
  std::string_view rest = text.substr(i);
  if (rest.empty())
    return std::nullopt;
  if (rest[0] == '$' || rest[0] == 'x' || rest[0] == 'X')
    return ParseHex(rest.substr(1));
  if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
    return ParseHex(rest.substr(2));
  }
  bool negative = false;
  if (rest[0] == '+' || rest[0] == '-') {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  return ParseDecimal(rest, negative);
}

std::int32_t StrToInt(std::string_view text) {
  if (auto value = TryStrToInt(text))
    return *value;
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace pl4120
