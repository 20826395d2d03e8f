#include <gtest/gtest.h>

#include <string>

#include "EscpTestSupport.h"
#include "escp/Interpreter.h"

namespace pl4120::escp {
namespace {

using test::DescribeAll;

struct Case {
  const char* name;
  const char* bytes;     // as test::Bytes reads them
  const char* expected;  // the runs of every page, as test::DescribeAll gives them
};

// Power-on state: 10 cpi (36/360"), 1/6" spacing (36/216"), margins 0 and 80 columns.
const Case kCases[] = {
    // Pitch.
    {"PowerOnPitch", "'ab'", "0,0:36'ab'"},
    {"Elite", "ESC M 'ab'", "0,0:30l'ab'"},
    {"PicaAfterElite", "ESC M ESC P 'ab'", "0,0:36'ab'"},
    {"CondensedPica", "SI 'ab'", "0,0:21c'ab'"},
    {"CondensedElite", "ESC M SI 'ab'", "0,0:18lc'ab'"},
    {"CondensedByEsc", "ESC SI 'ab'", "0,0:21c'ab'"},
    {"CondensedOff", "SI DC2 'ab'", "0,0:36'ab'"},
    {"PitchChangeMidLine", "'a' ESC M 'b' SI 'c'", "0,0:36'a' 36,0:30l'b' 66,0:18lc'c'"},
    // Double width.
    {"ShiftOut", "SO 'ab'", "0,0:72w'ab'"},
    {"ShiftOutByEsc", "ESC SO 'ab'", "0,0:72w'ab'"},
    {"ShiftOutEndsWithCarriageReturn", "SO 'ab' CR 'cd'", "0,0:72w'ab' 0,0:36'cd'"},
    {"ShiftOutEndsWithLineFeed", "SO 'a' LF 'b'", "0,0:72w'a' 0,36:36'b'"},
    {"DeviceControl4EndsShiftOut", "SO 'a' DC4 'b'", "0,0:72w'a' 72,0:36'b'"},
    {"EscW0EndsShiftOut", "SO 'a' ESC W NUL 'b'", "0,0:72w'a' 72,0:36'b'"},
    {"EscW1LastsOverLines", "ESC W #1 'a' CR LF 'b'", "0,0:72w'a' 0,36:72w'b'"},
    {"EscWDigitOne", "ESC W 1 'a'", "0,0:72w'a'"},
    {"EscWDigitZero", "ESC W 1 'a' ESC W 0 'b'", "0,0:72w'a' 72,0:36'b'"},
    {"EscWOtherValueIgnored", "ESC W #2 'a'", "0,0:36'a'"},
    {"Dc4LeavesEscW", "ESC W 1 DC4 'a'", "0,0:72w'a'"},
    {"DoubleWidthElite", "ESC M SO 'a'", "0,0:60lw'a'"},
    {"DoubleWidthCondensed", "SI SO 'a'", "0,0:42cw'a'"},
    // Line spacing.
    {"PowerOnSpacing", "'a' CR LF 'b'", "0,0:36'a' 0,36:36'b'"},
    {"Eighth", "ESC 0 'a' CR LF 'b'", "0,0:36'a' 0,27:36'b'"},
    {"SevenOf72", "ESC 1 'a' CR LF 'b'", "0,0:36'a' 0,21:36'b'"},
    {"Sixth", "ESC 0 ESC 2 'a' CR LF 'b'", "0,0:36'a' 0,36:36'b'"},
    {"N216", "ESC 3 #100 'a' CR LF 'b'", "0,0:36'a' 0,100:36'b'"},
    {"N216Zero", "ESC 3 NUL 'a' CR LF 'b'", "0,0:36'a' 0,0:36'b'"},
    {"N72", "ESC A #10 'a' CR LF 'b'", "0,0:36'a' 0,30:36'b'"},
    {"N72Highest", "ESC A #85 'a' LF 'b'", "0,0:36'a' 0,255:36'b'"},
    {"N72PastTheRangeIgnored", "ESC 0 ESC A #86 'a' LF 'b'", "0,0:36'a' 0,27:36'b'"},
    {"LineFeedAloneReturnsToTheMargin", "'ab' LF 'cd'", "0,0:36'ab' 0,36:36'cd'"},
    // Style.
    {"Emphasized", "ESC E 'a' ESC F 'b'", "0,0:36e'a' 36,0:36'b'"},
    {"DoubleStrike", "ESC G 'a' ESC H 'b'", "0,0:36d'a' 36,0:36'b'"},
    {"Italic", "ESC 4 'a' ESC 5 'b'", "0,0:36i'a' 36,0:36'b'"},
    {"Underline", "ESC - #1 'a' ESC - NUL 'b'", "0,0:36u'a' 36,0:36'b'"},
    {"UnderlineDigits", "ESC - 1 'a' ESC - 0 'b'", "0,0:36u'a' 36,0:36'b'"},
    {"UnderlineOtherValueIgnored", "ESC - 1 ESC - #2 'a'", "0,0:36u'a'"},
    {"StylesTogether", "ESC E ESC G ESC 4 ESC - 1 ESC M SI SO 'a'", "0,0:36lcwediu'a'"},
    {"StylesLeavePitchAlone", "ESC E ESC G 'ab'", "0,0:36ed'ab'"},
    // Movement.
    {"CarriageReturnOverprints", "'abc' CR '__'", "0,0:36'abc' 0,0:36'__'"},
    {"Backspace", "'ab' BS 'c'", "0,0:36'ab' 36,0:36'c'"},
    {"BackspaceAtTheMarginIgnored", "BS 'a'", "0,0:36'a'"},
    {"BackspaceDoubleWidth", "SO 'ab' BS 'c'", "0,0:72w'ab' 72,0:72w'c'"},
    {"BackspaceNotPastTheLeftMargin", "ESC l #2 'a' BS BS 'b'", "72,0:36'a' 72,0:36'b'"},
    {"TabPowerOnStops", "'a' HT 'b' HT 'c'", "0,0:36'a' 288,0:36'b' 576,0:36'c'"},
    {"TabStopsSet", "ESC D #3 #6 NUL HT 'a' HT 'b' HT 'c'", "108,0:36'a' 216,0:36'b' 252,0:36'c'"},
    {"TabStopsEndAtASmallerValue", "ESC D #5 #3 'x' HT 'y'", "0,0:36'x' 180,0:36'y'"},
    {"TabStopsClearedByNul", "ESC D NUL 'a' HT 'b'", "0,0:36'a' 36,0:36'b'"},
    {"TabStopsKeepThePitchTheyWereSetIn", "ESC D #4 NUL ESC M HT 'b'", "144,0:30l'b'"},
    {"TabStopsSetInElite", "ESC M ESC D #4 NUL ESC P HT 'b'", "120,0:36'b'"},
    {"TabFollowsTheLeftMargin", "ESC l #2 HT 'b'", "360,0:36'b'"},
    {"TabPastTheRightMarginIgnored", "ESC Q #10 HT 'a' HT 'b'", "288,0:36'a' 324,0:36'b'"},
    {"FeedN216KeepsTheColumn", "ESC J #50 'ab' ESC J #10 'c'", "0,50:36'ab' 72,60:36'c'"},
    {"VerticalTabWithoutStopsFeedsALine", "'a' VT 'b'", "0,0:36'a' 0,36:36'b'"},
    {"VerticalTabStops", "ESC B #3 #6 NUL 'a' VT 'b' VT 'c'", "0,0:36'a' 0,108:36'b' 0,216:36'c'"},
    {"VerticalTabPastTheLastStopEjects", "ESC B #2 NUL 'a' VT 'b' VT 'c'",
     "0,0:36'a' 0,72:36'b' / 0,0:36'c'"},
    {"VerticalTabAfterClearingReturnsOnly", "ESC B NUL 'ab' VT 'c'", "0,0:36'ab' 0,0:36'c'"},
    {"VerticalTabStopsKeepTheirSpacing", "ESC B #2 NUL ESC 0 'a' VT 'b'", "0,0:36'a' 0,72:36'b'"},
    {"VerticalTabChannel", "ESC b #1 #5 NUL ESC / #1 'a' VT 'b'", "0,0:36'a' 0,180:36'b'"},
    {"VerticalTabChannelZeroUnchanged", "ESC b #1 #5 NUL 'a' VT 'b'", "0,0:36'a' 0,36:36'b'"},
    {"VerticalTabChannelPastSevenIgnored", "ESC b #8 #5 NUL ESC / #8 'a' VT 'b'",
     "0,0:36'a' 0,36:36'b'"},
    // Margins.
    {"LeftMargin", "ESC l #5 'a' CR LF 'b'", "180,0:36'a' 180,36:36'b'"},
    {"LeftMarginInThePitchOfTheMoment", "ESC M ESC l #5 'a'", "150,0:30l'a'"},
    {"LeftMarginNotCountingDoubleWidth", "SO ESC l #5 'a'", "180,0:72w'a'"},
    {"LeftMarginTooCloseToTheRightIgnored", "ESC l #79 'a'", "0,0:36'a'"},
    {"LeftMarginLeavingOneWideCharacter", "ESC l #78 'a'", "2808,0:36'a'"},
    {"RightMarginPastThePrintableWidthIgnored", "ESC Q #81 ESC l #78 'a'", "2808,0:36'a'"},
    // Reset.
    {"ResetRestoresPowerOnState", "ESC E ESC M ESC 0 'a' ESC @ 'b' CR LF 'c'",
     "0,0:30le'a' 0,0:36'b' 0,36:36'c'"},
    {"ResetRestoresTabStops", "ESC D #1 NUL ESC @ HT 'b'", "288,0:36'b'"},
    // Commands that leave no mark are consumed with their arguments.
    {"CharacterSet", "ESC R #15 'a'", "0,0:36'a'"},
    {"CharacterSetArgumentThatLooksLikeALineFeed", "ESC R LF 'a'", "0,0:36'a'"},
    {"MasterSelectIgnored", "ESC ! #1 'a'", "0,0:36'a'"},
    {"AbsolutePositionIgnored", "ESC $ #16 NUL 'a'", "0,0:36'a'"},
    {"BitImage60", "ESC K #2 NUL 'xy' 'a'", "0,0:36'a'"},
    {"BitImage240", "ESC Z #1 NUL LF 'a'", "0,0:36'a'"},
    {"BitImageMode", "ESC * #39 #1 NUL 'xyz' 'a'", "0,0:36'a'"},
    {"NinePinBitImage", "ESC ^ NUL #2 NUL 'wxyz' 'a'", "0,0:36'a'"},
    {"UserCharacters", "ESC & NUL 'AA' '0123456789AB' 'a'", "0,0:36'a'"},
    {"ExtendedCommand", "ESC ( t #3 NUL #1 #2 #3 'a'", "0,0:36'a'"},
    {"CopyRomToRam", "ESC : NUL NUL NUL 'a'", "0,0:36'a'"},
    {"UnknownEscapeTakesTwoBytes", "ESC ~ 'ab'", "0,0:36'ab'"},
    {"EscapeEscape", "ESC ESC 'ab'", "0,0:36'ab'"},
    {"EscapeBeforeANewLineSwallowsIt", "'a' ESC LF 'b'", "0,0:36'a' 36,0:36'b'"},
    {"ControlBytesWithoutMeaningSkipped", "'a' NUL BEL DC1 DC3 CAN DEL SUB 'b'",
     "0,0:36'a' 36,0:36'b'"},
    {"HighBytesPrint", "#128 #160 #176 #219 #255", "0,0:36'\x80\xA0\xB0\xDB\xFF'"},
};

TEST(EscpCommands, PositionsAndStyles) {
  const Paper paper = Paper::Of(PaperKind::A4);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);

    const std::string bytes = test::Bytes(c.bytes);

    EXPECT_EQ(DescribeAll(bytes, paper), c.expected);
    test::ExpectIndexAgrees(bytes, paper);
  }
}

}  // namespace
}  // namespace pl4120::escp
