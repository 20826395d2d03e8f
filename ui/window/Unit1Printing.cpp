#include <QCheckBox>
#include <string>
#include <utility>

#include "text/PrintPayload.h"
#include "ui/session/SendSession.h"
#include "ui/session/TextFile.h"
#include "ui/widgets/OemMemo.h"
#include "ui/window/Unit1.h"

void TPL4120_1::btPrinTxClick() {
  if (sending_->PrintBusy()) {
    return;
  }
  std::string subject = mmText->selLength() != 0 ? mmText->selectedBytes() : mmText->bytes();
  // The job holds the bytes as they are now; the button comes back when the job ends.
  PrintToDevice(pl4120::PrintPayload(std::move(subject), cbNxPage->isChecked()),
                PrintJobTitle(textFile_->Name()));
}

void TPL4120_1::bbNxPageClick() {
  SendToDevice(pl4120::EjectPayload(), kEjectJobTitle);
}
