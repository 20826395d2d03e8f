#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

/// The printer's language read back into sheets: the bytes the program sends (initialisation
/// and payload) laid out as a 9-pin ESC/P printer of this class puts them on paper. Pure
/// functions of the bytes and a paper; standard library only. It draws nothing: a page is a
/// list of runs of characters with their place, pitch and style, and the bytes of a run are the
/// raw code page 866 bytes as sent (named by their offset in the interpreted bytes).
///
/// Units: horizontal positions and widths in 1/360 inch, vertical ones in 1/216 inch; every
/// pitch and spacing of the printer is a whole number of them.
///
/// Commands and how they are taken (the command table of printer/Commands.h gives each its
/// bytes and arguments; the interpreter finds commands through it):
///  - ESC @ resets every setting below to its power-on value; the paper does not move.
///  - Pitch: ESC P 10 cpi (36 units, the power-on pitch), ESC M 12 cpi (30); SI or ESC SI
///    condensed, 17.14 cpi at 10 cpi (21) and 20 cpi at 12 cpi (18); DC2 condensed off.
///  - Width: SO or ESC SO double width until the line ends (CR, LF, FF, VT, a wrap, DC4 or
///    ESC W 0); ESC W 1 / ESC W 0 (also '1' / '0') double width until cancelled.
///  - Spacing: ESC 0 1/8", ESC 1 7/72", ESC 2 1/6" (power-on), ESC 3 n n/216", ESC A n n/72"
///    (n 0..85; other n leave the spacing as it was).
///  - Style: ESC E / ESC F emphasised, ESC G / ESC H double strike, ESC 4 / ESC 5 italic,
///    ESC - 1 / ESC - 0 (also '1' / '0') underline. Styles never change the pitch.
///  - CR to the left margin. LF to the left margin and one line down. BS one character back,
///    not past the left margin. HT to the next tab stop right of the print position, ignored
///    when there is none or it lies past the right margin; the stops are kept in 1/360 inch
///    from the left margin, so they follow the margin but not later pitch changes (power-on:
///    every 8 characters of 10 cpi). ESC D n1..nk NUL sets up to 32 stops at columns of the
///    current pitch; a value not above the one before ends the list as NUL does.
///  - VT: a line feed while no vertical stops were set since the reset; a carriage return when
///    they were all cleared (ESC B NUL); else down to the next stop of the channel chosen by
///    ESC / c, to the next page when there is none below or it lies past the page length, and
///    ignored when it lies in the skip over the perforation. ESC B sets up to 16 stops of
///    channel 0 and ESC b c those of channel c, at lines of the current spacing from the top
///    of the page.
///  - ESC J n feeds n/216" without a carriage return. FF ends the page: the next line is the
///    top of the next sheet, also when FF comes at the top of a sheet (a blank sheet).
///  - ESC C n (n 1..127 lines of the current spacing, at most 22") and ESC C NUL n (1..22
///    inches) set the page length and make the current line the top of the page; both cancel
///    ESC N. ESC N n (1..127 lines, shorter than the page) skips n lines over the
///    perforation: a feed that reaches the last n lines of the page goes on at the top of the
///    next one. ESC O cancels it. Without a skip the paper is continuous: a feed past the
///    page's end goes on the next page as far below its top as it went past the end.
///  - ESC l n and ESC Q n put the left margin before, the right margin after column n of the
///    current pitch (double width not counted); a setting that leaves less than 72 units
///    (one double-width 10 cpi character) between them, or a right margin past the printable
///    width (8", 80 columns of 10 cpi), is ignored. A character that does not fit before the
///    right margin goes to the start of the next line, as the printer wraps a full line.
///  - The page length is the sheet's height until ESC C changes it. A line that would run
///    off the bottom of the sheet (a page longer than the sheet) goes to the top of the next.
///  - Every other command of the table (ESC R n, ESC t n, ESC ! n, ESC SP n, ESC $, ESC \,
///    graphics ESC K L Y Z * ^ with their data, ESC & with its characters, ESC ( c nL nH with
///    its bytes, CAN, DEL, BEL, DC1, DC3, ...) is consumed with its exact length and has no
///    effect on the layout; graphics are not drawn. An ESC with a byte the table does not know
///    consumes the two bytes; other control bytes (00..1F) are skipped. Bytes 20..7E and
///    80..FF print as characters of code page 866.
///  - A sequence cut off by the end of the bytes is dropped. Every byte is looked at a bounded
///    number of times, whatever the input.
namespace pl4120::escp {

/// The height of a character line of the 9-pin head (nine dots at 1/72"), 1/216 inch.
inline constexpr int kLineHeight = 27;

/// The widest printed line: 80 columns of 10 cpi, in 1/360 inch.
inline constexpr int kPrintableWidth = 2880;

/// The sheets the preview knows.
enum class PaperKind : std::uint8_t {
  A4,             ///< 210 x 297 mm, portrait
  Letter,         ///< 8.5 x 11 inches
  Fanfold240x12,  ///< continuous paper 240 mm wide, 12 inches from perforation to perforation
};

/// A sheet of paper and where the printer prints on it.
struct Paper {
  int width = 0;   ///< 1/360 inch
  int height = 0;  ///< 1/216 inch
  int left = 0;    ///< the printer's left-most print position from the sheet's left edge
  int printableWidth = kPrintableWidth;  ///< 1/360 inch from that position

