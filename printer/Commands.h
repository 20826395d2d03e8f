#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>

/// The printer's control codes (ESC/P of a 9-pin printer) as data: for each command the bytes
/// that select it, the shape and length of its arguments, and what it means. The
/// initialisation builder writes codes from this table; the interpreter of the printer's
/// language (escp/) recognises commands by the same rows. The table is fixed; nothing changes
/// it at run time.
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
  // Further single control bytes.
  Bell,             ///< BEL: sound the beeper
  Backspace,        ///< BS: one character back
  HorizontalTab,    ///< HT: to the next tab stop
  VerticalTab,      ///< VT: to the next vertical tab stop
  SelectPrinter,    ///< DC1: select the printer
  DeselectPrinter,  ///< DC3: deselect the printer
  CancelLine,       ///< CAN: delete the text of the current line
  DeleteCharacter,  ///< DEL: delete the last character
  // Further ESC sequences.
  DoubleWidthOnEsc,          ///< ESC SO: as SO
  CondensedOnEsc,            ///< ESC SI: as SI
  PaperFeeder,               ///< ESC EM n: cut-sheet feeder control
  IntercharacterSpace,       ///< ESC SP n: n/120 inch after each character
  MasterSelect,              ///< ESC ! n: pitch and style in one byte
  CancelMsbControl,          ///< ESC #: take bit 7 as received
  AbsolutePosition,          ///< ESC $ nL nH: to (nL + 256 nH)/60 inch from the left margin
  SelectUserCharacters,      ///< ESC % n: user-defined or ROM characters
  DefineUserCharacters,      ///< ESC & NUL n m a d1..d11 ...: define characters n..m
  BitImage,                  ///< ESC * m nL nH d...: graphics in mode m
  Underline,                 ///< ESC - n: underline on (1) or off (0)
  SelectVerticalTabChannel,  ///< ESC / c: vertical tab channel c for VT
  ItalicOn,                  ///< ESC 4: italic
  ItalicOff,                 ///< ESC 5: italic off
  UpperControlPrintable,     ///< ESC 6: bytes 80..9F print as characters
  UpperControlCodes,         ///< ESC 7: bytes 80..9F are control codes
  PaperOutDetectorOff,       ///< ESC 8: ignore the paper-out sensor
  PaperOutDetectorOn,        ///< ESC 9: obey the paper-out sensor
  CopyRomToRam,              ///< ESC : NUL n NUL: copy the ROM characters to RAM
  UnidirectionalLine,        ///< ESC <: one line printed left to right
  MsbZero,                   ///< ESC =: clear bit 7 of every byte
  MsbOne,                    ///< ESC >: set bit 7 of every byte
  ReassignBitImage,          ///< ESC ? c m: graphics code c prints in mode m
  VerticalTabs,              ///< ESC B n1..nk NUL: vertical tab stops at lines n (channel 0)
  PageLengthLines,           ///< ESC C n: page length n lines
  PageLengthInches,          ///< ESC C NUL n: page length n inches
  HorizontalTabs,            ///< ESC D n1..nk NUL: tab stops at columns n
  ControlCodePrinting,       ///< ESC I n: bytes 00..1F and 80..9F print as characters (n = 1)
  FeedN216,                  ///< ESC J n: feed the paper n/216 inch now
  BitImage60,                ///< ESC K nL nH d...: graphics, 60 dots per inch
  BitImage120,               ///< ESC L nL nH d...: graphics, 120 dots per inch
  SkipPerforation,           ///< ESC N n: skip n lines over the perforation
  SkipPerforationOff,        ///< ESC O: no skip over the perforation
  RightMargin,               ///< ESC Q n: right margin after column n
  SuperSubscript,            ///< ESC S n: superscript (0) or subscript (1)
  SuperSubscriptOff,         ///< ESC T: superscript and subscript off
  Unidirectional,            ///< ESC U n: print left to right only (1) or both ways (0)
  DoubleWidth,               ///< ESC W n: double width on (1) or off (0)
  BitImage120Fast,           ///< ESC Y nL nH d...: graphics, 120 dots per inch, full speed
  BitImage240,               ///< ESC Z nL nH d...: graphics, 240 dots per inch
  RelativePosition,          ///< ESC \ nL nH: move (nL + 256 nH)/120 inch, negative to the left
  NinePinBitImage,           ///< ESC ^ m nL nH d...: 9-dot graphics, two bytes a column
  Justification,             ///< ESC a n: left, centre, right or full justification
  VerticalTabsInChannel,     ///< ESC b c n1..nk NUL: vertical tab stops of channel c
  ReverseFeedN216,           ///< ESC j n: feed the paper back n/216 inch
  Typeface,                  ///< ESC k n: typeface of near-letter quality
  LeftMargin,                ///< ESC l n: left margin at column n
  Proportional,              ///< ESC p n: proportional spacing on (1) or off (0)
  Colour,                    ///< ESC r n: ribbon colour n
  HalfSpeed,                 ///< ESC s n: half speed on (1) or off (0)
  CharacterTable,            ///< ESC t n: character table n
  DoubleHeight,              ///< ESC w n: double height on (1) or off (0)
  Quality,                   ///< ESC x n: near-letter quality (1) or draft (0)
  ExtendedCommand,           ///< ESC ( c nL nH d...: a command with a counted argument
};

