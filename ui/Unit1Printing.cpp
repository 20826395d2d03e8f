#include <QCheckBox>
#include <QPushButton>
#include <string>
#include <utility>

#include "text/PrintPayload.h"
#include "ui/OemMemo.h"
#include "ui/PrintQueue.h"
#include "ui/Unit1.h"

void TPL4120_1::btPrinTxClick() {
  if (PrintBusy)
    return;
  std::string subject = mmText->selLength() != 0 ? mmText->selectedBytes() : mmText->bytes();
  // The job holds the bytes as they are now; the button comes back when the job ends.
  printJob_ = SendToDevice(pl4120::PrintPayload(std::move(subject), cbNxPage->isChecked()),
                           PrintJobTitle(CurrentTextFileName));
  PrintBusy = true;
  btPrinTx->setEnabled(false);
}

void TPL4120_1::bbNxPageClick() {
  SendToDevice(pl4120::EjectPayload(), kEjectJobTitle);
}
