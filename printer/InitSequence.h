#pragma once

#include <string>

#include "printer/PrinterSettings.h"

namespace pl4120 {

/// The initialisation string for the settings: reset, one code per choice, the test line,
/// CR LF when InitCrLf is set, and a final CR. Raw bytes.
std::string BuildInitSequence(const PrinterSettings& settings);

}  // namespace pl4120
