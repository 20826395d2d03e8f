#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

#include "printer/DeviceChannel.h"
#include "printer/InitSequence.h"
#include "printer/PrinterSettings.h"
#include "text/Cp866.h"
#include "ui/Application.h"
#include "ui/DeviceErrors.h"
#include "ui/ErrorBox.h"
#include "ui/HintManager.h"
#include "ui/Unit1.h"

void TPL4120_1::FormCreate() {
  TApplication* app = TApplication::Instance();
  if (app == nullptr) {
    return;
  }
  // The application outlives this window; a hint that arrives after it is gone finds no one.
  QPointer<TPL4120_1> self(this);
  app->Hints().SetOnHint([self] {
    if (self) {
      Guarded([&] { self->ShowApplicationHint(); });
    }
  });
}

void TPL4120_1::SetPrint1Click() {
  pl4120::PrinterSettings settings;
  settings.LangAltM = LangAltM->isChecked();
  settings.LangKoi8 = LangKoi8->isChecked();
  settings.LangComn = LangComn->isChecked();
  settings.WidElite = WidElite->isChecked();
  settings.WidExten = WidExten->isChecked();
  settings.Wid12smb = Wid12smb->isChecked();
  settings.Wid10smb = Wid10smb->isChecked();
  settings.Hei2spi = Hei2spi->isChecked();
  settings.Hei3spi = Hei3spi->isChecked();
  settings.Hei4spi = Hei4spi->isChecked();
  settings.StQuanty = StQuanty->isChecked();
  settings.StDouble = StDouble->isChecked();
  settings.StrOutPr = pl4120::EncodeCp866(StrOutPr->text().toStdU16String());
  settings.InitCrLf = InitCrLf->isChecked();
  SendToDevice(pl4120::BuildInitSequence(settings));
}

// Closing asks nothing and stores nothing; the message loop ends with the last window.
void TPL4120_1::QuitNoSvClick() {
  close();
}
void TPL4120_1::QuitSaveClick() {
  close();
}

void TPL4120_1::SendToDevice(const std::string& data) {
  // The device name is a file name of this system, not a text of the printer's code page.
  const QByteArray name = QFile::encodeName(PrnName->text());
  const pl4120::WriteResult result =
      pl4120::WriteToDevice(std::string_view(name.constData(), name.size()), data);
  if (!result.ok()) {
    // The user keeps the window and everything typed into it; the box says what went wrong.
    ShowErrorMessage(DeviceErrorMessage(name.toStdString(), result));
  }
}
