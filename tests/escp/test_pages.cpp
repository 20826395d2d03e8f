#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "EscpTestSupport.h"
#include "escp/Interpreter.h"

namespace pl4120::escp {
namespace {

using test::Bytes;
using test::Describe;
using test::EndName;

// A text of `lines` lines "NN" (the line's number from 1) ended by CR LF.
std::string NumberedLines(int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i) {
    text += std::to_string(i) + "\r\n";
  }
  return text;
}

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) {
    out += piece;
  }
  return out;
}

// How a page begins and ends: "first..last end" by the text of its first and last run.
std::string Outline(const std::vector<Page>& pages, std::string_view bytes) {
  std::string out;
  for (const Page& page : pages) {
    if (!out.empty()) {
      out += " | ";
    }
    if (!page.runs.empty()) {
      out += std::string(page.runs.front().Bytes(bytes)) + "@" +
             std::to_string(page.runs.front().y) + ".." +
             std::string(page.runs.back().Bytes(bytes)) + "@" + std::to_string(page.runs.back().y) +
             " ";
    }
    out += EndName(page.end);
  }
  return out;
}

struct BreakCase {
  const char* name;
  PaperKind paper;
  std::string bytes;
  const char* outline;
};

// 70 lines at 1/6": an 11" page holds 66 of them (66 x 36 = 11 x 216).
const BreakCase kBreaks[] = {
    {"LetterIsElevenInches", PaperKind::Letter, NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"PageLengthInInchesOnA4", PaperKind::A4, Bytes("ESC C NUL #11") + NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"PageLengthInLinesOnFanfold", PaperKind::Fanfold240x12, Bytes("ESC C #66") + NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"FanfoldIsTwelveInches", PaperKind::Fanfold240x12, NumberedLines(80),
     "1@0..72@2556 length | 73@0..80@252 end"},
    // A4 is 11.69": line 71 at 2520/216" would run off the sheet.
    {"A4HoldsSeventyLines", PaperKind::A4, NumberedLines(70), "1@0..70@2484 sheet"},
    {"A4SheetEnd", PaperKind::A4, NumberedLines(71), "1@0..70@2484 sheet | 71@0..71@0 end"},
    {"SkipOverPerforation", PaperKind::Letter, Bytes("ESC N #6") + NumberedLines(70),
     "1@0..60@2124 length | 61@0..70@324 end"},
    {"SkipCancelled", PaperKind::Letter, Bytes("ESC N #6 ESC O") + NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"PageLengthCancelsSkip", PaperKind::Letter, Bytes("ESC N #6 ESC C #66") + NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"SkipAsLongAsThePageIgnored", PaperKind::Letter, Bytes("ESC N #66") + NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    // 7/72" lines on an 11" page of 12" paper: the 115th line lies 2394 - 2376 = 18 below the
    // next page's top, as on continuous paper.
    {"ContinuousPaperKeepsThePitchOverThePerforation", PaperKind::Fanfold240x12,
     Bytes("ESC C NUL #11 ESC 1") + NumberedLines(115),
     "1@0..114@2373 length | 115@18..115@18 end"},
    {"PageLengthFromTheCurrentLine", PaperKind::Fanfold240x12,
     Bytes("'x' CR LF ESC C NUL #1") + NumberedLines(8), "x@0..6@216 length | 7@0..8@36 end"},
    {"PageLengthOfZeroLinesIgnored", PaperKind::Letter,
     Bytes("ESC 3 NUL ESC C #5 ESC 2") + NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"PageLengthPastTwentyTwoInchesIgnored", PaperKind::Letter,
     Bytes("ESC A #85 ESC C #127 ESC 2") + NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    // Ten feeds of 255/216": the tenth reaches 2550, 174 past the 11" page.
    {"FeedN216PastTheEnd", PaperKind::Letter, "a" + Repeat(Bytes("ESC J #255"), 10) + "b",
     "a@0..a@0 length | b@174..b@174 end"},
    // FF ends the page wherever it comes, also at the top of a sheet.
    {"FormFeed", PaperKind::A4, "a\fb", "a@0..a@0 FF | b@0..b@0 end"},
    {"FormFeedLast", PaperKind::A4, "a\f", "a@0..a@0 FF"},
    {"FormFeedAtTheTopGivesABlankSheet", PaperKind::A4, "a\f\f", "a@0..a@0 FF | FF"},
    {"FormFeedAlone", PaperKind::A4, "\f", "FF"},
    {"FormFeedAfterCommandsOnly", PaperKind::A4, Bytes("ESC @ ESC M CR FF"), "FF"},
    {"NothingAtAll", PaperKind::A4, "", "end"},
    {"OnlyCommands", PaperKind::A4, Bytes("ESC @ ESC E CR LF LF"), "end"},
    {"VerticalTabToTheNextPage", PaperKind::A4, Bytes("ESC B #2 NUL 'a' VT VT 'b'"),
     "a@0..a@0 FF | b@0..b@0 end"},
    {"VerticalTabStopPastThePageLength", PaperKind::Letter, Bytes("ESC B #100 NUL 'a' VT 'b'"),
     "a@0..a@0 FF | b@0..b@0 end"},
    {"VerticalTabIntoTheSkipIgnored", PaperKind::Letter, Bytes("ESC N #6 ESC B #62 NUL 'a' VT 'b'"),
     "a@0..b@0 end"},
};

TEST(EscpPages, SheetBreaks) {
  for (const BreakCase& c : kBreaks) {
    SCOPED_TRACE(c.name);
    const Paper paper = Paper::Of(c.paper);

    const std::vector<Page> pages = Interpret(c.bytes, paper);

    EXPECT_EQ(Outline(pages, c.bytes), c.outline);
    test::ExpectIndexAgrees(c.bytes, paper);
  }
}

struct WrapCase {
  const char* name;
  const char* setup;  // as test::Bytes reads it
  int perLine;        // characters on a full line
  int advance;
  int left;  // the left margin, 1/360"
};

const WrapCase kWraps[] = {
    {"Pica", "", 80, 36, 0},
    {"Elite", "ESC M", 96, 30, 0},
    {"CondensedPica", "SI", 137, 21, 0},
    {"CondensedElite", "ESC M SI", 160, 18, 0},
    {"DoubleWidthPica", "ESC W 1", 40, 72, 0},
    {"RightMarginPica", "ESC Q #40", 40, 36, 0},
    {"RightMarginElite", "ESC M ESC Q #40", 40, 30, 0},
    {"RightMarginCondensed", "SI ESC Q #40", 40, 21, 0},
    {"BothMargins", "ESC l #10 ESC Q #40", 30, 36, 360},
};

TEST(EscpPages, WrapAtTheRightMargin) {
  const Paper paper = Paper::Of(PaperKind::A4);
  for (const WrapCase& c : kWraps) {
    SCOPED_TRACE(c.name);
    const std::string line(static_cast<std::size_t>(c.perLine), 'x');

    const std::string bytes = Bytes(c.setup) + line + "yz";

    const std::vector<Page> pages = Interpret(bytes, paper);

    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].runs.size(), 2u);
    const escp::Run& full = pages[0].runs[0];
    const escp::Run& rest = pages[0].runs[1];
    EXPECT_EQ(full.Bytes(bytes), line);
    EXPECT_EQ(full.x - paper.left, c.left);
    EXPECT_EQ(full.advance, c.advance);
    EXPECT_LE(full.x + full.Width(), paper.left + paper.printableWidth);
    EXPECT_EQ(rest.Bytes(bytes), "yz");
    EXPECT_EQ(rest.x - paper.left, c.left);
    EXPECT_EQ(rest.y, 36);
  }
}

