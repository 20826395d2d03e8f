// The integer conversion of the lines-per-page field against the conversion rules written out
// once more, and the page and line counts that use it against a computation that cannot
// overflow.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "tests/fuzz/FuzzCheck.h"
#include "text/Counters.h"
#include "text/Errors.h"
#include "text/IntConv.h"

namespace {

using pl4120::fuzz::Check;

constexpr std::size_t kNone = std::string_view::npos;
constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();

// The value of one or more digits of `base` (10 or 16) of which at most `maxSignificant` follow
// the leading zeros; nothing for any other text.
std::optional<std::uint64_t> Digits(std::string_view digits, int base, std::size_t maxSignificant) {
  const std::string_view allowed = base == 16 ? "0123456789abcdefABCDEF" : "0123456789";
  if (digits.empty() || digits.find_first_not_of(allowed) != kNone) {
    return std::nullopt;
  }
  digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.size() > maxSignificant) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
  return value;
}

// Blanks, then "$", "x", "X", "0x" or "0X" and one to any number of hexadecimal digits of which
// at most eight are significant (a 32-bit pattern), or an optional sign and decimal digits
// within the 32-bit range.
std::optional<std::int32_t> Reference(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == kNone) {
    return std::nullopt;
  }
  std::string_view rest = text.substr(start);
  for (const std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (rest.starts_with(prefix)) {
      const auto pattern = Digits(rest.substr(prefix.size()), 16, 8);
      return pattern ? std::optional(static_cast<std::int32_t>(*pattern)) : std::nullopt;
    }
  }
  const bool negative = rest.front() == '-';
  if (rest.front() == '-' || rest.front() == '+') {
    rest.remove_prefix(1);
  }
  const auto magnitude = Digits(rest, 10, 10);
  if (!magnitude) {
    return std::nullopt;
  }
  const auto value =
      negative ? -static_cast<std::int64_t>(*magnitude) : static_cast<std::int64_t>(*magnitude);
  if (value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max()) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(value);
}

// lines div perPage + 1 from the magnitudes, in unsigned arithmetic; the one result above the
// 64-bit range (2^63 and 2^63 + 1) comes back as the largest value.
std::int64_t ReferencePages(std::int64_t lines, std::int32_t perPage) {
  const std::uint64_t lineMagnitude =
      lines < 0 ? 0 - static_cast<std::uint64_t>(lines) : static_cast<std::uint64_t>(lines);
  const std::uint64_t pageMagnitude =
      perPage < 0 ? 0 - static_cast<std::uint64_t>(perPage) : static_cast<std::uint64_t>(perPage);
  const std::uint64_t quotient = lineMagnitude / pageMagnitude;
  if ((lines < 0) != (perPage < 0)) {
    return quotient == 0 ? 1 : -static_cast<std::int64_t>(quotient - 1);
  }
  return quotient >= static_cast<std::uint64_t>(kMax64) ? kMax64
                                                        : static_cast<std::int64_t>(quotient) + 1;
}

std::string Hex(std::uint32_t value) {
  char digits[8];
  const auto end = std::to_chars(digits, digits + sizeof digits, value, 16).ptr;
  return "$" + std::string(digits, end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::int64_t lines = input.ConsumeBool()
                                 ? input.PickValueInArray<std::int64_t>(
                                       {kMin64, kMin64 + 1, -1, 0, 1, 2, kMax64 - 1, kMax64})
                                 : input.ConsumeIntegral<std::int64_t>();
  const std::string text = input.ConsumeRemainingBytesAsString();

  const std::optional<std::int32_t> value = pl4120::TryStrToInt(text);
  Check(value == Reference(text), "TryStrToInt follows the conversion rules");
  try {
    Check(pl4120::StrToInt(text) == value, "StrToInt gives the value of TryStrToInt");
  } catch (const pl4120::EConvertError& e) {
    Check(!value, "StrToInt fails only where TryStrToInt does");
    // what() is a C string: a NUL in the text ends the message there.
    const std::string message = "'" + text + "' is not a valid integer value";
    Check(e.what() == message.substr(0, message.find('\0')), "the message names the text");
  }
  if (value) {
    Check(pl4120::TryStrToInt(std::to_string(*value)) == value, "decimal form converts back");
    Check(pl4120::TryStrToInt(Hex(static_cast<std::uint32_t>(*value))) == value,
          "hexadecimal form converts back");
  }

  Check(pl4120::LineCountFromCrCount(lines) == (lines == kMax64 ? kMax64 : lines + 1),
        "the line count is one more than the CR count, at most the largest value");
  try {
    const std::int64_t pages = pl4120::PageCount(lines, text);
    Check(value && *value != 0, "a page count only for a usable number");
    Check(pages == ReferencePages(lines, *value), "the page count is lines div per page + 1");
    Check(pages == pl4120::PageCount(lines, *value), "text and number give the same pages");
  } catch (const pl4120::EConvertError&) {
    Check(!value, "the conversion fails only for a text that is no number");
  } catch (const pl4120::EDivByZero&) {
    Check(value == 0, "division by zero only for 0 lines per page");
  }
  return 0;
}
