#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

/// The printer's control codes (ESC/P) as data: for each command the bytes that select it, how
/// many argument bytes follow them, and what it means. The initialisation builder writes codes
/// from this table; an interpreter of the printer's language reads them by the same rows. The
/// table is fixed; nothing changes it at run time.
namespace pl4120::cmd {

/// What a command does; one value per row of the table.
enum class Op : std::uint8_t {
  // Single control bytes.
  LineFeed,        ///< LF: advance one line
  FormFeed,        ///< FF: eject the sheet
  CarriageReturn,  ///< CR: back to the left margin
  DoubleWidthOn,   ///< SO: double width (for the rest of the line)
  CondensedOn,     ///< SI: condensed printing
  CondensedOff,    ///< DC2: condensed off
  DoubleWidthOff,  ///< DC4: double width off
  // ESC sequences.
  Reset,             ///< ESC @: initialise the printer
  CharacterSet,      ///< ESC R n: international character set n
  Pitch12,           ///< ESC M: 12 characters per inch
  Pitch10,           ///< ESC P: 10 characters per inch
  SpacingEighth,     ///< ESC 0: line spacing 1/8 inch (3,175 mm)
  SpacingSevenOf72,  ///< ESC 1: line spacing 7/72 inch (2,47 mm)
  SpacingSixth,      ///< ESC 2: line spacing 1/6 inch (4,23 mm)
  SpacingN216,       ///< ESC 3 n: line spacing n/216 inch
  SpacingN72,        ///< ESC A n: line spacing n/72 inch
  EmphasizedOn,      ///< ESC E: emphasised (quality) printing
  EmphasizedOff,     ///< ESC F: emphasised off
  DoubleStrikeOn,    ///< ESC G: double-strike (two-pass) printing
  DoubleStrikeOff,   ///< ESC H: double-strike off
};

/// One row of the command table.
struct Command {
  Op op;
  std::string_view code;      ///< the bytes that select the command
  std::uint8_t argBytes;      ///< argument bytes that follow the code
  std::string_view mnemonic;  ///< as the printer's manual writes it ("ESC R n")
  std::string_view meaning;   ///< what the printer does
};

/// Every command the program knows, one row per Op, in the order of Op.
inline constexpr Command kCommands[] = {
    {Op::LineFeed, "\x0A", 0, "LF", "line feed"},
    {Op::FormFeed, "\x0C", 0, "FF", "form feed: eject the sheet"},
    {Op::CarriageReturn, "\x0D", 0, "CR", "carriage return"},
    {Op::DoubleWidthOn, "\x0E", 0, "SO", "double width for the rest of the line"},
    {Op::CondensedOn, "\x0F", 0, "SI", "condensed printing"},
    {Op::CondensedOff, "\x12", 0, "DC2", "condensed printing off"},
    {Op::DoubleWidthOff, "\x14", 0, "DC4", "double width off"},
    {Op::Reset, "\x1B\x40", 0, "ESC @", "initialise the printer"},
    {Op::CharacterSet, "\x1B\x52", 1, "ESC R n", "select international character set n"},
    {Op::Pitch12, "\x1B\x4D", 0, "ESC M", "12 characters per inch"},
    {Op::Pitch10, "\x1B\x50", 0, "ESC P", "10 characters per inch"},
    {Op::SpacingEighth, "\x1B\x30", 0, "ESC 0", "line spacing 1/8 inch"},
    {Op::SpacingSevenOf72, "\x1B\x31", 0, "ESC 1", "line spacing 7/72 inch"},
    {Op::SpacingSixth, "\x1B\x32", 0, "ESC 2", "line spacing 1/6 inch"},
    {Op::SpacingN216, "\x1B\x33", 1, "ESC 3 n", "line spacing n/216 inch"},
    {Op::SpacingN72, "\x1B\x41", 1, "ESC A n", "line spacing n/72 inch"},
    {Op::EmphasizedOn, "\x1B\x45", 0, "ESC E", "emphasised printing"},
    {Op::EmphasizedOff, "\x1B\x46", 0, "ESC F", "emphasised printing off"},
    {Op::DoubleStrikeOn, "\x1B\x47", 0, "ESC G", "double-strike printing"},
    {Op::DoubleStrikeOff, "\x1B\x48", 0, "ESC H", "double-strike printing off"},
};

constexpr bool RowsFollowOps() {
  for (std::size_t i = 0; i < std::size(kCommands); ++i) {
    if (static_cast<std::size_t>(kCommands[i].op) != i) {
      return false;
    }
  }
  return true;
}
static_assert(RowsFollowOps(), "one row per Op, in the order of Op");

/// The row of a command.
constexpr const Command& Lookup(Op op) {
  return kCommands[static_cast<std::size_t>(op)];
}

/// The bytes of a command with its arguments; the number of arguments must be the row's
/// argBytes (std::invalid_argument otherwise).
std::string Encode(Op op, std::initializer_list<std::uint8_t> args = {});

/// The international character set that every character-table choice selects.
inline constexpr std::uint8_t kCharacterSetNumber = 15;

}  // namespace pl4120::cmd