/// How the arguments that follow a command's code are laid out. `argBytes` of a row counts
/// the fixed bytes at their head; the shape says how many more follow.
enum class Args : std::uint8_t {
  Fixed,           ///< exactly argBytes bytes
  Stops,           ///< ascending values ended by NUL or by a value not above the one before
  ChannelStops,    ///< one channel byte, then Stops
  Columns,         ///< nL nH, then nL + 256 nH data bytes (a byte a column)
  ModeColumns,     ///< m nL nH, then nL + 256 nH columns of BitImageBytesPerColumn(m) bytes
  NineDotColumns,  ///< m nL nH, then 2 (nL + 256 nH) data bytes
  Characters,      ///< n m, then 12 bytes (attribute and 11 columns) for each code n..m
  Counted,         ///< c nL nH, then nL + 256 nH data bytes
};

/// One row of the command table.
struct Command {
  Op op;
  std::string_view code;      ///< the bytes that select the command
  std::uint8_t argBytes;      ///< fixed argument bytes that follow the code
  Args args;                  ///< the shape of the arguments (and of any data after them)
  std::string_view mnemonic;  ///< as the printer's manual writes it ("ESC R n")
  std::string_view meaning;   ///< what the printer does
};

/// Every command a 9-pin ESC/P printer of this class knows, one row per Op, in the order of Op.
/// A code is never the start of another one, apart from ESC C (page length in lines) and
/// ESC C NUL (in inches), which a reader tells apart by the longer match.
inline constexpr Command kCommands[] = {
    {Op::LineFeed, "\x0A", 0, Args::Fixed, "LF", "line feed"},
    {Op::FormFeed, "\x0C", 0, Args::Fixed, "FF", "form feed: eject the sheet"},
    {Op::CarriageReturn, "\x0D", 0, Args::Fixed, "CR", "carriage return"},
    {Op::DoubleWidthOn, "\x0E", 0, Args::Fixed, "SO", "double width for the rest of the line"},
    {Op::CondensedOn, "\x0F", 0, Args::Fixed, "SI", "condensed printing"},
    {Op::CondensedOff, "\x12", 0, Args::Fixed, "DC2", "condensed printing off"},
    {Op::DoubleWidthOff, "\x14", 0, Args::Fixed, "DC4", "double width off"},
    {Op::Reset, "\x1B\x40", 0, Args::Fixed, "ESC @", "initialise the printer"},
    {Op::CharacterSet, "\x1B\x52", 1, Args::Fixed, "ESC R n",
     "select international character set n"},
    {Op::Pitch12, "\x1B\x4D", 0, Args::Fixed, "ESC M", "12 characters per inch"},
    {Op::Pitch10, "\x1B\x50", 0, Args::Fixed, "ESC P", "10 characters per inch"},
    {Op::SpacingEighth, "\x1B\x30", 0, Args::Fixed, "ESC 0", "line spacing 1/8 inch"},
    {Op::SpacingSevenOf72, "\x1B\x31", 0, Args::Fixed, "ESC 1", "line spacing 7/72 inch"},
    {Op::SpacingSixth, "\x1B\x32", 0, Args::Fixed, "ESC 2", "line spacing 1/6 inch"},
    {Op::SpacingN216, "\x1B\x33", 1, Args::Fixed, "ESC 3 n", "line spacing n/216 inch"},
    {Op::SpacingN72, "\x1B\x41", 1, Args::Fixed, "ESC A n", "line spacing n/72 inch (n 0..85)"},
    {Op::EmphasizedOn, "\x1B\x45", 0, Args::Fixed, "ESC E", "emphasised printing"},
    {Op::EmphasizedOff, "\x1B\x46", 0, Args::Fixed, "ESC F", "emphasised printing off"},
    {Op::DoubleStrikeOn, "\x1B\x47", 0, Args::Fixed, "ESC G", "double-strike printing"},
    {Op::DoubleStrikeOff, "\x1B\x48", 0, Args::Fixed, "ESC H", "double-strike printing off"},
    {Op::Bell, "\x07", 0, Args::Fixed, "BEL", "sound the beeper"},
    {Op::Backspace, "\x08", 0, Args::Fixed, "BS", "back one character"},
    {Op::HorizontalTab, "\x09", 0, Args::Fixed, "HT", "to the next horizontal tab stop"},
    {Op::VerticalTab, "\x0B", 0, Args::Fixed, "VT", "to the next vertical tab stop"},
    {Op::SelectPrinter, "\x11", 0, Args::Fixed, "DC1", "select the printer"},
    {Op::DeselectPrinter, "\x13", 0, Args::Fixed, "DC3", "deselect the printer"},
    {Op::CancelLine, "\x18", 0, Args::Fixed, "CAN", "cancel the text of the current line"},
    {Op::DeleteCharacter, "\x7F", 0, Args::Fixed, "DEL", "delete the last character"},
    {Op::DoubleWidthOnEsc, "\x1B\x0E", 0, Args::Fixed, "ESC SO",
     "double width for the rest of the line"},
    {Op::CondensedOnEsc, "\x1B\x0F", 0, Args::Fixed, "ESC SI", "condensed printing"},
    {Op::PaperFeeder, "\x1B\x19", 1, Args::Fixed, "ESC EM n", "cut-sheet feeder control"},
    {Op::IntercharacterSpace, "\x1B\x20", 1, Args::Fixed, "ESC SP n",
     "n/120 inch of space after each character"},
    {Op::MasterSelect, "\x1B\x21", 1, Args::Fixed, "ESC ! n", "pitch and style in one byte"},
    {Op::CancelMsbControl, "\x1B\x23", 0, Args::Fixed, "ESC #", "take bit 7 as received"},
    {Op::AbsolutePosition, "\x1B\x24", 2, Args::Fixed, "ESC $ nL nH",
     "move to (nL + 256 nH)/60 inch from the left margin"},
    {Op::SelectUserCharacters, "\x1B\x25", 1, Args::Fixed, "ESC % n",
     "user-defined (1) or ROM (0) characters"},
    {Op::DefineUserCharacters, std::string_view("\x1B\x26\x00", 3), 2, Args::Characters,
     "ESC & NUL n m a d1..d11", "define the characters n..m"},
    {Op::BitImage, "\x1B\x2A", 3, Args::ModeColumns, "ESC * m nL nH d1..dk", "graphics in mode m"},
    {Op::Underline, "\x1B\x2D", 1, Args::Fixed, "ESC - n", "underline on (1) or off (0)"},
    {Op::SelectVerticalTabChannel, "\x1B\x2F", 1, Args::Fixed, "ESC / c",
     "vertical tab channel c (0..7) for VT"},
    {Op::ItalicOn, "\x1B\x34", 0, Args::Fixed, "ESC 4", "italic"},
    {Op::ItalicOff, "\x1B\x35", 0, Args::Fixed, "ESC 5", "italic off"},
    {Op::UpperControlPrintable, "\x1B\x36", 0, Args::Fixed, "ESC 6",
     "bytes 80..9F print as characters"},
    {Op::UpperControlCodes, "\x1B\x37", 0, Args::Fixed, "ESC 7", "bytes 80..9F are control codes"},
    {Op::PaperOutDetectorOff, "\x1B\x38", 0, Args::Fixed, "ESC 8", "ignore the paper-out sensor"},
    {Op::PaperOutDetectorOn, "\x1B\x39", 0, Args::Fixed, "ESC 9", "obey the paper-out sensor"},
    {Op::CopyRomToRam, "\x1B\x3A", 3, Args::Fixed, "ESC : NUL n NUL",
     "copy the ROM characters to RAM"},
    {Op::UnidirectionalLine, "\x1B\x3C", 0, Args::Fixed, "ESC <",
     "print the current line left to right"},
    {Op::MsbZero, "\x1B\x3D", 0, Args::Fixed, "ESC =", "clear bit 7 of every byte"},
    {Op::MsbOne, "\x1B\x3E", 0, Args::Fixed, "ESC >", "set bit 7 of every byte"},
    {Op::ReassignBitImage, "\x1B\x3F", 2, Args::Fixed, "ESC ? c m",
     "graphics code c prints in mode m"},
    {Op::VerticalTabs, "\x1B\x42", 0, Args::Stops, "ESC B n1..nk NUL",
     "vertical tab stops at lines n1..nk (channel 0)"},
    {Op::PageLengthLines, "\x1B\x43", 1, Args::Fixed, "ESC C n",
     "page length n lines; the current line becomes the top of the page"},
    {Op::PageLengthInches, std::string_view("\x1B\x43\x00", 3), 1, Args::Fixed, "ESC C NUL n",
     "page length n inches; the current line becomes the top of the page"},
    {Op::HorizontalTabs, "\x1B\x44", 0, Args::Stops, "ESC D n1..nk NUL",
     "tab stops at columns n1..nk"},
    {Op::ControlCodePrinting, "\x1B\x49", 1, Args::Fixed, "ESC I n",
     "bytes 00..1F and 80..9F print as characters (1) or not (0)"},
    {Op::FeedN216, "\x1B\x4A", 1, Args::Fixed, "ESC J n", "feed the paper n/216 inch now"},
    {Op::BitImage60, "\x1B\x4B", 2, Args::Columns, "ESC K nL nH d1..dk",
     "graphics, 60 dots per inch"},
    {Op::BitImage120, "\x1B\x4C", 2, Args::Columns, "ESC L nL nH d1..dk",
     "graphics, 120 dots per inch"},
    {Op::SkipPerforation, "\x1B\x4E", 1, Args::Fixed, "ESC N n",
     "skip n lines over the perforation"},
    {Op::SkipPerforationOff, "\x1B\x4F", 0, Args::Fixed, "ESC O", "no skip over the perforation"},
    {Op::RightMargin, "\x1B\x51", 1, Args::Fixed, "ESC Q n", "right margin after column n"},
    {Op::SuperSubscript, "\x1B\x53", 1, Args::Fixed, "ESC S n", "superscript (0) or subscript (1)"},
    {Op::SuperSubscriptOff, "\x1B\x54", 0, Args::Fixed, "ESC T", "superscript and subscript off"},
    {Op::Unidirectional, "\x1B\x55", 1, Args::Fixed, "ESC U n",
     "print left to right only (1) or both ways (0)"},
    {Op::DoubleWidth, "\x1B\x57", 1, Args::Fixed, "ESC W n", "double width on (1) or off (0)"},
    {Op::BitImage120Fast, "\x1B\x59", 2, Args::Columns, "ESC Y nL nH d1..dk",
     "graphics, 120 dots per inch at full speed"},
    {Op::BitImage240, "\x1B\x5A", 2, Args::Columns, "ESC Z nL nH d1..dk",
     "graphics, 240 dots per inch"},
    {Op::RelativePosition, "\x1B\x5C", 2, Args::Fixed, "ESC \\ nL nH",
     "move (nL + 256 nH)/120 inch, to the left when negative"},
    {Op::NinePinBitImage, "\x1B\x5E", 3, Args::NineDotColumns, "ESC ^ m nL nH d1..dk",
     "9-dot graphics, two bytes a column"},
    {Op::Justification, "\x1B\x61", 1, Args::Fixed, "ESC a n",
     "left, centre, right or full justification"},
    {Op::VerticalTabsInChannel, "\x1B\x62", 1, Args::ChannelStops, "ESC b c n1..nk NUL",
     "vertical tab stops of channel c at lines n1..nk"},
    {Op::ReverseFeedN216, "\x1B\x6A", 1, Args::Fixed, "ESC j n", "feed the paper back n/216 inch"},
    {Op::Typeface, "\x1B\x6B", 1, Args::Fixed, "ESC k n", "typeface n of near-letter quality"},
    {Op::LeftMargin, "\x1B\x6C", 1, Args::Fixed, "ESC l n", "left margin at column n"},
    {Op::Proportional, "\x1B\x70", 1, Args::Fixed, "ESC p n",
     "proportional spacing on (1) or off (0)"},
    {Op::Colour, "\x1B\x72", 1, Args::Fixed, "ESC r n", "ribbon colour n"},
    {Op::HalfSpeed, "\x1B\x73", 1, Args::Fixed, "ESC s n", "half speed on (1) or off (0)"},
    {Op::CharacterTable, "\x1B\x74", 1, Args::Fixed, "ESC t n", "character table n"},
    {Op::DoubleHeight, "\x1B\x77", 1, Args::Fixed, "ESC w n", "double height on (1) or off (0)"},
    {Op::Quality, "\x1B\x78", 1, Args::Fixed, "ESC x n", "near-letter quality (1) or draft (0)"},
    {Op::ExtendedCommand, "\x1B\x28", 3, Args::Counted, "ESC ( c nL nH d1..dk",
     "command c with nL + 256 nH bytes of argument"},
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

/// Bytes a column of ESC * graphics in mode m: 8-dot modes take one, 24-dot modes (32, 33,
/// 38..40) three, 48-dot modes (71..73) six.
constexpr std::size_t BitImageBytesPerColumn(std::uint8_t mode) {
  if (mode == 32 || mode == 33 || (mode >= 38 && mode <= 40)) {
    return 3;
  }
  if (mode >= 71 && mode <= 73) {
    return 6;
  }
  return 1;
}

/// How many data bytes follow the fixed arguments of a command of a counted shape (Columns,
/// ModeColumns, NineDotColumns, Characters, Counted); head holds its argBytes fixed argument
/// bytes. 0 for the other shapes.
constexpr std::size_t DataBytes(Args args, const unsigned char* head) {
  switch (args) {
    case Args::Columns:
      return head[0] + 256u * head[1];
    case Args::ModeColumns:
      return (head[1] + 256u * head[2]) * BitImageBytesPerColumn(head[0]);
    case Args::NineDotColumns:
      return 2u * (head[1] + 256u * head[2]);
    case Args::Characters:
      return head[1] >= head[0] ? 12u * (head[1] - head[0] + 1u) : 0u;
    case Args::Counted:
      return head[1] + 256u * head[2];
    case Args::Fixed:
    case Args::Stops:
    case Args::ChannelStops:
      break;
  }
  return 0;
}

/// The bytes of a command with its fixed arguments; the number of arguments must be the row's
/// argBytes (std::invalid_argument otherwise). Data of the variable shapes is appended by the
/// caller.
std::string Encode(Op op, std::initializer_list<std::uint8_t> args = {});

/// The international character set that every character-table choice selects.
inline constexpr std::uint8_t kCharacterSetNumber = 15;

}  // namespace pl4120::cmd
