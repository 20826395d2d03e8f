#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <array>
#include <cstddef>

#include "printer/PrinterSettings.h"
#include "text/Cp866.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/window/LayoutTables.h"
#include "ui/window/Unit1.h"

namespace {

using pl4120::CharTable;
using pl4120::LineSpacing;
using pl4120::Pitch;
using L = pl4120::layout::TWindowLayout;

// The value of the checked button of a set; the first value when none is checked (a set
// always has one checked button in the window).
template <class Enum, std::size_t N>
Enum Checked(const TPL4120_1& window, const std::array<QRadioButton * TPL4120_1::*, N>& set) {
  for (std::size_t i = 0; i < N; ++i) {
    if ((window.*set[i])->isChecked()) {
      return static_cast<Enum>(i);
    }
  }
  return static_cast<Enum>(0);
}

// Checks the button of a value and makes it the set's one tab stop (as a click does).
template <class Enum, std::size_t N>
void Check(TPL4120_1& window, const std::array<QRadioButton * TPL4120_1::*, N>& set, Enum value) {
  const auto index = static_cast<std::size_t>(value);
  if (index >= N) {
    return;
  }
  (window.*set[index])->setChecked(true);
  for (std::size_t i = 0; i < N; ++i) {
    (window.*set[i])->setFocusPolicy(i == index ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

}  // namespace

pl4120::PrinterSettings TPL4120_1::CurrentSettings() const {
  pl4120::PrinterSettings settings;
  settings.charTable = Checked<CharTable>(*this, L::kCharTableSet);
  settings.condensed = WidElite->isChecked();
  settings.doubleWidth = WidExten->isChecked();
  settings.pitch = Checked<Pitch>(*this, L::kPitchSet);
  settings.spacing = Checked<LineSpacing>(*this, L::kSpacingSet);
  settings.units72 = SpinEdit1->Value();
  settings.units216 = SpinEdit2->Value();
  settings.emphasised = StQuanty->isChecked();
  settings.doubleStrike = StDouble->isChecked();
  settings.testLine = pl4120::EncodeCp866(StrOutPr->text().toStdU16String());
  settings.crLfAfterTestLine = InitCrLf->isChecked();
  settings.device = PrnName->text().toStdString();
  return settings;
}

void TPL4120_1::ApplySettings(const pl4120::PrinterSettings& settings) {
  Check(*this, L::kCharTableSet, settings.charTable);
  WidElite->setChecked(settings.condensed);
  WidExten->setChecked(settings.doubleWidth);
  Check(*this, L::kPitchSet, settings.pitch);
  Check(*this, L::kSpacingSet, settings.spacing);
  SpinEdit1->SetValue(settings.units72);
  SpinEdit2->SetValue(settings.units216);
  StQuanty->setChecked(settings.emphasised);
  StDouble->setChecked(settings.doubleStrike);
  StrOutPr->setText(QString::fromStdU16String(pl4120::DecodeCp866(settings.testLine)));
  InitCrLf->setChecked(settings.crLfAfterTestLine);
  PrnName->setText(QString::fromStdString(settings.device));
}
