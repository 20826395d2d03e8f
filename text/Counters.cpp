#include "text/Counters.h"

#include <algorithm>

#include "text/Errors.h"
#include "text/IntConv.h"

namespace pl4120 {

std::int64_t LineCount(std::string_view bytes) noexcept {
  return LineCountFromCrCount(
      static_cast<std::int64_t>(std::count(bytes.begin(), bytes.end(), '\r')));
}

std::int64_t LineCountFromCrCount(std::int64_t crCount) noexcept {
  return crCount + 1;
}

std::int64_t PageCount(std::int64_t lines, std::int32_t linesPerPage) {
  if (linesPerPage == 0)
    throw EDivByZero();
  // 64-bit operands: INT32_MIN / -1 and a line count above 2^31 both stay in range.
  return lines / static_cast<std::int64_t>(linesPerPage) + 1;
}

std::int64_t PageCount(std::int64_t lines, std::string_view linesPerPageText) {
  return PageCount(lines, StrToInt(linesPerPageText));
}

}  // namespace pl4120
