#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "printer/InitSequence.h"
#include "printer/PrinterSettings.h"

namespace pl4120 {
namespace {

std::string Hex(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned char>(c));
    if (!out.empty()) {
      out += ' ';
    }
    out += buf;
  }
  return out;
}

// Settings with every flag clear: the window's state with RadioButton1 and Hei0353 selected
// and no pitch, which only a record can express.
PrinterSettings AllClear() {
  PrinterSettings s;
  s.LangAltM = false;
  s.Wid12smb = false;
  s.Hei3spi = false;
  return s;
}

struct Case {
  const char* name;
  PrinterSettings settings;
  const char* expected;  // hex bytes
};

std::vector<Case> Cases() {
  std::vector<Case> cases;
  cases.push_back(
      {"Defaults", PrinterSettings{}, "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"});
  {
    PrinterSettings s;
    s.LangAltM = false;
    s.LangKoi8 = true;
    cases.push_back({"Koi8SameAsDefaults", s, "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"});
  }
  {
    PrinterSettings s;
    s.LangAltM = false;
    s.LangComn = true;
    cases.push_back(
        {"CombinedSameAsDefaults", s, "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"});
  }
  {
    PrinterSettings s = AllClear();
    s.Wid10smb = true;
    s.Hei4spi = true;
    s.WidElite = s.WidExten = s.StQuanty = s.StDouble = true;
    s.StrOutPr = "abc";
    s.InitCrLf = true;
    cases.push_back({"FullExample", s, "1B 40 0F 0E 1B 50 1B 32 1B 45 1B 47 61 62 63 0D 0A 0D"});
  }
  {
    PrinterSettings s;
    s.Hei3spi = false;  // a spacing button without a field (Hei0353, Hei0118)
    cases.push_back({"NoSpacingCode", s, "1B 40 1B 52 0F 12 14 1B 4D 1B 46 1B 48 0D"});
  }
  {
    PrinterSettings s;
    s.Hei3spi = false;
    s.Hei2spi = true;
    cases.push_back({"Spacing254", s, "1B 40 1B 52 0F 12 14 1B 4D 1B 31 1B 46 1B 48 0D"});
  }
  {
    PrinterSettings s;
    s.InitCrLf = true;
    cases.push_back(
        {"CrLfWithEmptyLine", s, "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D 0A 0D"});
  }
  {
    PrinterSettings s;
    s.StrOutPr = std::string("\x00\x1B\x40\r\n\x1A\x0C\xFF \xA0", 10);
    cases.push_back(
        {"ControlBytesInTestLineUnchanged", s,
         "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 00 1B 40 0D 0A 1A 0C FF 20 A0 0D"});
  }
  {
    PrinterSettings s;
    s.StrOutPr = "  x  ";
    cases.push_back(
        {"BlanksNotTrimmed", s, "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 20 20 78 20 20 0D"});
  }
  cases.push_back({"Shortest", AllClear(), "1B 40 12 14 1B 46 1B 48 0D"});
  return cases;
}

TEST(InitSequence, KnownSequences) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(BuildInitSequence(c.settings)), c.expected);
  }
}

// The codes the sequence is made of, in the order the printer must receive them. The same
// rank means the codes are alternatives of one choice (or repeats of the table code).
struct Code {
  std::string_view bytes;
  int rank;
};

constexpr std::array<Code, 16> kCodes{{
    {"\x1B\x40", 0},      // reset
    {"\x1B\x52\x0F", 1},  // character table
    {"\x0F", 2},
    {"\x12", 2},  // condensed on / off
    {"\x0E", 3},
    {"\x14", 3},  // double width on / off
    {"\x1B\x4D", 4},
    {"\x1B\x50", 5},  // 12 / 10 cpi
    {"\x1B\x31", 6},
    {"\x1B\x30", 7},
    {"\x1B\x32", 8},  // spacings
    {"\x1B\x45", 9},
    {"\x1B\x46", 9},  // quality on / off
    {"\x1B\x47", 10},
    {"\x1B\x48", 10},  // double pass on / off
    {"\x0D", 11},      // (never in the head)
}};

// Splits the head of a sequence (everything before the test line) into codes; empty when a
// byte matches no code.
std::vector<std::string_view> SplitCodes(std::string_view head, std::vector<int>& ranks) {
  std::vector<std::string_view> codes;
  while (!head.empty()) {
    bool matched = false;
    for (const Code& code : kCodes) {
      if (head.starts_with(code.bytes)) {
        codes.push_back(code.bytes);
        ranks.push_back(code.rank);
        head.remove_prefix(code.bytes.size());
        matched = true;
        break;
      }
    }
    if (!matched) {
      return {};
    }
  }
  return codes;
}

int Count(const std::vector<std::string_view>& codes, std::string_view code) {
  int n = 0;
  for (const auto c : codes) {
    n += c == code ? 1 : 0;
  }
  return n;
}

