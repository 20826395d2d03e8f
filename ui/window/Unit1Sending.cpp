// Sending in the background: the window hands each send to the send session and returns at
// once; the session's reports drive the progress window, the print button and the error box.

#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <string>
#include <utility>

#include "ui/printing/PrintProgress.h"
#include "ui/printing/PrinterFinder.h"
#include "ui/session/SendSession.h"
#include "ui/widgets/ErrorBox.h"
#include "ui/window/Unit1.h"

void TPL4120_1::SetUpSending() {
  sending_ = new TSendSession(this);
  PrintProgress = new TPrintProgress(this);
  PrinterFinder = new TPrinterFinder(PrnName);

  connect(sending_, &TSendSession::jobStarted, PrintProgress, &TPrintProgress::JobStarted);
  connect(sending_, &TSendSession::jobProgress, PrintProgress, &TPrintProgress::JobProgress);
  connect(sending_, &TSendSession::waitingChanged, PrintProgress, &TPrintProgress::SetWaiting);
  connect(sending_, &TSendSession::jobEnded, PrintProgress, &TPrintProgress::JobEnded);
  connect(sending_, &TSendSession::closing, PrintProgress, &TPrintProgress::hide);
  connect(sending_, &TSendSession::printAllowed, btPrinTx, &QPushButton::setEnabled);
  connect(sending_, &TSendSession::message, this,
          [](const std::string& text) { Guarded([&] { ShowErrorMessage(text); }); });
  connect(PrintProgress, &TPrintProgress::cancelRequested, this,
          [this] { Guarded([&] { sending_->Cancel(); }); });
}

// The device name is a file name of this system, not a text of the printer's code page.
static std::string DeviceName(const QLineEdit* field) {
  return QFile::encodeName(field->text()).toStdString();
}

TPrintQueue::Id TPL4120_1::SendToDevice(std::string data, std::string title) {
  return sending_->Send(DeviceName(PrnName), std::move(data), std::move(title));
}

TPrintQueue::Id TPL4120_1::PrintToDevice(std::string data, std::string title) {
  return sending_->Print(DeviceName(PrnName), std::move(data), std::move(title));
}

bool TPL4120_1::ConfirmCloseWhilePrinting() {
  if (!sending_->Busy()) {
    return true;
  }
  sending_->CloseQuestionShown();
  QMessageBox box(QMessageBox::Question, ApplicationTitle(),
                  QString::fromUtf8("Идёт печать. Прервать печать и выйти?"),
                  QMessageBox::Yes | QMessageBox::No, this);
  box.setObjectName(QStringLiteral("CloseQuestion"));
  box.setDefaultButton(QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  const bool quit = box.exec() == QMessageBox::Yes;
  sending_->CloseQuestionAnswered(quit);
  return quit;
}
