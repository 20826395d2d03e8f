#pragma once

#include <string>

namespace pl4120 {

/// The form-feed byte that ejects the current sheet.
inline constexpr char kFormFeed = '\x0C';

/// The bytes that printing sends: the subject text unchanged (no code page conversion, no
/// margins, no pagination), followed by one form feed when formFeed is set. Takes the text
/// by value so that a moved-in text is not copied again.
std::string PrintPayload(std::string subject, bool formFeed);

/// The bytes that eject a sheet: the single form feed.
std::string EjectPayload();

}  // namespace pl4120