TEST(EscpPages, WrapEndsTheOneLineDoubleWidth) {
  const Paper paper = Paper::Of(PaperKind::A4);
  const std::string bytes = "\x0E" + std::string(41, 'x');

  const std::vector<Page> pages = Interpret(bytes, paper);

  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(Describe(pages[0], paper, bytes), "0,0:72w'" + std::string(40, 'x') + "' 0,36:36'x'");
}

TEST(EscpPages, WrapOnTheLastLineStartsTheNextPage) {
  const Paper paper = Paper::Of(PaperKind::Letter);
  std::string bytes;
  for (int i = 0; i < 65; ++i) {
    bytes += "\r\n";
  }
  bytes += std::string(81, 'x');

  const std::vector<Page> pages = Interpret(bytes, paper);

  EXPECT_EQ(Outline(pages, bytes), std::string(80, 'x') + "@2340.." + std::string(80, 'x') +
                                       "@2340 length | x@0..x@0 end");
  test::ExpectIndexAgrees(bytes, paper);
}

// A sequence cut off by the end of the bytes is dropped: the pages are those of the bytes
// before it, whatever the cut.
TEST(EscpPages, MalformedTails) {
  const char* const sequences[] = {
      "ESC 3 #16",
      "ESC C NUL #11",
      "ESC C #66",
      "ESC K #5 NUL 'abcde'",
      "ESC * #39 #2 NUL 'abcdef'",
      "ESC ^ #1 #2 NUL 'abcd'",
      "ESC & NUL 'AB' '0123456789ab' '0123456789ab'",
      "ESC ( t #3 NUL #1 #2 #3",
      "ESC D #1 #2 #3 NUL",
      "ESC b #1 #2 #3 NUL",
      "ESC : NUL #1 NUL",
      "ESC J #64",
  };
  const Paper paper = Paper::Of(PaperKind::A4);
  const std::string before = "ab\r\ncd";
  const std::string expected = test::DescribeAll(before, paper);
  for (std::size_t i = 0; i < std::size(sequences); ++i) {
    const std::string sequence = Bytes(sequences[i]);
    for (std::size_t cut = 1; cut < sequence.size(); ++cut) {
      SCOPED_TRACE("sequence " + std::to_string(i) + " cut at " + std::to_string(cut));
      const std::string bytes = before + sequence.substr(0, cut);

      EXPECT_EQ(test::DescribeAll(bytes, paper), expected);
      test::ExpectIndexAgrees(bytes, paper);
    }
  }
}

