#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pl4120 {

/// Converts a text to a 32-bit integer by the rules shared by the lines-per-page field and the
/// spin edits: optional leading blanks (the space character only), then either an optional "+"
/// or "-" and decimal digits within -2147483648..2147483647, or, without a sign, a hexadecimal
/// number after "$", "x", "X", "0x" or "0X" with at most eight significant digits, read as a
/// 32-bit two's-complement pattern ("$FFFFFFFF" is -1). Nothing may follow the digits.
/// Returns nothing when the text is not such an integer.
std::optional<std::int32_t> TryStrToInt(std::string_view text);

/// As TryStrToInt, but throws EConvertError("'<text>' is not a valid integer value").
std::int32_t StrToInt(std::string_view text);

}  // namespace pl4120
