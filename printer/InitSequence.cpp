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
  return spacing == LineSpacing::Units72 ? ArgumentRange(kUnits72Min, kUnits72Max)
                                         : ArgumentRange(kUnits216Min, kUnits216Max);
}

}  // namespace

std::string SettingsError(const PrinterSettings& settings) {
  if (settings.spacing != LineSpacing::Units72 && settings.spacing != LineSpacing::Units216) {
    return {};
  }
  const Range range = SpacingRange(settings.spacing);
  const std::int32_t units = settings.SpacingUnits();
  if (units >= range.min && units <= range.max) {
    return {};
  }
  const char* unit = settings.spacing == LineSpacing::Units72 ? "/72" : "/216";
  return "Межстрочный интервал " + std::to_string(units) + unit +
         " дюйма недопустим: допустимо от " + std::to_string(range.min) + " до " +
         std::to_string(range.max) + ".";
}

std::string BuildInitSequence(const PrinterSettings& settings) {
  if (std::string error = SettingsError(settings); !error.empty()) {
    throw std::invalid_argument(error);
  }
  std::string sequence = Encode(Op::Reset);
  switch (settings.charTable) {
    case CharTable::Alternative:
    case CharTable::Koi8:
    case CharTable::Combined:
      // Every table choice selects the same set; the text is never converted.
      sequence += Encode(Op::CharacterSet, {cmd::kCharacterSetNumber});
      break;
    case CharTable::NoTable1:
    case CharTable::NoTable2:
    case CharTable::NoTable3:
      break;
  }
  sequence += Encode(settings.condensed ? Op::CondensedOn : Op::CondensedOff);
  sequence += Encode(settings.doubleWidth ? Op::DoubleWidthOn : Op::DoubleWidthOff);
  sequence += Encode(settings.pitch == Pitch::Cpi12 ? Op::Pitch12 : Op::Pitch10);
  switch (settings.spacing) {
    case LineSpacing::Tenth:
      sequence += Encode(Op::SpacingSevenOf72);
      break;
    case LineSpacing::Eighth:
      sequence += Encode(Op::SpacingEighth);
      break;
    case LineSpacing::Sixth:
      sequence += Encode(Op::SpacingSixth);
      break;
    case LineSpacing::Units72:
      // "x 0,353 mm" is 1/72 inch: n of those.
      sequence += Encode(Op::SpacingN72, {static_cast<std::uint8_t>(settings.units72)});
      break;
    case LineSpacing::Units216:
      // "x 0,118 mm" is 1/216 inch: n of those.
      sequence += Encode(Op::SpacingN216, {static_cast<std::uint8_t>(settings.units216)});
      break;
  }
  sequence += Encode(settings.emphasised ? Op::EmphasizedOn : Op::EmphasizedOff);
  sequence += Encode(settings.doubleStrike ? Op::DoubleStrikeOn : Op::DoubleStrikeOff);
  sequence += settings.testLine;
  if (settings.crLfAfterTestLine) {
    sequence += Encode(Op::CarriageReturn) + Encode(Op::LineFeed);
  }
  sequence += Encode(Op::CarriageReturn);
  return sequence;
}

}  // namespace pl4120
