#include <gtest/gtest.h>

#include <string>

#include "EscpTestSupport.h"
#include "escp/Interpreter.h"

namespace pl4120::escp {
namespace {

using test::DescribeAll;

// A byte string from a literal that may hold NUL bytes.
template <std::size_t N>
std::string B(const char (&text)[N]) {
  return std::string(text, N - 1);
}

struct Case {
  const char* name;
  std::string bytes;
  const char* expected;  // the runs of every page, as test::DescribeAll gives them
};

// Power-on state: 10 cpi (36/360"), 1/6" spacing (36/216"), margins 0 and 80 columns.
const Case kCases[] = {
    // Pitch.
    {"PowerOnPitch", "ab", "0,0:36'ab'"},
    {"Elite",
     "\x1BM"
     "ab",
     "0,0:30l'ab'"},
    {"PicaAfterElite",
     "\x1BM\x1BP"
     "ab",
     "0,0:36'ab'"},
    {"CondensedPica",
     "\x0F"
     "ab",
     "0,0:21c'ab'"},
    {"CondensedElite",
     "\x1BM\x0F"
     "ab",
     "0,0:18lc'ab'"},
    {"CondensedByEsc",
     "\x1B\x0F"
     "ab",
     "0,0:21c'ab'"},
    {"CondensedOff",
     "\x0F\x12"
     "ab",
     "0,0:36'ab'"},
    {"PitchChangeMidLine",
     "a\x1BMb\x0F"
     "c",
     "0,0:36'a' 36,0:30l'b' 66,0:18lc'c'"},
    // Double width.
    {"ShiftOut",
     "\x0E"
     "ab",
     "0,0:72w'ab'"},
    {"ShiftOutByEsc",
     "\x1B\x0E"
     "ab",
     "0,0:72w'ab'"},
    {"ShiftOutEndsWithCarriageReturn",
     "\x0E"
     "ab\rcd",
     "0,0:72w'ab' 0,0:36'cd'"},
    {"ShiftOutEndsWithLineFeed",
     "\x0E"
     "a\nb",
     "0,0:72w'a' 0,36:36'b'"},
    {"DeviceControl4EndsShiftOut",
     "\x0E"
     "a\x14"
     "b",
     "0,0:72w'a' 72,0:36'b'"},
    {"EscW0EndsShiftOut",
     B("\x0E"
       "a\x1BW\x00"
       "b"),
     "0,0:72w'a' 72,0:36'b'"},
    {"EscW1LastsOverLines",
     "\x1BW\x01"
     "a\r\nb",
     "0,0:72w'a' 0,36:72w'b'"},
    {"EscWDigitOne", "\x1BW1a", "0,0:72w'a'"},
    {"EscWDigitZero", "\x1BW1a\x1BW0b", "0,0:72w'a' 72,0:36'b'"},
    {"EscWOtherValueIgnored",
     "\x1BW\x02"
     "a",
     "0,0:36'a'"},
    {"Dc4LeavesEscW",
     "\x1BW1\x14"
     "a",
     "0,0:72w'a'"},
    {"DoubleWidthElite",
     "\x1BM\x0E"
     "a",
     "0,0:60lw'a'"},
    {"DoubleWidthCondensed",
     "\x0F\x0E"
     "a",
     "0,0:42cw'a'"},
    // Line spacing.
    {"PowerOnSpacing", "a\r\nb", "0,0:36'a' 0,36:36'b'"},
    {"Eighth",
     "\x1B"
     "0a\r\nb",
     "0,0:36'a' 0,27:36'b'"},
    {"SevenOf72",
     "\x1B"
     "1a\r\nb",
     "0,0:36'a' 0,21:36'b'"},
    {"Sixth",
     "\x1B"
     "0\x1B"
     "2a\r\nb",
     "0,0:36'a' 0,36:36'b'"},
    {"N216",
     "\x1B"
     "3\x64"
     "a\r\nb",
     "0,0:36'a' 0,100:36'b'"},
    {"N216Zero",
     B("\x1B"
       "3\x00"
       "a\r\nb"),
     "0,0:36'a' 0,0:36'b'"},
    {"N72",
     "\x1B"
     "A\x0A"
     "a\r\nb",
     "0,0:36'a' 0,30:36'b'"},
    {"N72Highest",
     "\x1B"
     "A\x55"
     "a\nb",
     "0,0:36'a' 0,255:36'b'"},
    {"N72PastTheRangeIgnored",
     "\x1B"
     "0\x1B"
     "A\x56"
     "a\nb",
     "0,0:36'a' 0,27:36'b'"},
    {"LineFeedAloneReturnsToTheMargin", "ab\ncd", "0,0:36'ab' 0,36:36'cd'"},
    // Style.
    {"Emphasized",
     "\x1B"
     "Ea\x1B"
     "Fb",
     "0,0:36e'a' 36,0:36'b'"},
    {"DoubleStrike", "\x1BGa\x1BHb", "0,0:36d'a' 36,0:36'b'"},
    {"Italic",
     "\x1B"
     "4a\x1B"
     "5b",
     "0,0:36i'a' 36,0:36'b'"},
    {"Underline",
     B("\x1B-\x01"
       "a\x1B-\x00"
       "b"),
     "0,0:36u'a' 36,0:36'b'"},
    {"UnderlineDigits", "\x1B-1a\x1B-0b", "0,0:36u'a' 36,0:36'b'"},
    {"UnderlineOtherValueIgnored",
     "\x1B-1\x1B-\x02"
     "a",
     "0,0:36u'a'"},
    {"StylesTogether",
     "\x1B"
     "E\x1BG\x1B"
     "4\x1B-1\x1BM\x0F\x0E"
     "a",
     "0,0:36lcwediu'a'"},
    {"StylesLeavePitchAlone",
     "\x1B"
     "E\x1BGab",
     "0,0:36ed'ab'"},
    // Movement.
    {"CarriageReturnOverprints", "abc\r__", "0,0:36'abc' 0,0:36'__'"},
    {"Backspace", "ab\bc", "0,0:36'ab' 36,0:36'c'"},
    {"BackspaceAtTheMarginIgnored", "\ba", "0,0:36'a'"},
    {"BackspaceDoubleWidth",
     "\x0E"
     "ab\bc",
     "0,0:72w'ab' 72,0:72w'c'"},
    {"BackspaceNotPastTheLeftMargin",
     "\x1Bl\x02"
     "a\b\bb",
     "72,0:36'a' 72,0:36'b'"},
    {"TabPowerOnStops", "a\tb\tc", "0,0:36'a' 288,0:36'b' 576,0:36'c'"},
    {"TabStopsSet",
     B("\x1B"
       "D\x03\x06\x00"
       "\ta\tb\tc"),
     "108,0:36'a' 216,0:36'b' 252,0:36'c'"},
    {"TabStopsEndAtASmallerValue",
     "\x1B"
     "D\x05\x03"
     "x\ty",
     "0,0:36'x' 180,0:36'y'"},
    {"TabStopsClearedByNul",
     B("\x1B"
       "D\x00"
       "a\tb"),
     "0,0:36'a' 36,0:36'b'"},
    {"TabStopsKeepThePitchTheyWereSetIn",
     B("\x1B"
       "D\x04\x00\x1BM\tb"),
     "144,0:30l'b'"},
    {"TabStopsSetInElite",
     B("\x1BM\x1B"
       "D\x04\x00\x1BP\tb"),
     "120,0:36'b'"},
    {"TabFollowsTheLeftMargin", "\x1Bl\x02\tb", "360,0:36'b'"},
    {"TabPastTheRightMarginIgnored", "\x1BQ\x0A\ta\tb", "288,0:36'a' 324,0:36'b'"},
    {"FeedN216KeepsTheColumn",
     "\x1BJ\x32"
     "ab\x1BJ\x0A"
     "c",
     "0,50:36'ab' 72,60:36'c'"},
    {"VerticalTabWithoutStopsFeedsALine", "a\vb", "0,0:36'a' 0,36:36'b'"},
    {"VerticalTabStops",
     B("\x1B"
       "B\x03\x06\x00"
       "a\vb\vc"),
     "0,0:36'a' 0,108:36'b' 0,216:36'c'"},
    {"VerticalTabPastTheLastStopEjects",
     B("\x1B"
       "B\x02\x00"
       "a\vb\vc"),
     "0,0:36'a' 0,72:36'b' / 0,0:36'c'"},
    {"VerticalTabAfterClearingReturnsOnly",
     B("\x1B"
       "B\x00"
       "ab\vc"),
     "0,0:36'ab' 0,0:36'c'"},
    {"VerticalTabStopsKeepTheirSpacing",
     B("\x1B"
       "B\x02\x00\x1B"
       "0a\vb"),
     "0,0:36'a' 0,72:36'b'"},
    {"VerticalTabChannel",
     B("\x1B"
       "b\x01\x05\x00\x1B/\x01"
       "a\vb"),
     "0,0:36'a' 0,180:36'b'"},
    {"VerticalTabChannelZeroUnchanged",
     B("\x1B"
       "b\x01\x05\x00"
       "a\vb"),
     "0,0:36'a' 0,36:36'b'"},
    {"VerticalTabChannelPastSevenIgnored",
     B("\x1B"
       "b\x08\x05\x00\x1B/\x08"
       "a\vb"),
     "0,0:36'a' 0,36:36'b'"},
    // Margins.
    {"LeftMargin",
     "\x1Bl\x05"
     "a\r\nb",
     "180,0:36'a' 180,36:36'b'"},
    {"LeftMarginInThePitchOfTheMoment",
     "\x1BM\x1Bl\x05"
     "a",
     "150,0:30l'a'"},
    {"LeftMarginNotCountingDoubleWidth",
     "\x0E\x1Bl\x05"
     "a",
     "180,0:72w'a'"},
    {"LeftMarginTooCloseToTheRightIgnored",
     "\x1Bl\x4F"
     "a",
     "0,0:36'a'"},
    {"LeftMarginLeavingOneWideCharacter",
     "\x1Bl\x4E"
     "a",
     "2808,0:36'a'"},
    {"RightMarginPastThePrintableWidthIgnored",
     "\x1BQ\x51"
     "\x1Bl\x4E"
     "a",
     "2808,0:36'a'"},
    // Reset.
    {"ResetRestoresPowerOnState",
     "\x1B"
     "E\x1BM\x1B"
     "0a\x1B@b\r\nc",
     "0,0:30le'a' 0,0:36'b' 0,36:36'c'"},
    {"ResetRestoresTabStops",
     B("\x1B"
       "D\x01\x00\x1B@\tb"),
     "288,0:36'b'"},
    // Commands that leave no mark are consumed with their arguments.
    {"CharacterSet",
     "\x1BR\x0F"
     "a",
     "0,0:36'a'"},
    {"CharacterSetArgumentThatLooksLikeALineFeed", "\x1BR\na", "0,0:36'a'"},
    {"MasterSelectIgnored",
     "\x1B!\x01"
     "a",
     "0,0:36'a'"},
    {"AbsolutePositionIgnored",
     B("\x1B$\x10\x00"
       "a"),
     "0,0:36'a'"},
    {"BitImage60",
     B("\x1BK\x02\x00"
       "xy"
       "a"),
     "0,0:36'a'"},
    {"BitImage240",
     B("\x1BZ\x01\x00"
       "\n"
       "a"),
     "0,0:36'a'"},
    {"BitImageMode",
     B("\x1B*\x27\x01\x00"
       "xyz"
       "a"),
     "0,0:36'a'"},
    {"NinePinBitImage",
     B("\x1B^\x00\x02\x00"
       "wxyz"
       "a"),
     "0,0:36'a'"},
    {"UserCharacters",
     B("\x1B&\x00"
       "AA"
       "0123456789AB"
       "a"),
     "0,0:36'a'"},
    {"ExtendedCommand",
     B("\x1B(t\x03\x00"
       "\x01\x02\x03"
       "a"),
     "0,0:36'a'"},
    {"CopyRomToRam",
     B("\x1B:\x00\x00\x00"
       "a"),
     "0,0:36'a'"},
    {"UnknownEscapeTakesTwoBytes", "\x1B~ab", "0,0:36'ab'"},
    {"EscapeEscape",
     "\x1B\x1B"
     "ab",
     "0,0:36'ab'"},
    {"EscapeBeforeANewLineSwallowsIt", "a\x1B\nb", "0,0:36'a' 36,0:36'b'"},
    {"ControlBytesWithoutMeaningSkipped",
     B("a\x00\x07\x11\x13\x18\x7F\x1A"
       "b"),
     "0,0:36'a' 36,0:36'b'"},
    {"HighBytesPrint", "\x80\xA0\xB0\xDB\xFF", "0,0:36'\x80\xA0\xB0\xDB\xFF'"},
};

TEST(EscpCommands, PositionsAndStyles) {
  const Paper paper = Paper::Of(PaperKind::A4);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);

    const std::string described = DescribeAll(c.bytes, paper);

    EXPECT_EQ(described, c.expected);
    test::ExpectIndexAgrees(c.bytes, paper);
  }
}

}  // namespace
}  // namespace pl4120::escp