  /// The sheet of a kind; the printed width is centred on it.
  static Paper Of(PaperKind kind);

  bool operator==(const Paper&) const = default;
};

/// Why a page ended.
enum class PageEnd : std::uint8_t {
  FormFeed,    ///< FF, or VT with no stop left on the page
  PageLength,  ///< a feed reached the page length or the skip over the perforation
  SheetEnd,    ///< the next line would have run off the sheet
  End,         ///< the bytes ended
};

/// Style bits of a run.
enum RunFlag : std::uint8_t {
  kCondensed = 1u << 0,
  kDoubleWidth = 1u << 1,  ///< SO, ESC SO or ESC W 1
  kEmphasized = 1u << 2,
  kDoubleStrike = 1u << 3,
  kItalic = 1u << 4,
  kUnderline = 1u << 5,
  kElite = 1u << 6,  ///< 12 cpi (else 10 cpi)
};

/// Characters printed side by side in one style, never more than a line. The characters are
/// named by their place in the interpreted bytes, so a page stays valid when those bytes go
/// away; Bytes() reads them.
struct Run {
  std::uint16_t x = 0;       ///< left edge of the first character from the sheet's left edge
  std::uint16_t y = 0;       ///< top of the line from the sheet's top edge
  std::uint8_t advance = 0;  ///< width of each character, 1/360 inch
  std::uint8_t flags = 0;    ///< RunFlag bits
  std::uint16_t length = 0;  ///< number of characters (bytes)
  std::uint64_t offset = 0;  ///< where the characters are in the interpreted bytes

  /// The characters' raw code page 866 bytes; `bytes` must be those that were interpreted.
  std::string_view Bytes(std::string_view bytes) const { return bytes.substr(offset, length); }
  int Width() const noexcept { return advance * length; }
  bool operator==(const Run&) const = default;
};

/// One sheet.
struct Page {
  std::vector<Run> runs;  ///< in the order the printer received them
  PageEnd end = PageEnd::End;

  bool operator==(const Page&) const = default;
};

/// The printer's state where a page begins: enough to lay the page out again without reading
/// what came before it.
struct PageStart {
  std::uint64_t offset = 0;  ///< the first byte that belongs to the page
  std::uint32_t tabs = 0;    ///< the tab stops in force: an index into PageIndex::tabs
  std::uint16_t x = 0;       ///< print position from the left-most print position
  std::uint16_t y = 0;       ///< print position from the top of the sheet
  std::uint16_t spacing = 0;
  std::uint16_t pageLength = 0;
  std::uint16_t skip = 0;  ///< skip over the perforation; 0 for none
  std::uint16_t leftMargin = 0;
  std::uint16_t rightMargin = 0;
  std::uint16_t mode = 0;  ///< pitch, width and style bits and the vertical tab channel
  PageEnd end = PageEnd::End;
};

/// Tab stops, horizontal ones in 1/360 inch from the left margin and vertical ones in
/// 1/216 inch from the top of the page.
struct TabStops {
  std::array<std::uint16_t, 32> horizontal{};
  std::array<std::array<std::uint16_t, 16>, 8> vertical{};
  std::array<std::uint8_t, 8> verticalCount{};
  std::uint8_t horizontalCount = 0;
  std::uint8_t verticalSet = 0;  ///< a bit for each channel whose stops were set since a reset

  bool operator==(const TabStops&) const = default;
};

/// Where every page begins. Small: one PageStart a page and one TabStops for each change of
/// the tab stops between pages.
struct PageIndex {
  Paper paper;
  std::vector<PageStart> pages;
  std::vector<TabStops> tabs;
};

/// Every page of the bytes on the paper. Never empty: bytes that print nothing give one blank
/// page. A last page that would hold nothing is left out (the bytes ended at the top of a
/// sheet that was never printed on).
std::vector<Page> Interpret(std::string_view bytes, const Paper& paper = Paper::Of(PaperKind::A4));

/// The pages' starts, in one pass that keeps no runs; the same pages as Interpret.
PageIndex IndexPages(std::string_view bytes, const Paper& paper = Paper::Of(PaperKind::A4));

/// Page number `page` of the index laid out from its start; equal to Interpret's page. The
/// bytes must be those the index was made of. std::out_of_range for a page the index lacks.
Page LayoutPage(std::string_view bytes, const PageIndex& index, std::size_t page);

}  // namespace pl4120::escp
