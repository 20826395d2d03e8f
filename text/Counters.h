#pragma once

#include <cstdint>
#include <string_view>

namespace pl4120 {

/// The line count of a subject text: 1 plus the number of CR (0D) bytes in it. LF bytes do
/// not count; a text ending with a line end counts the empty line after it; an empty text
/// counts 1.
std::int64_t LineCount(std::string_view bytes) noexcept;

/// The line count of a text that holds crCount CR bytes (crCount + 1, at most INT64_MAX); for
/// callers that know the number of line ends from a line structure without looking at the
/// bytes.
std::int64_t LineCountFromCrCount(std::int64_t crCount) noexcept;

/// The page count shown beside the line count: lines div linesPerPage + 1, the division
/// truncating toward zero. The count is not rounded up: 70 lines at 70 per page give 2.
/// A negative linesPerPage gives 1 - (lines div |linesPerPage|) (5 lines at -10 give 1,
/// 25 lines give -1). No value of the arguments overflows: the two results beyond the 64-bit
/// range (INT64_MAX lines at 1 per page, INT64_MIN lines at -1 per page) saturate at INT64_MAX.
/// Throws EDivByZero when linesPerPage is 0.
std::int64_t PageCount(std::int64_t lines, std::int32_t linesPerPage);

/// PageCount with the lines per page given as the text of the field: converted by StrToInt
/// (throws EConvertError "'<text>' is not a valid integer value"), then divided (throws
/// EDivByZero for 0).
std::int64_t PageCount(std::int64_t lines, std::string_view linesPerPageText);

}  // namespace pl4120