// Every combination of the twelve flags and InitCrLf, with an empty and a non-empty test line
// (one that holds a NUL and a CR, so it cannot be mistaken for codes around it). The expected
// codes are derived from the flags here, independently of the builder's own table.
TEST(InitSequence, StructureOverAllFlagCombinations) {
  const std::array<bool PrinterSettings::*, 13> flags{
      &PrinterSettings::LangAltM, &PrinterSettings::LangKoi8, &PrinterSettings::LangComn,
      &PrinterSettings::WidElite, &PrinterSettings::WidExten, &PrinterSettings::Wid12smb,
      &PrinterSettings::Wid10smb, &PrinterSettings::Hei2spi,  &PrinterSettings::Hei3spi,
      &PrinterSettings::Hei4spi,  &PrinterSettings::StQuanty, &PrinterSettings::StDouble,
      &PrinterSettings::InitCrLf};
  const std::array<std::string, 2> lines{std::string(), std::string("q\0\r", 3)};
  int checked = 0;
  int exclusiveChecked = 0;
  for (const std::string& line : lines) {
    for (unsigned bits = 0; bits < (1u << flags.size()); ++bits) {
      PrinterSettings s;
      for (std::size_t i = 0; i < flags.size(); ++i) {
        s.*flags[i] = ((bits >> i) & 1u) != 0;
      }
      s.StrOutPr = line;
      SCOPED_TRACE("flags " + std::to_string(bits) + ", line length " +
                   std::to_string(line.size()));
      const std::string seq = BuildInitSequence(s);

      const int tables = s.LangAltM + s.LangKoi8 + s.LangComn;
      const int pitches = s.Wid12smb + s.Wid10smb;
      const int spacings = s.Hei2spi + s.Hei3spi + s.Hei4spi;
      const std::size_t expectedSize = 2 + 3 * tables + 1 + 1 + 2 * pitches + 2 * spacings + 2 + 2 +
                                       line.size() + (s.InitCrLf ? 2 : 0) + 1;
      ASSERT_EQ(seq.size(), expectedSize);
      ASSERT_GE(seq.size(), 9u);
      // The window lets at most one button of each radio group be checked; then the sequence
      // is at most 18 bytes and the test line. A record may set more.
      const bool exclusive = tables <= 1 && pitches <= 1 && spacings <= 1;
      ASSERT_LE(seq.size(), (exclusive ? 18u : 30u) + line.size());
      exclusiveChecked += exclusive ? 1 : 0;

      const std::string tail = line + (s.InitCrLf ? "\r\n\r" : "\r");
      ASSERT_TRUE(std::string_view(seq).ends_with(tail));
      std::vector<int> ranks;
      const auto codes =
          SplitCodes(std::string_view(seq).substr(0, seq.size() - tail.size()), ranks);
      ASSERT_FALSE(codes.empty()) << Hex(seq);
      ASSERT_EQ(codes.front(), "\x1B\x40");
      for (std::size_t i = 1; i < ranks.size(); ++i) {
        ASSERT_LE(ranks[i - 1], ranks[i]) << "out of order: " << Hex(seq);
        ASSERT_NE(ranks[i], 11) << Hex(seq);
      }
      ASSERT_EQ(Count(codes, "\x1B\x40"), 1);
      ASSERT_EQ(Count(codes, "\x1B\x52\x0F"), tables);
      ASSERT_EQ(Count(codes, s.WidElite ? "\x0F" : "\x12"), 1);
      ASSERT_EQ(Count(codes, s.WidElite ? "\x12" : "\x0F"), 0);
      ASSERT_EQ(Count(codes, s.WidExten ? "\x0E" : "\x14"), 1);
      ASSERT_EQ(Count(codes, s.WidExten ? "\x14" : "\x0E"), 0);
      ASSERT_EQ(Count(codes, "\x1B\x4D"), s.Wid12smb ? 1 : 0);
      ASSERT_EQ(Count(codes, "\x1B\x50"), s.Wid10smb ? 1 : 0);
      ASSERT_EQ(Count(codes, "\x1B\x31"), s.Hei2spi ? 1 : 0);
      ASSERT_EQ(Count(codes, "\x1B\x30"), s.Hei3spi ? 1 : 0);
      ASSERT_EQ(Count(codes, "\x1B\x32"), s.Hei4spi ? 1 : 0);
      ASSERT_EQ(Count(codes, s.StQuanty ? "\x1B\x45" : "\x1B\x46"), 1);
      ASSERT_EQ(Count(codes, s.StQuanty ? "\x1B\x46" : "\x1B\x45"), 0);
      ASSERT_EQ(Count(codes, s.StDouble ? "\x1B\x47" : "\x1B\x48"), 1);
      ASSERT_EQ(Count(codes, s.StDouble ? "\x1B\x48" : "\x1B\x47"), 0);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 2 * (1 << 13));
  EXPECT_EQ(exclusiveChecked, 2 * 4 * 3 * 4 * (1 << 5));  // tables, pitches, spacings, 5 boxes
}

}  // namespace
}  // namespace pl4120
