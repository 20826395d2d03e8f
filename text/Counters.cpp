#include "text/Counters.h"

#include <algorithm>
#include <limits>

#include "text/Errors.h"
#include "text/IntConv.h"

namespace pl4120 {
namespace {

constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max();

}  // namespace

std::int64_t LineCount(std::string_view bytes) noexcept {
  return LineCountFromCrCount(
      static_cast<std::int64_t>(std::count(bytes.begin(), bytes.end(), '\r')));
}

std::int64_t LineCountFromCrCount(std::int64_t crCount) noexcept {
  return crCount == kLargest ? kLargest : crCount + 1;
}

std::int64_t PageCount(std::int64_t lines, std::int32_t linesPerPage) {
  if (linesPerPage == 0)
    throw EDivByZero();
  // The only quotient outside the 64-bit range is INT64_MIN / -1 (2^63); the only one that
  // cannot take the + 1 is INT64_MAX / 1. Both page counts saturate at the largest value.
  if (linesPerPage == -1 && lines == std::numeric_limits<std::int64_t>::min())
    return kLargest;
  const std::int64_t quotient = lines / linesPerPage;
  return quotient == kLargest ? kLargest : quotient + 1;
}

std::int64_t PageCount(std::int64_t lines, std::string_view linesPerPageText) {
  return PageCount(lines, StrToInt(linesPerPageText));
}

}  // namespace pl4120
