#include "printer/InitSequence.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#include "printer/Commands.h"

namespace pl4120 {

using cmd::Encode;
using cmd::Op;

namespace {

struct Range {
  std::int32_t min;
  std::int32_t max;
};

// An argument byte takes 0..255; a spin edit narrows that unless its limits are equal.
Range ArgumentRange(std::int32_t spinMin, std::int32_t spinMax) {
  if (spinMin == spinMax) {
    return {0, 255};
  }
  return {std::max<std::int32_t>(0, spinMin), std::min<std::int32_t>(255, spinMax)};
}

Range SpacingRange(LineSpacing spacing) {
  return spacing == LineSpacing::Hei0353 ? ArgumentRange(kSpinEdit1Min, kSpinEdit1Max)
                                         : ArgumentRange(kSpinEdit2Min, kSpinEdit2Max);
}

}  // namespace

std::string SettingsError(const PrinterSettings& settings) {
  if (settings.Hei != LineSpacing::Hei0353 && settings.Hei != LineSpacing::Hei0118) {
    return {};
  }
  const Range range = SpacingRange(settings.Hei);
  const std::int32_t units = settings.SpacingUnits();
  if (units >= range.min && units <= range.max) {
    return {};
  }
  const char* unit = settings.Hei == LineSpacing::Hei0353 ? "/72" : "/216";
  return "Межстрочный интервал " + std::to_string(units) + unit +
         " дюйма недопустим: допустимо от " + std::to_string(range.min) + " до " +
         std::to_string(range.max) + ".";
}

std::string BuildInitSequence(const PrinterSettings& settings) {
  if (std::string error = SettingsError(settings); !error.empty()) {
    throw std::invalid_argument(error);
  }
  std::string sequence = Encode(Op::Reset);
  switch (settings.Lang) {
    case CharTable::LangAltM:
    case CharTable::LangKoi8:
    case CharTable::LangComn:
      // Every table choice selects the same set; the text is never converted.
      sequence += Encode(Op::CharacterSet, {cmd::kCharacterSetNumber});
      break;
    case CharTable::RadioButton1:
    case CharTable::RadioButton2:
    case CharTable::RadioButton3:
      break;
  }
  sequence += Encode(settings.WidElite ? Op::CondensedOn : Op::CondensedOff);
  sequence += Encode(settings.WidExten ? Op::DoubleWidthOn : Op::DoubleWidthOff);
  sequence += Encode(settings.Wid == Pitch::Wid12smb ? Op::Pitch12 : Op::Pitch10);
  switch (settings.Hei) {
    case LineSpacing::Hei2spi:
      sequence += Encode(Op::SpacingSevenOf72);
      break;
    case LineSpacing::Hei3spi:
      sequence += Encode(Op::SpacingEighth);
      break;
    case LineSpacing::Hei4spi:
      sequence += Encode(Op::SpacingSixth);
      break;
    case LineSpacing::Hei0353:
      // "x 0,353 mm" is 1/72 inch: n of those.
      sequence += Encode(Op::SpacingN72, {static_cast<std::uint8_t>(settings.SpinEdit1)});
      break;
    case LineSpacing::Hei0118:
      // "x 0,118 mm" is 1/216 inch: n of those.
      sequence += Encode(Op::SpacingN216, {static_cast<std::uint8_t>(settings.SpinEdit2)});
      break;
  }
  sequence += Encode(settings.StQuanty ? Op::EmphasizedOn : Op::EmphasizedOff);
  sequence += Encode(settings.StDouble ? Op::DoubleStrikeOn : Op::DoubleStrikeOff);
  sequence += settings.StrOutPr;
  if (settings.InitCrLf) {
    sequence += Encode(Op::CarriageReturn) + Encode(Op::LineFeed);
  }
  sequence += Encode(Op::CarriageReturn);
  return sequence;
}

}  // namespace pl4120
