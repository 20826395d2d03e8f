#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "printer/Commands.h"
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

struct Case {
  const char* name;
  PrinterSettings settings;
  const char* expected;  // hex bytes
};

PrinterSettings With(void (*change)(PrinterSettings&)) {
  PrinterSettings s;
  change(s);
  return s;
}

const Case kCases[] = {
    {"Defaults", PrinterSettings{}, "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"},
    {"Koi8SameAsDefaults", With([](PrinterSettings& s) { s.Lang = CharTable::LangKoi8; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"},
    {"CombinedSameAsDefaults", With([](PrinterSettings& s) { s.Lang = CharTable::LangComn; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"},
    {"FullExample", With([](PrinterSettings& s) {
       s.Lang = CharTable::RadioButton1;
       s.Wid = Pitch::Wid10smb;
       s.Hei = LineSpacing::Hei4spi;
       s.WidElite = s.WidExten = s.StQuanty = s.StDouble = true;
       s.StrOutPr = "abc";
       s.InitCrLf = true;
     }),
     "1B 40 0F 0E 1B 50 1B 32 1B 45 1B 47 61 62 63 0D 0A 0D"},
    {"NoSpacingCodeFor0353", With([](PrinterSettings& s) { s.Hei = LineSpacing::Hei0353; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 46 1B 48 0D"},
    {"NoSpacingCodeFor0118", With([](PrinterSettings& s) { s.Hei = LineSpacing::Hei0118; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 46 1B 48 0D"},
    {"Spacing254", With([](PrinterSettings& s) { s.Hei = LineSpacing::Hei2spi; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 31 1B 46 1B 48 0D"},
    {"CrLfWithEmptyLine", With([](PrinterSettings& s) { s.InitCrLf = true; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D 0A 0D"},
    {"ControlBytesInTestLineUnchanged", With([](PrinterSettings& s) {
       s.StrOutPr = std::string("\x00\x1B\x40\r\n\x1A\x0C\xFF \xA0", 10);
     }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 00 1B 40 0D 0A 1A 0C FF 20 A0 0D"},
    {"BlanksNotTrimmed", With([](PrinterSettings& s) { s.StrOutPr = "  x  "; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 20 20 78 20 20 0D"},
    {"DeviceNameNotSent", With([](PrinterSettings& s) { s.PrnName = "/tmp/x"; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"},
};

TEST(InitSequence, KnownSequences) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Hex(BuildInitSequence(c.settings)), c.expected);
  }
}

// Every state the settings page can be in (each radio set, each box, an empty and a non-empty
// test line that holds a NUL and a CR). The expected bytes are spelled out here, apart from the
// builder and its command table.
TEST(InitSequence, EveryStateOfTheSettingsPage) {
  const CharTable tables[] = {CharTable::LangAltM,     CharTable::LangKoi8,
                              CharTable::LangComn,     CharTable::RadioButton1,
                              CharTable::RadioButton2, CharTable::RadioButton3};
  const LineSpacing spacings[] = {LineSpacing::Hei2spi, LineSpacing::Hei3spi, LineSpacing::Hei4spi,
                                  LineSpacing::Hei0353, LineSpacing::Hei0118};
  const std::string lines[] = {std::string(), std::string("q\0\r", 3)};
  int checked = 0;
  for (const CharTable table : tables) {
    for (const Pitch pitch : {Pitch::Wid12smb, Pitch::Wid10smb}) {
      for (const LineSpacing spacing : spacings) {
        for (unsigned boxes = 0; boxes < 32; ++boxes) {
          for (const std::string& line : lines) {
            PrinterSettings s;
            s.Lang = table;
            s.Wid = pitch;
            s.Hei = spacing;
            s.WidElite = (boxes & 1u) != 0;
            s.WidExten = (boxes & 2u) != 0;
            s.StQuanty = (boxes & 4u) != 0;
            s.StDouble = (boxes & 8u) != 0;
            s.InitCrLf = (boxes & 16u) != 0;
            s.StrOutPr = line;

            std::string expected = "\x1B\x40";
            if (table == CharTable::LangAltM || table == CharTable::LangKoi8 ||
                table == CharTable::LangComn) {
              expected += "\x1B\x52\x0F";
            }
            expected += s.WidElite ? "\x0F" : "\x12";
            expected += s.WidExten ? "\x0E" : "\x14";
            expected += pitch == Pitch::Wid12smb ? "\x1B\x4D" : "\x1B\x50";
            expected += spacing == LineSpacing::Hei2spi   ? "\x1B\x31"
                        : spacing == LineSpacing::Hei3spi ? "\x1B\x30"
                        : spacing == LineSpacing::Hei4spi ? "\x1B\x32"
                                                          : "";
            expected += s.StQuanty ? "\x1B\x45" : "\x1B\x46";
            expected += s.StDouble ? "\x1B\x47" : "\x1B\x48";
            expected += line;
            expected += s.InitCrLf ? "\r\n\r" : "\r";

            const std::string built = BuildInitSequence(s);
            ASSERT_EQ(Hex(built), Hex(expected)) << "boxes " << boxes;
            // Through the window the sequence is 11 to 18 bytes besides the test line.
            ASSERT_GE(built.size(), 11u + line.size());
            ASSERT_LE(built.size(), 18u + line.size());
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_EQ(checked, 6 * 2 * 5 * 32 * 2);
}

TEST(CommandTable, CodesAreDistinctAndEncodeTakesExactlyTheirArguments) {
  for (const cmd::Command& a : cmd::kCommands) {
    SCOPED_TRACE(std::string(a.mnemonic));
    EXPECT_FALSE(a.code.empty());
    for (const cmd::Command& b : cmd::kCommands) {
      if (&a != &b) {
        EXPECT_NE(a.code, b.code) << b.mnemonic;
      }
    }
    if (a.argBytes == 0) {
      EXPECT_EQ(cmd::Encode(a.op), a.code);
      EXPECT_THROW(cmd::Encode(a.op, {1}), std::invalid_argument);
    } else {
      EXPECT_THROW(cmd::Encode(a.op), std::invalid_argument);
      EXPECT_EQ(cmd::Encode(a.op, {0xFF}), std::string(a.code) + "\xFF");
    }
  }
  EXPECT_EQ(Hex(cmd::Encode(cmd::Op::CharacterSet, {15})), "1B 52 0F");
  EXPECT_EQ(Hex(cmd::Encode(cmd::Op::SpacingN72, {8})), "1B 41 08");
  EXPECT_EQ(Hex(cmd::Encode(cmd::Op::SpacingN216, {24})), "1B 33 18");
}

}  // namespace
}  // namespace pl4120