// A graphics command that claims far more data than follows swallows the rest and nothing
// breaks; the same for long runs of bytes that are no text at all.
TEST(EscpPages, HostileInputs) {
  const Paper paper = Paper::Of(PaperKind::A4);
  const std::string inputs[] = {
      Bytes("'a' ESC * #72 #255 #255") + std::string(1000, '\n'),
      std::string(5000, '\x1B'),
      std::string(5000, '\0'),
      std::string(3000, '\x0B'),
      std::string(300, '\x0C'),
      Bytes("ESC 3 #255") + std::string(1000, '\n'),
      Bytes("ESC 3 #1 ESC C #1") + std::string(500, '\n') + "z",
      Bytes("ESC D") + std::string(300, '\x01'),
  };
  for (const std::string& bytes : inputs) {
    SCOPED_TRACE(bytes.size());
    const std::vector<Page> pages = Interpret(bytes, paper);

    ASSERT_FALSE(pages.empty());
    EXPECT_LE(pages.size(), bytes.size() + 1);
    test::ExpectIndexAgrees(bytes, paper);
  }
}

// Random mixtures of text, line ends and commands: the index lays every page out exactly as
// the full interpretation does, and every run lies on the sheet.
TEST(EscpPages, IndexAgreesWithTheFullLayout) {
  // Pieces to mix, apart by "|", as test::Bytes reads them.
  const std::string notations =
      "'abc' | CR LF | LF | CR | FF | HT | BS | VT | SO | DC4 | SI | DC2 | ESC M | ESC P | ESC E | "
      "ESC F | ESC G | ESC - 1 | ESC 4 | ESC W 1 | ESC W 0 | ESC 0 | ESC 1 | ESC 2 | ESC 3 #80 | "
      "ESC A #32 | ESC J #144 | ESC N #3 | ESC O | ESC C #20 | ESC l #5 | ESC Q #50 | ESC @ | "
      "ESC / #1 | ESC B #4 #9 | ESC D #3 #9 | ESC b #1 #2 #5 | #176 #177 #178 #219 | "
      "ESC C NUL #2 | NUL";
  std::vector<std::string> pieces;
  for (std::size_t from = 0; from < notations.size();) {
    const std::size_t bar = std::min(notations.find('|', from), notations.size());
    pieces.push_back(Bytes(std::string_view(notations).substr(from, bar - from)));
    from = bar + 1;
  }
  pieces.push_back(std::string(90, 'w'));
  const PaperKind kinds[] = {PaperKind::A4, PaperKind::Letter, PaperKind::Fanfold240x12};
  std::mt19937 random(20240611u);
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const int count = static_cast<int>(random() % 400);
    for (int i = 0; i < count; ++i) {
      bytes += pieces[random() % pieces.size()];
    }
    const Paper paper = Paper::Of(kinds[round % 3]);
    SCOPED_TRACE("round " + std::to_string(round));

    test::ExpectIndexAgrees(bytes, paper);
    for (const Page& page : Interpret(bytes, paper)) {
      for (const escp::Run& run : page.runs) {
        ASSERT_GE(run.x, paper.left);
        ASSERT_LE(run.x + run.Width(), paper.left + paper.printableWidth);
        ASSERT_LE(run.y + kLineHeight, paper.height);
      }
    }
  }
}

