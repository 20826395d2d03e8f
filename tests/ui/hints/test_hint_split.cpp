#include <gtest/gtest.h>

#include <string>

#include "ui/hints/HintSplit.h"

namespace {

struct SplitCase {
  const char* name;
  std::string hint;
  std::string shortPart;
  std::string longPart;
};

class HintSplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(HintSplitTest, SplitsAtTheFirstBar) {
  const SplitCase& c = GetParam();
  const pl4120::HintParts parts = pl4120::SplitHint(c.hint);
  EXPECT_EQ(parts.shortPart, c.shortPart);
  EXPECT_EQ(parts.longPart, c.longPart);
}

const SplitCase kCases[] = {
    {"Empty", "", "", ""},
    {"NoBarGivesBothTheWholeText", "Полный ассортимент работ", "Полный ассортимент работ",
     "Полный ассортимент работ"},
    {"ShortAndLong", "Имя устройства|Имя устройства вывода (принтер или файл)", "Имя устройства",
     "Имя устройства вывода (принтер или файл)"},
    {"LeadingBarGivesNoTooltip", "|Выход без сохранения текущих настроек", "",
     "Выход без сохранения текущих настроек"},
    {"TrailingBarGivesEmptyLong", "Имя файла|", "Имя файла", ""},
    {"BarAlone", "|", "", ""},
    {"LaterBarsBelongToTheLongPart", "a|b|c", "a", "b|c"},
    {"TwoBarsInARow", "a||b", "a", "|b"},
    {"QuotesAndBlanksKept", "Работа с принтером \"ПЛ 4120\"|Работа с принтером \"ПЛ 4120\"asd",
     "Работа с принтером \"ПЛ 4120\"", "Работа с принтером \"ПЛ 4120\"asd"},
    {"BlanksAroundTheBarKept", " a | b ", " a ", " b "},
    // Bytes of the 8-bit code page, including 0x7C neighbours and a zero byte.
    {"RawBytes", std::string("\x8f\x00\x7b|\x7d\xff", 6), std::string("\x8f\x00\x7b", 3),
     std::string("\x7d\xff", 2)},
};

INSTANTIATE_TEST_SUITE_P(Table, HintSplitTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SplitCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
