#include <QCloseEvent>
#include <QPointer>
#include <algorithm>
#include <iterator>
#include <string>

#include "app/Application.h"
#include "printer/InitSequence.h"
#include "ui/hints/HintManager.h"
#include "ui/printing/PrintQueue.h"
#include "ui/widgets/ErrorBox.h"
#include "ui/widgets/HelpWindow.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/window/Unit1.h"

void TPL4120_1::FormCreate() {
  TApplication* app = TApplication::Instance();
  if (app == nullptr) {
    return;
  }
  app->Hints().Attach(this, {SpinEdit1, SpinEdit2});
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

// Stores nothing ("Выход с сохранением" stores the settings first, Unit1Stored.cpp); the message
// loop ends with the last window.
void TPL4120_1::QuitNoSvClick() {
  close();
}

void TPL4120_1::closeEvent(QCloseEvent* event) {
  bool canClose = false;
  Guarded([&] { canClose = CanClose(); });  // a failure keeps the window and all it holds
  if (canClose) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TPL4120_1::CanClose() {
  // What would be lost by closing, in the order the user is asked; the first answer that keeps
  // the window open ends the asking.
  using Check = bool (TPL4120_1::*)();
  static constexpr Check kChecks[] = {&TPL4120_1::EditedTextSettled,
                                      &TPL4120_1::ConfirmCloseWhilePrinting};
  return std::all_of(std::begin(kChecks), std::end(kChecks),
                     [this](Check check) { return (this->*check)(); });
}

void TPL4120_1::InstrucClick() {
  ShowHelp(this);
}

void TPL4120_1::About2Click() {
  ShowAbout(this);
}
