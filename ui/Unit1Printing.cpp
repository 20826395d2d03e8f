#include <QCheckBox>
#include <QPushButton>
#include <string>
#include <utility>

#include "text/PrintPayload.h"
#include "ui/OemMemo.h"
#include "ui/Unit1.h"

void TPL4120_1::btPrinTxClick() {
  if (PrintBusy)
    return;
  PrintBusy = true;
  btPrinTx->setEnabled(false);
  // The button and the flag come back however the send ends, an exception included.
  struct Release {
    TPL4120_1* window;
    ~Release() {
      window->btPrinTx->setEnabled(true);
      window->PrintBusy = false;
    }
  } release{this};

  std::string subject = mmText->selLength() != 0 ? mmText->selectedBytes() : mmText->bytes();
  SendToDevice(pl4120::PrintPayload(std::move(subject), cbNxPage->isChecked()));
}

void TPL4120_1::bbNxPageClick() {
  SendToDevice(pl4120::EjectPayload());
}
