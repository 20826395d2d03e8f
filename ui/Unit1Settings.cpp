#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <array>
#include <cstddef>

#include "printer/PrinterSettings.h"
#include "text/Cp866.h"
#include "ui/LayoutTables.h"
#include "ui/SpinEdit.h"
#include "ui/Unit1.h"

namespace {

using pl4120::CharTable;
using pl4120::LineSpacing;
using pl4120::Pitch;
using pl4120::layout::kCharTableSet;
using pl4120::layout::kPitchSet;
using pl4120::layout::kSpacingSet;

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
  settings.Lang = Checked<CharTable>(*this, kCharTableSet);
  settings.WidElite = WidElite->isChecked();
  settings.WidExten = WidExten->isChecked();
  settings.Wid = Checked<Pitch>(*this, kPitchSet);
  settings.Hei = Checked<LineSpacing>(*this, kSpacingSet);
  settings.SpinEdit1 = SpinEdit1->Value();
  settings.SpinEdit2 = SpinEdit2->Value();
  settings.StQuanty = StQuanty->isChecked();
  settings.StDouble = StDouble->isChecked();
  settings.StrOutPr = pl4120::EncodeCp866(StrOutPr->text().toStdU16String());
  settings.InitCrLf = InitCrLf->isChecked();
  settings.PrnName = PrnName->text().toStdString();
  return settings;
}

void TPL4120_1::ApplySettings(const pl4120::PrinterSettings& settings) {
  Check(*this, kCharTableSet, settings.Lang);
  WidElite->setChecked(settings.WidElite);
  WidExten->setChecked(settings.WidExten);
  Check(*this, kPitchSet, settings.Wid);
  Check(*this, kSpacingSet, settings.Hei);
  SpinEdit1->SetValue(settings.SpinEdit1);
  SpinEdit2->SetValue(settings.SpinEdit2);
  StQuanty->setChecked(settings.StQuanty);
  StDouble->setChecked(settings.StDouble);
  StrOutPr->setText(QString::fromStdU16String(pl4120::DecodeCp866(settings.StrOutPr)));
  InitCrLf->setChecked(settings.InitCrLf);
  PrnName->setText(QString::fromStdString(settings.PrnName));
}
