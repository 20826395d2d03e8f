#pragma once

#include <string>
#include <string_view>

namespace pl4120 {

/// A control's hint cut into its two parts: the tooltip text and the status-line text.
struct HintParts {
  std::string shortPart;  ///< before the first "|": the tooltip
  std::string longPart;   ///< after the first "|": the status line
};

/// Splits a hint at its first "|". Without a "|" both parts are the whole text; a leading "|"
/// gives an empty short part; any later "|" belongs to the long part. "|" is one byte in both
/// UTF-8 and the 8-bit code page, so the split is correct for either encoding.
HintParts SplitHint(std::string_view hint);

}  // namespace pl4120
