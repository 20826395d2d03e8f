#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
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
    {"Koi8SameAsDefaults", With([](PrinterSettings& s) { s.charTable = CharTable::Koi8; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"},
    {"CombinedSameAsDefaults", With([](PrinterSettings& s) { s.charTable = CharTable::Combined; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"},
    {"FullExample", With([](PrinterSettings& s) {
       s.charTable = CharTable::NoTable1;
       s.pitch = Pitch::Cpi10;
       s.spacing = LineSpacing::Sixth;
       s.condensed = s.doubleWidth = s.emphasised = s.doubleStrike = true;
       s.testLine = "abc";
       s.crLfAfterTestLine = true;
     }),
     "1B 40 0F 0E 1B 50 1B 32 1B 45 1B 47 61 62 63 0D 0A 0D"},
    {"EscAWithSpinEdit1For0353", With([](PrinterSettings& s) { s.spacing = LineSpacing::Units72; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 41 08 1B 46 1B 48 0D"},
    {"Esc3WithSpinEdit2For0118",
     With([](PrinterSettings& s) { s.spacing = LineSpacing::Units216; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 33 18 1B 46 1B 48 0D"},
    {"SpinEdit1Limits", With([](PrinterSettings& s) {
       s.spacing = LineSpacing::Units72;
       s.units72 = 85;
       s.units216 = 999;  // not the chosen spacing: not looked at
     }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 41 55 1B 46 1B 48 0D"},
    {"SpinEdit2Extremes", With([](PrinterSettings& s) {
       s.spacing = LineSpacing::Units216;
       s.units72 = -7;
       s.units216 = 255;
     }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 33 FF 1B 46 1B 48 0D"},
    {"SpacingZero", With([](PrinterSettings& s) {
       s.spacing = LineSpacing::Units216;
       s.units216 = 0;
     }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 33 00 1B 46 1B 48 0D"},
    {"Spacing254", With([](PrinterSettings& s) { s.spacing = LineSpacing::Tenth; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 31 1B 46 1B 48 0D"},
    {"CrLfWithEmptyLine", With([](PrinterSettings& s) { s.crLfAfterTestLine = true; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D 0A 0D"},
    {"ControlBytesInTestLineUnchanged", With([](PrinterSettings& s) {
       s.testLine = std::string("\x00\x1B\x40\r\n\x1A\x0C\xFF \xA0", 10);
     }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 00 1B 40 0D 0A 1A 0C FF 20 A0 0D"},
    {"BlanksNotTrimmed", With([](PrinterSettings& s) { s.testLine = "  x  "; }),
     "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 20 20 78 20 20 0D"},
    {"DeviceNameNotSent", With([](PrinterSettings& s) { s.device = "/tmp/x"; }),
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
  const CharTable tables[] = {CharTable::Alternative, CharTable::Koi8,     CharTable::Combined,
                              CharTable::NoTable1,    CharTable::NoTable2, CharTable::NoTable3};
  const LineSpacing spacings[] = {LineSpacing::Tenth, LineSpacing::Eighth, LineSpacing::Sixth,
                                  LineSpacing::Units72, LineSpacing::Units216};
  const std::string lines[] = {std::string(), std::string("q\0\r", 3)};
  int checked = 0;
  for (const CharTable table : tables) {
    for (const Pitch pitch : {Pitch::Cpi12, Pitch::Cpi10}) {
      for (const LineSpacing spacing : spacings) {
        for (unsigned boxes = 0; boxes < 32; ++boxes) {
          for (const std::string& line : lines) {
            PrinterSettings s;
            s.charTable = table;
            s.pitch = pitch;
            s.spacing = spacing;
            s.condensed = (boxes & 1u) != 0;
            s.doubleWidth = (boxes & 2u) != 0;
            s.emphasised = (boxes & 4u) != 0;
            s.doubleStrike = (boxes & 8u) != 0;
            s.crLfAfterTestLine = (boxes & 16u) != 0;
            s.testLine = line;

            std::string expected = "\x1B\x40";
            if (table == CharTable::Alternative || table == CharTable::Koi8 ||
                table == CharTable::Combined) {
              expected += "\x1B\x52\x0F";
            }
            expected += s.condensed ? "\x0F" : "\x12";
            expected += s.doubleWidth ? "\x0E" : "\x14";
            expected += pitch == Pitch::Cpi12 ? "\x1B\x4D" : "\x1B\x50";
            expected += spacing == LineSpacing::Tenth     ? "\x1B\x31"
                        : spacing == LineSpacing::Eighth  ? "\x1B\x30"
                        : spacing == LineSpacing::Sixth   ? "\x1B\x32"
                        : spacing == LineSpacing::Units72 ? "\x1B\x41\x08"
                                                          : "\x1B\x33\x18";
            expected += s.emphasised ? "\x1B\x45" : "\x1B\x46";
            expected += s.doubleStrike ? "\x1B\x47" : "\x1B\x48";
            expected += line;
            expected += s.crLfAfterTestLine ? "\r\n\r" : "\r";

            const std::string built = BuildInitSequence(s);
            ASSERT_EQ(Hex(built), Hex(expected)) << "boxes " << boxes;
            // Through the window the sequence is 13 to 19 bytes besides the test line: every
            // state of the page sends one pitch and one spacing code.
            ASSERT_GE(built.size(), 13u + line.size());
            ASSERT_LE(built.size(), 19u + line.size());
            ++checked;
          }
        }
      }
    }
  }
  EXPECT_EQ(checked, 6 * 2 * 5 * 32 * 2);
}

struct SpacingCase {
  const char* name;
  LineSpacing spacing;
  std::int32_t spinEdit1;
  std::int32_t spinEdit2;
  const char* error;  // empty: the settings can be sent
};

const SpacingCase kSpacingCases[] = {
    {"N72Lowest", LineSpacing::Units72, 0, 24, ""},
    {"N72Highest", LineSpacing::Units72, 85, 24, ""},
    {"N72PastTheSpinEdit", LineSpacing::Units72, 86, 24,
     "Межстрочный интервал 86/72 дюйма недопустим: допустимо от 0 до 85."},
    {"N72Negative", LineSpacing::Units72, -1, 24,
     "Межстрочный интервал -1/72 дюйма недопустим: допустимо от 0 до 85."},
    {"N72PastAByte", LineSpacing::Units72, 300, 24,
     "Межстрочный интервал 300/72 дюйма недопустим: допустимо от 0 до 85."},
    {"N216Lowest", LineSpacing::Units216, 8, 0, ""},
    {"N216Highest", LineSpacing::Units216, 8, 255, ""},
    {"N216PastAByte", LineSpacing::Units216, 8, 256,
     "Межстрочный интервал 256/216 дюйма недопустим: допустимо от 0 до 255."},
    {"N216Negative", LineSpacing::Units216, 8, -3,
     "Межстрочный интервал -3/216 дюйма недопустим: допустимо от 0 до 255."},
    {"FixedSpacingIgnoresTheSpinEdits", LineSpacing::Eighth, 1000, -1000, ""},
    {"OtherSpinEditIgnored", LineSpacing::Units216, 1000, 12, ""},
};

TEST(InitSequence, SpacingTheValueCannotTakeIsRefusedBeforeAnythingIsBuilt) {
  for (const SpacingCase& c : kSpacingCases) {
    SCOPED_TRACE(c.name);
    PrinterSettings s;
    s.spacing = c.spacing;
    s.units72 = c.spinEdit1;
    s.units216 = c.spinEdit2;

    const std::string error = SettingsError(s);

    EXPECT_EQ(error, c.error);
    if (error.empty()) {
      EXPECT_NO_THROW(BuildInitSequence(s));
    } else {
      try {
        BuildInitSequence(s);
        ADD_FAILURE() << "built a sequence the printer cannot take";
      } catch (const std::invalid_argument& e) {
        EXPECT_EQ(std::string(e.what()), error);
      }
    }
  }
}

std::string EncodeWith(cmd::Op op, std::uint8_t argBytes, std::uint8_t value) {
  switch (argBytes) {
    case 0:
      return cmd::Encode(op);
    case 1:
      return cmd::Encode(op, {value});
    case 2:
      return cmd::Encode(op, {value, value});
    default:
      return cmd::Encode(op, {value, value, value});
  }
}

TEST(CommandTable, CodesAreDistinctAndEncodeTakesExactlyTheirArguments) {
  for (const cmd::Command& a : cmd::kCommands) {
    SCOPED_TRACE(std::string(a.mnemonic));
    ASSERT_FALSE(a.code.empty());
    ASSERT_LE(a.argBytes, 3);
    // One control byte, or ESC and one byte (ESC C NUL and ESC & NUL take a third).
    EXPECT_TRUE(a.code.size() == 1 ? a.code[0] != '\x1B' : a.code[0] == '\x1B');
    for (const cmd::Command& b : cmd::kCommands) {
      if (&a != &b) {
        EXPECT_NE(a.code, b.code) << b.mnemonic;
        if (b.code.starts_with(a.code)) {
          EXPECT_EQ(a.op, cmd::Op::PageLengthLines) << b.mnemonic << " starts with it";
          EXPECT_EQ(b.op, cmd::Op::PageLengthInches);
        }
      }
    }
    const std::string encoded = EncodeWith(a.op, a.argBytes, 0xFF);
    EXPECT_EQ(encoded, std::string(a.code) + std::string(a.argBytes, '\xFF'));
    EXPECT_THROW(EncodeWith(a.op, static_cast<std::uint8_t>((a.argBytes + 1) % 4), 1),
                 std::invalid_argument);
  }
  EXPECT_EQ(Hex(cmd::Encode(cmd::Op::CharacterSet, {15})), "1B 52 0F");
  EXPECT_EQ(Hex(cmd::Encode(cmd::Op::SpacingN72, {8})), "1B 41 08");
  EXPECT_EQ(Hex(cmd::Encode(cmd::Op::SpacingN216, {24})), "1B 33 18");
  EXPECT_EQ(Hex(cmd::Encode(cmd::Op::PageLengthInches, {11})), "1B 43 00 0B");
}

// The data that follows a counted command, as the printer's manual gives it.
TEST(CommandTable, DataAfterTheFixedArguments) {
  struct Row {
    cmd::Op op;
    std::uint8_t head[3];
    std::size_t data;
  };
  const Row rows[] = {
      {cmd::Op::BitImage60, {3, 1}, 259},             // ESC K: a byte a column
      {cmd::Op::BitImage240, {0, 0}, 0},              // ESC Z with no columns
      {cmd::Op::BitImage, {0, 10, 0}, 10},            // ESC * 0: 8 dots, a byte a column
      {cmd::Op::BitImage, {39, 10, 0}, 30},           // ESC * 39: 24 dots, three bytes
      {cmd::Op::BitImage, {72, 1, 1}, 6 * 257},       // ESC * 72: 48 dots, six bytes
      {cmd::Op::NinePinBitImage, {0, 5, 0}, 10},      // ESC ^: two bytes a column
      {cmd::Op::DefineUserCharacters, {65, 66}, 24},  // two characters of 12 bytes
      {cmd::Op::DefineUserCharacters, {66, 65}, 0},   // an empty range
      {cmd::Op::ExtendedCommand, {'t', 3, 0}, 3},     // ESC ( t 3 0 d1 d2 d3
      {cmd::Op::ExtendedCommand, {'-', 0, 1}, 256},
      {cmd::Op::PageLengthLines, {66}, 0},
  };
  for (const Row& r : rows) {
    const cmd::Command& c = cmd::Lookup(r.op);
    SCOPED_TRACE(std::string(c.mnemonic));
    EXPECT_EQ(cmd::DataBytes(c.args, r.head), r.data);
  }
}

}  // namespace
}  // namespace pl4120
