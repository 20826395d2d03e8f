#include "ui/hints/HintSplit.h"

namespace pl4120 {

HintParts SplitHint(std::string_view hint) {
  const std::size_t bar = hint.find('|');
  if (bar == std::string_view::npos) {
    return {std::string(hint), std::string(hint)};
  }
  return {std::string(hint.substr(0, bar)), std::string(hint.substr(bar + 1))};
}

}  // namespace pl4120
