#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "EscpTestSupport.h"
#include "escp/Interpreter.h"

namespace pl4120::escp {
namespace {

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
    {"PageLengthInInchesOnA4", PaperKind::A4,
     std::string("\x1B"
                 "C\x00\x0B",
                 4) +
         NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"PageLengthInLinesOnFanfold", PaperKind::Fanfold240x12,
     "\x1B"
     "C\x42" +
         NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"FanfoldIsTwelveInches", PaperKind::Fanfold240x12, NumberedLines(80),
     "1@0..72@2556 length | 73@0..80@252 end"},
    // A4 is 11.69": line 71 at 2520/216" would run off the sheet.
    {"A4HoldsSeventyLines", PaperKind::A4, NumberedLines(70), "1@0..70@2484 sheet"},
    {"A4SheetEnd", PaperKind::A4, NumberedLines(71), "1@0..70@2484 sheet | 71@0..71@0 end"},
    {"SkipOverPerforation", PaperKind::Letter, "\x1BN\x06" + NumberedLines(70),
     "1@0..60@2124 length | 61@0..70@324 end"},
    {"SkipCancelled", PaperKind::Letter, "\x1BN\x06\x1BO" + NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"PageLengthCancelsSkip", PaperKind::Letter,
     "\x1BN\x06\x1B"
     "C\x42" +
         NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"SkipAsLongAsThePageIgnored", PaperKind::Letter, "\x1BN\x42" + NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    // 7/72" lines on an 11" page of 12" paper: the 115th line lies 2394 - 2376 = 18 below the
    // next page's top, as on continuous paper.
    {"ContinuousPaperKeepsThePitchOverThePerforation", PaperKind::Fanfold240x12,
     std::string("\x1B"
                 "C\x00\x0B\x1B"
                 "1",
                 6) +
         NumberedLines(115),
     "1@0..114@2373 length | 115@18..115@18 end"},
    {"PageLengthFromTheCurrentLine", PaperKind::Fanfold240x12,
     "x\r\n" +
         std::string("\x1B"
                     "C\x00\x01",
                     4) +
         NumberedLines(8),
     "x@0..6@216 length | 7@0..8@36 end"},
    {"PageLengthOfZeroLinesIgnored", PaperKind::Letter,
     std::string("\x1B"
                 "3\x00\x1B"
                 "C\x05\x1B"
                 "2",
                 8) +
         NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    {"PageLengthPastTwentyTwoInchesIgnored", PaperKind::Letter,
     "\x1B"
     "A\x55\x1B"
     "C\x7F\x1B"
     "2" +
         NumberedLines(70),
     "1@0..66@2340 length | 67@0..70@108 end"},
    // Ten feeds of 255/216": the tenth reaches 2550, 174 past the 11" page.
    {"FeedN216PastTheEnd", PaperKind::Letter, "a" + Repeat("\x1BJ\xFF", 10) + "b",
     "a@0..a@0 length | b@174..b@174 end"},
    // FF ends the page wherever it comes, also at the top of a sheet.
    {"FormFeed", PaperKind::A4, "a\fb", "a@0..a@0 FF | b@0..b@0 end"},
    {"FormFeedLast", PaperKind::A4, "a\f", "a@0..a@0 FF"},
    {"FormFeedAtTheTopGivesABlankSheet", PaperKind::A4, "a\f\f", "a@0..a@0 FF | FF"},
    {"FormFeedAlone", PaperKind::A4, "\f", "FF"},
    {"FormFeedAfterCommandsOnly", PaperKind::A4, "\x1B@\x1BM\r\f", "FF"},
    {"NothingAtAll", PaperKind::A4, "", "end"},
    {"OnlyCommands", PaperKind::A4,
     "\x1B@\x1B"
     "E\r\n\n",
     "end"},
    {"VerticalTabToTheNextPage", PaperKind::A4,
     std::string("\x1B"
                 "B\x02\x00",
                 4) +
         "a\v\vb",
     "a@0..a@0 FF | b@0..b@0 end"},
    {"VerticalTabStopPastThePageLength", PaperKind::Letter,
     std::string("\x1B"
                 "B\x64\x00",
                 4) +
         "a\vb",
     "a@0..a@0 FF | b@0..b@0 end"},
    {"VerticalTabIntoTheSkipIgnored", PaperKind::Letter,
     std::string("\x1BN\x06\x1B"
                 "B\x3E\x00",
                 7) +
         "a\vb",
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
  std::string setup;
  int perLine;  // characters on a full line
  int advance;
  int left;  // the left margin, 1/360"
};

const WrapCase kWraps[] = {
    {"Pica", "", 80, 36, 0},
    {"Elite", "\x1BM", 96, 30, 0},
    {"CondensedPica", "\x0F", 137, 21, 0},
    {"CondensedElite", "\x1BM\x0F", 160, 18, 0},
    {"DoubleWidthPica", "\x1BW1", 40, 72, 0},
    {"RightMarginPica", "\x1BQ\x28", 40, 36, 0},
    {"RightMarginElite", "\x1BM\x1BQ\x28", 40, 30, 0},
    {"RightMarginCondensed", "\x0F\x1BQ\x28", 40, 21, 0},
    {"BothMargins", "\x1Bl\x0A\x1BQ\x28", 30, 36, 360},
};

TEST(EscpPages, WrapAtTheRightMargin) {
  const Paper paper = Paper::Of(PaperKind::A4);
  for (const WrapCase& c : kWraps) {
    SCOPED_TRACE(c.name);
    const std::string line(static_cast<std::size_t>(c.perLine), 'x');

    const std::string bytes = c.setup + line + "yz";

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
  const std::string sequences[] = {
      std::string("\x1B"
                  "3\x10",
                  3),
      std::string("\x1B"
                  "C\x00\x0B",
                  4),
      std::string("\x1B"
                  "C\x42",
                  3),
      std::string("\x1BK\x05\x00"
                  "abcde",
                  9),
      std::string("\x1B*\x27\x02\x00"
                  "abcdef",
                  11),
      std::string("\x1B^\x01\x02\x00"
                  "abcd",
                  9),
      std::string("\x1B&\x00"
                  "AB"
                  "0123456789ab"
                  "0123456789ab",
                  29),
      std::string("\x1B(t\x03\x00\x01\x02\x03", 8),
      std::string("\x1B"
                  "D\x01\x02\x03\x00",
                  6),
      std::string("\x1B"
                  "b\x01\x02\x03\x00",
                  6),
      std::string("\x1B:\x00\x01\x00", 5),
      std::string("\x1BJ\x40", 3),
  };
  const Paper paper = Paper::Of(PaperKind::A4);
  const std::string before = "ab\r\ncd";
  const std::string expected = test::DescribeAll(before, paper);
  for (std::size_t i = 0; i < std::size(sequences); ++i) {
    const std::string& sequence = sequences[i];
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
      std::string("a\x1B*\x48\xFF\xFF", 6) + std::string(1000, '\n'),
      std::string(5000, '\x1B'),
      std::string(5000, '\0'),
      std::string(3000, '\x0B'),
      std::string(300, '\x0C'),
      std::string("\x1B"
                  "3\xFF",
                  3) +
          std::string(1000, '\n'),
      std::string("\x1B"
                  "3\x01\x1B"
                  "C\x01",
                  6) +
          std::string(500, '\n') + "z",
      std::string("\x1B"
                  "D",
                  2) +
          std::string(300, '\x01'),
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
  const std::string pieces[] = {
      "abc",
      "\r\n",
      "\n",
      "\r",
      "\f",
      "\t",
      "\b",
      "\v",
      "\x0E",
      "\x14",
      "\x0F",
      "\x12",
      "\x1BM",
      "\x1BP",
      "\x1B"
      "E",
      "\x1B"
      "F",
      "\x1BG",
      "\x1B-1",
      "\x1B"
      "4",
      "\x1BW1",
      "\x1BW0",
      "\x1B"
      "0",
      "\x1B"
      "1",
      "\x1B"
      "2",
      "\x1B"
      "3\x50",
      "\x1B"
      "A\x20",
      "\x1BJ\x90",
      "\x1BN\x03",
      "\x1BO",
      "\x1B"
      "C\x14",
      "\x1Bl\x05",
      "\x1BQ\x32",
      "\x1B@",
      "\x1B/\x01",
      "\x1B"
      "B\x04\x09",
      "\x1B"
      "D\x03\x09",
      "\x1B"
      "b\x01\x02\x05",
      "\xB0\xB1\xB2\xDB",
      std::string(90, 'w'),
      std::string("\x1B"
                  "C\x00\x02",
                  4),
      std::string(1, '\0'),
  };
  const PaperKind kinds[] = {PaperKind::A4, PaperKind::Letter, PaperKind::Fanfold240x12};
  std::mt19937 random(20240611u);
  for (int round = 0; round < 300; ++round) {
    std::string bytes;
    const int count = static_cast<int>(random() % 400);
    for (int i = 0; i < count; ++i) {
      bytes += pieces[random() % std::size(pieces)];
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
