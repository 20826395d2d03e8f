#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EscpTestSupport.h"
#include "escp/Interpreter.h"
#include "printer/InitSequence.h"
#include "printer/PrinterSettings.h"
#include "text/PrintPayload.h"

namespace pl4120::escp {
namespace {

struct Promise {
  const char* name;
  void (*change)(PrinterSettings&);
  int advance;          // 1/360": the pitch the settings promise for the text
  int spacing;          // 1/216": the line spacing they promise
  std::uint16_t flags;  // the style they promise
};

// What the settings page promises, as the printer reads the initialisation: the pitch, the
// line spacing and the style in force for the text printed after it.
const Promise kPromises[] = {
    {"Defaults", [](PrinterSettings&) {}, 30, 27, kElite},
    {"TenPerInch", [](PrinterSettings& s) { s.pitch = Pitch::Cpi10; }, 36, 27, 0},
    {"CondensedTwelve", [](PrinterSettings& s) { s.condensed = true; }, 18, 27,
     kElite | kCondensed},
    {"CondensedTen",
     [](PrinterSettings& s) {
       s.condensed = true;
       s.pitch = Pitch::Cpi10;
     },
     21, 27, kCondensed},
    {"Spacing254", [](PrinterSettings& s) { s.spacing = LineSpacing::Tenth; }, 30, 21, kElite},
    {"Spacing423", [](PrinterSettings& s) { s.spacing = LineSpacing::Sixth; }, 30, 36, kElite},
    {"SpacingN72",
     [](PrinterSettings& s) {
       s.spacing = LineSpacing::Units72;
       s.units72 = 10;
     },
     30, 30, kElite},
    {"SpacingN72Default", [](PrinterSettings& s) { s.spacing = LineSpacing::Units72; }, 30, 24,
     kElite},
    {"SpacingN216",
     [](PrinterSettings& s) {
       s.spacing = LineSpacing::Units216;
       s.units216 = 50;
     },
     30, 50, kElite},
    {"SpacingN216Default", [](PrinterSettings& s) { s.spacing = LineSpacing::Units216; }, 30, 24,
     kElite},
    {"Quality", [](PrinterSettings& s) { s.emphasised = true; }, 30, 27, kElite | kEmphasized},
    {"DoublePass", [](PrinterSettings& s) { s.doubleStrike = true; }, 30, 27,
     kElite | kDoubleStrike},
    {"NoCharacterTable", [](PrinterSettings& s) { s.charTable = CharTable::NoTable2; }, 30, 27,
     kElite},
    // SO is double width for one line: the final CR of the initialisation ends it, so the
    // text after it is of single width (the test line before that CR is double).
    {"DoubleWidthLastsTheTestLineOnly", [](PrinterSettings& s) { s.doubleWidth = true; }, 30, 27,
     kElite},
    {"EveryOption",
     [](PrinterSettings& s) {
       s.pitch = Pitch::Cpi10;
       s.condensed = s.doubleWidth = s.emphasised = s.doubleStrike = true;
       s.spacing = LineSpacing::Units216;
       s.units216 = 40;
     },
     21, 40, kCondensed | kEmphasized | kDoubleStrike},
};

TEST(EscpInitSequences, TextAfterTheInitialisationHasThePromisedPitchAndSpacing) {
  const Paper paper = Paper::Of(PaperKind::A4);
  for (const Promise& p : kPromises) {
    SCOPED_TRACE(p.name);
    PrinterSettings settings;
    p.change(settings);
    const std::string bytes = BuildInitSequence(settings) + PrintPayload("AB\r\nCD\r\nEF", true);

    const std::vector<Page> pages = Interpret(bytes, paper);

    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].end, PageEnd::FormFeed);
    ASSERT_EQ(pages[0].runs.size(), 3u);
    for (std::size_t line = 0; line < 3; ++line) {
      const escp::Run& run = pages[0].runs[line];
      EXPECT_EQ(run.x, paper.left);
      EXPECT_EQ(run.y, static_cast<int>(line) * p.spacing);
      EXPECT_EQ(run.advance, p.advance);
      EXPECT_EQ(run.flags, p.flags);
    }
    test::ExpectIndexAgrees(bytes, paper);
  }
}

TEST(EscpInitSequences, TestLine) {
  const Paper paper = Paper::Of(PaperKind::A4);
  const struct {
    const char* name;
    bool wide;
    bool crLf;
    const char* expected;
  } cases[] = {
      // Without CR LF the text overprints the test line: the initialisation ends with CR only.
      {"Overprinted", false, false, "0,0:30l'Test' 0,0:30l'AB'"},
      {"OnALineOfItsOwn", false, true, "0,0:30l'Test' 0,27:30l'AB'"},
      {"DoubleWidth", true, true, "0,0:60lw'Test' 0,27:30l'AB'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PrinterSettings settings;
    settings.testLine = "Test";
    settings.doubleWidth = c.wide;
    settings.crLfAfterTestLine = c.crLf;

    const std::string bytes = BuildInitSequence(settings) + "AB";

    const std::vector<Page> pages = Interpret(bytes, paper);

    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(test::Describe(pages[0], paper, bytes), c.expected);
  }
}

// The form feed that printing appends ejects the sheet, also when the text is empty.
TEST(EscpInitSequences, PrintedTextAndEject) {
  const Paper paper = Paper::Of(PaperKind::A4);
  const std::string init = BuildInitSequence(PrinterSettings{});

  const std::vector<Page> empty = Interpret(init + PrintPayload("", true), paper);
  const std::vector<Page> ejected =
      Interpret(init + PrintPayload("a", true) + EjectPayload(), paper);
  const std::vector<Page> kept = Interpret(init + PrintPayload("a", false), paper);

  ASSERT_EQ(empty.size(), 1u);
  EXPECT_TRUE(empty[0].runs.empty());
  EXPECT_EQ(empty[0].end, PageEnd::FormFeed);
  ASSERT_EQ(ejected.size(), 2u);
  EXPECT_EQ(ejected[0].runs.size(), 1u);
  EXPECT_TRUE(ejected[1].runs.empty());
  EXPECT_EQ(ejected[1].end, PageEnd::FormFeed);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].end, PageEnd::End);
}

}  // namespace
}  // namespace pl4120::escp
