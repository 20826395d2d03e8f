#include "printer/InitSequence.h"

#include "printer/Commands.h"

namespace pl4120 {

using cmd::Encode;
using cmd::Op;

std::string BuildInitSequence(const PrinterSettings& settings) {
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
    case LineSpacing::Hei0118:
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