// Under 40 bytes of index a printed line, also when every line is a page of its own.
TEST(EscpPages, IndexIsSmall) {
  std::string text;
  for (int i = 0; i < 20000; ++i) {
    text +=
        "\x1B"
        "E" +
        std::to_string(i) +
        "\x1B"
        "F line of a long text\r\n";
  }
  const struct {
    const char* name;
    std::string bytes;
    std::size_t pages;
  } cases[] = {
      {"SeventyLinesASheet", text, (20000u + 69) / 70},
      {"OneLineAPage",
       "\x1B"
       "C\x01" +
           text,
       20000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);

    const PageIndex index = IndexPages(c.bytes, Paper::Of(PaperKind::A4));

    const std::size_t bytes =
        index.pages.capacity() * sizeof(PageStart) + index.tabs.capacity() * sizeof(TabStops);
    EXPECT_EQ(index.pages.size(), c.pages);
    EXPECT_EQ(index.tabs.size(), 1u);
    EXPECT_LT(static_cast<double>(bytes) / 20000.0, 40.0);
  }
}

TEST(EscpPages, LayoutOfAPageTheIndexLacks) {
  const std::string bytes = "a\fb";
  const PageIndex index = IndexPages(bytes, Paper::Of(PaperKind::A4));

  EXPECT_EQ(LayoutPage(bytes, index, 1).runs.size(), 1u);
  EXPECT_THROW(LayoutPage(bytes, index, 2), std::out_of_range);
}

TEST(EscpPages, Papers) {
  const Paper a4 = Paper::Of(PaperKind::A4);
  const Paper letter = Paper::Of(PaperKind::Letter);
  const Paper fanfold = Paper::Of(PaperKind::Fanfold240x12);

  // 210 x 297 mm, 8.5 x 11", 240 mm x 12", in 1/360" across and 1/216" down.
  EXPECT_EQ(a4.width, 2976);
  EXPECT_EQ(a4.height, 2525);
  EXPECT_EQ(letter.width, 3060);
  EXPECT_EQ(letter.height, 2376);
  EXPECT_EQ(fanfold.width, 3401);
  EXPECT_EQ(fanfold.height, 2592);
  for (const Paper& p : {a4, letter, fanfold}) {
    EXPECT_EQ(p.printableWidth, 2880);
    EXPECT_EQ(p.width - p.printableWidth - p.left, p.left + (p.width - p.printableWidth) % 2);
  }
}

}  // namespace
}  // namespace pl4120::escp
