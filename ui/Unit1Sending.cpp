// Sending in the background: the window hands each send to the print queue and returns at
// once; the queue's reports drive the progress window, the print button and the error box.

#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <string>
#include <utility>

#include "ui/DeviceErrors.h"
#include "ui/ErrorBox.h"
#include "ui/PrintProgress.h"
#include "ui/PrintQueue.h"
#include "ui/PrinterFinder.h"
#include "ui/Unit1.h"

namespace {

std::string NotSent(int dropped) {
  return "Задания, ждавшие очереди, не отправлены: " + std::to_string(dropped) + ".";
}

}  // namespace

void TPL4120_1::SetUpSending() {
  PrintQueue = new TPrintQueue(this);
  PrintQueue->setObjectName(QStringLiteral("PrintQueue"));
  PrintProgress = new TPrintProgress(this);
  PrinterFinder = new TPrinterFinder(PrnName);

  connect(PrintQueue, &TPrintQueue::jobStarted, this,
          [this](TPrintQueue::Id, const QString& device, quint64 total) {
            PrintProgress->JobStarted(device, total, PrintQueue->Outstanding() - 1);
          });
  connect(PrintQueue, &TPrintQueue::jobProgress, this,
          [this](TPrintQueue::Id, quint64 sent, quint64 total, bool stalled) {
            PrintProgress->JobProgress(sent, total, stalled);
          });
  connect(PrintQueue, &TPrintQueue::jobEnded, this,
          [this](TPrintQueue::Id id, const QString& device, const pl4120::WriteResult& result) {
            Guarded([&] { SendEnded(id, device, result); });
          });
  connect(PrintQueue, &TPrintQueue::jobDropped, this,
          [this](TPrintQueue::Id id) { Guarded([&] { JobGone(id); }); });
  connect(PrintProgress, &TPrintProgress::cancelRequested, this,
          [this] { Guarded([&] { CancelSending(); }); });
}

TPrintQueue::Id TPL4120_1::SendToDevice(std::string data, std::string title) {
  // The device name is a file name of this system, not a text of the printer's code page.
  const QByteArray name = QFile::encodeName(PrnName->text());
  const TPrintQueue::Id id =
      PrintQueue->Add(TPrintJob{name.toStdString(), std::move(data), std::move(title)});
  PrintProgress->SetWaiting(PrintQueue->Outstanding() - 1);
  return id;
}

void TPL4120_1::SendEnded(quint64 id, const QString& device, const pl4120::WriteResult& result) {
  JobGone(id);
  std::string message = DeviceErrorMessage(device.toStdString(), result);
  if (droppedByCancel_ > 0) {
    if (!message.empty()) {
      message += ' ';
    }
    message += NotSent(droppedByCancel_);
    droppedByCancel_ = 0;
  }
  if (!message.empty()) {
    ShowSendMessage(message);
  }
}

void TPL4120_1::JobGone(quint64 id) {
  if (id == printJob_) {
    printJob_ = 0;
    btPrinTx->setEnabled(true);
    PrintBusy = false;
  }
  PrintProgress->SetWaiting(PrintQueue->Outstanding() - 1);
  PrintProgress->JobEnded(PrintQueue->Outstanding());
}

void TPL4120_1::CancelSending() {
  const int dropped = PrintQueue->CancelAll();
  if (PrintQueue->Busy()) {
    // The running job ends in a moment; its message tells of the dropped ones as well.
    droppedByCancel_ += dropped;
  } else if (dropped > 0) {
    ShowSendMessage("Печать прервана. " + NotSent(dropped));
  }
}

void TPL4120_1::ShowSendMessage(const std::string& message) {
  if (closing_) {
    return;
  }
  sendMessages_.push_back(message);
  ShowWaitingMessages();
}

// One box at a time: a job that ends while a box (or the close question) is up has its
// message shown after that box.
void TPL4120_1::ShowWaitingMessages() {
  if (messageOpen_) {
    return;
  }
  messageOpen_ = true;
  while (!sendMessages_.empty() && !closing_) {
    const std::string next = std::move(sendMessages_.front());
    sendMessages_.pop_front();
    ShowErrorMessage(next);
  }
  sendMessages_.clear();
  messageOpen_ = false;
}

bool TPL4120_1::ConfirmCloseWhilePrinting() {
  if (!PrintQueue->Busy()) {
    return true;
  }
  const bool wasOpen = std::exchange(messageOpen_, true);
  QMessageBox box(QMessageBox::Question, ApplicationTitle(),
                  QString::fromUtf8("Идёт печать. Прервать печать и выйти?"),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setObjectName(QStringLiteral("CloseQuestion"));
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  const bool quit = box.exec() == QMessageBox::Yes;
  messageOpen_ = wasOpen;
  if (quit) {
    // Nothing more is shown: the jobs end as the window goes.
    closing_ = true;
    PrintQueue->CancelAll();
    PrintProgress->hide();
  } else {
    ShowWaitingMessages();
  }
  return quit;
}
