#include <QPointer>
#include <string>

#include "printer/InitSequence.h"
#include "ui/Application.h"
#include "ui/ErrorBox.h"
#include "ui/HintManager.h"
#include "ui/PrintQueue.h"
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
  const pl4120::PrinterSettings settings = CurrentSettings();
  // Settings the printer cannot take are refused before anything is queued.
  if (const std::string error = pl4120::SettingsError(settings); !error.empty()) {
    ShowErrorMessage(error);
    return;
  }
  SendToDevice(pl4120::BuildInitSequence(settings), kInitJobTitle);
}

// Closing stores nothing (closeEvent asks only while printing); the message loop ends with the
// last window.
void TPL4120_1::QuitNoSvClick() {
  close();
}
void TPL4120_1::QuitSaveClick() {
  close();
}
