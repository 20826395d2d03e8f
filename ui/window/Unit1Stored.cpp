#include <QCheckBox>
#include <QLineEdit>
#include <QStatusBar>
#include <algorithm>

#include "printer/PrinterSettings.h"
#include "ui/session/StoredSettings.h"
#include "ui/widgets/ErrorBox.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/window/Unit1.h"

namespace {

// The value a spin edit takes once the focus leaves it: a menu command leaves the focus where
// it is, so a value typed beyond the limits may still stand there.
std::int32_t Limited(const TSpinEdit* spin, std::int32_t value) {
  if (spin->MinValue() == spin->MaxValue()) {
    return value;
  }
  return std::clamp(value, spin->MinValue(), spin->MaxValue());
}

QString Quoted(const QString& path) {
  return u'"' + path + u'"';
}

}  // namespace

pl4120::StoredSettings TPL4120_1::CurrentStoredSettings() const {
  pl4120::StoredSettings settings;
  settings.printer = CurrentSettings();
  settings.printer.units72 = Limited(SpinEdit1, settings.printer.units72);
  settings.printer.units216 = Limited(SpinEdit2, settings.printer.units216);
  settings.text.edLPtx = edLPtx->text();
  settings.text.cbLfCrTx = cbLfCrTx->isChecked();
  settings.text.cbNxPage = cbNxPage->isChecked();
  return settings;
}

void TPL4120_1::ApplyStoredSettings(const pl4120::StoredSettings& settings) {
  ApplySettings(settings.printer);
  edLPtx->setText(settings.text.edLPtx);
  cbLfCrTx->setChecked(settings.text.cbLfCrTx);
  cbNxPage->setChecked(settings.text.cbNxPage);
}

bool TPL4120_1::LoadStoredSettings() {
  using Outcome = pl4120::StoredSettingsRead::Outcome;
  const pl4120::StoredSettingsRead read = pl4120::ReadStoredSettings(pl4120::SettingsFilePath());
  if (read.outcome == Outcome::Read) {
    ApplyStoredSettings(read.settings);
  }
  if (!read.problem.isEmpty()) {
    StatusBar1->showMessage(read.problem);
  }
  return read.outcome != Outcome::NoFile;
}

bool TPL4120_1::StoreSettings() {
  const QString path = pl4120::SettingsFilePath();
  const QString reason = pl4120::WriteStoredSettings(path, CurrentStoredSettings());
  if (reason.isEmpty()) {
    return true;
  }
  const QString message =
      QStringLiteral("Не удалось сохранить настройки в файл ") + Quoted(path) + u": " + reason;
  ShowErrorMessage(message.toStdString());
  return false;
}

void TPL4120_1::Save3Click() {
  if (!LoadStoredSettings()) {
    StatusBar1->showMessage(QStringLiteral("Настройки ещё не сохранялись: нет файла ") +
                            Quoted(pl4120::SettingsFilePath()) + u'.');
  }
}

void TPL4120_1::Save4Click() {
  if (StoreSettings()) {
    StatusBar1->showMessage(QStringLiteral("Настройки сохранены в файл ") +
                            Quoted(pl4120::SettingsFilePath()) + u'.');
  }
}

void TPL4120_1::QuitSaveClick() {
  if (StoreSettings()) {
    close();
  }
}
