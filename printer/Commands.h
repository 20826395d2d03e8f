#pragma once

#include <string_view>

/// The printer's control codes (ESC/P), as raw bytes. The table is fixed; nothing changes it at
/// run time.
namespace pl4120::cmd {

inline constexpr std::string_view kReset = "\x1B\x40";          ///< ESC @: initialise printer
inline constexpr std::string_view kCharTable = "\x1B\x52\x0F";  ///< ESC R 15: character set 15
inline constexpr std::string_view kCondensedOn = "\x0F";        ///< SI
inline constexpr std::string_view kCondensedOff = "\x12";       ///< DC2
inline constexpr std::string_view kDoubleWidthOn = "\x0E";      ///< SO
inline constexpr std::string_view kDoubleWidthOff = "\x14";     ///< DC4
inline constexpr std::string_view kPitch12 = "\x1B\x4D";        ///< ESC M: 12 characters per inch
inline constexpr std::string_view kPitch10 = "\x1B\x50";        ///< ESC P: 10 characters per inch
inline constexpr std::string_view kSpacing254 = "\x1B\x31";     ///< ESC 1: line spacing 2,54 mm
inline constexpr std::string_view kSpacing3175 = "\x1B\x30";    ///< ESC 0: line spacing 3,175 mm
inline constexpr std::string_view kSpacing423 = "\x1B\x32";     ///< ESC 2: line spacing 4,23 mm
inline constexpr std::string_view kQualityOn = "\x1B\x45";      ///< ESC E
inline constexpr std::string_view kQualityOff = "\x1B\x46";     ///< ESC F
inline constexpr std::string_view kDoublePassOn = "\x1B\x47";   ///< ESC G
inline constexpr std::string_view kDoublePassOff = "\x1B\x48";  ///< ESC H
inline constexpr std::string_view kTestLineEnd = "\x0D\x0A";    ///< CR LF after the test line
inline constexpr std::string_view kFinal = "\x0D";              ///< CR, last byte of set-up
inline constexpr std::string_view kFormFeed = "\x0C";           ///< FF: eject the sheet

}  // namespace pl4120::cmd
