#pragma once

#include <string>

#include "printer/PrinterSettings.h"

namespace pl4120 {

/// What stops the settings from being sent, as the text of an error box; empty when the printer
/// can take them. Only a spacing in units can be out of range: "x 0,353 mm" sends ESC A n, which
/// takes n within the limits of SpinEdit1 and 0..255; "x 0,118 mm" sends ESC 3 n, which takes n
/// within 0..255 (SpinEdit2 has no limits of its own).
std::string SettingsError(const PrinterSettings& settings);

/// The initialisation string for the settings: reset, one code per choice, the test line,
/// CR LF when InitCrLf is set, and a final CR. Raw bytes. Throws std::invalid_argument with
/// the text of SettingsError when the settings cannot be sent.
std::string BuildInitSequence(const PrinterSettings& settings);

}  // namespace pl4120
