#include "ui/session/SendSession.h"

#include <utility>

#include "printer/DeviceErrors.h"

namespace {

std::string NotSent(int dropped) {
  return "Задания, ждавшие очереди, не отправлены: " + std::to_string(dropped) + ".";
}

}  // namespace

TSendSession::TSendSession(QObject* parent) : QObject(parent), queue_(new TPrintQueue(this)) {
  queue_->setObjectName(QStringLiteral("PrintQueue"));
  connect(queue_, &TPrintQueue::jobStarted, this,
          [this](TPrintQueue::Id, const QString& device, quint64 total) {
            emit jobStarted(device, total, queue_->Outstanding() - 1);
          });
  connect(queue_, &TPrintQueue::jobProgress, this,
          [this](TPrintQueue::Id, quint64 sent, quint64 total, bool stalled) {
            emit jobProgress(sent, total, stalled);
          });
  connect(queue_, &TPrintQueue::jobEnded, this, &TSendSession::Ended);
  connect(queue_, &TPrintQueue::jobDropped, this, &TSendSession::Gone);
}

TPrintQueue::Id TSendSession::Send(std::string device, std::string data, std::string title) {
  const TPrintQueue::Id id =
      queue_->Add(TPrintJob{std::move(device), std::move(data), std::move(title)});
  emit waitingChanged(queue_->Outstanding() - 1);
  return id;
}

TPrintQueue::Id TSendSession::Print(std::string device, std::string data, std::string title) {
  if (PrintBusy()) {
    return 0;
  }
  // The job holds the bytes as they are now; printing is allowed again when it ends.
  printJob_ = Send(std::move(device), std::move(data), std::move(title));
  emit printAllowed(false);
  return printJob_;
}

void TSendSession::Ended(TPrintQueue::Id id, const QString& device,
                         const pl4120::WriteResult& result) {
  Gone(id);
  std::string text = pl4120::DeviceErrorMessage(device.toStdString(), result);
  if (droppedByCancel_ > 0) {
    if (!text.empty()) {
      text += ' ';
    }
    text += NotSent(droppedByCancel_);
    droppedByCancel_ = 0;
  }
  if (!text.empty()) {
    Tell(text);
  }
}

void TSendSession::Gone(TPrintQueue::Id id) {
  if (id == printJob_) {
    printJob_ = 0;
    emit printAllowed(true);
  }
  emit waitingChanged(queue_->Outstanding() - 1);
  emit jobEnded(queue_->Outstanding());
}

void TSendSession::Cancel() {
  const int dropped = queue_->CancelAll();
  if (queue_->Busy()) {
    // The running job ends in a moment; its message tells of the dropped ones as well.
    droppedByCancel_ += dropped;
  } else if (dropped > 0) {
    Tell("Печать прервана. " + NotSent(dropped));
  }
}

void TSendSession::Tell(const std::string& text) {
  if (closing_) {
    return;
  }
  waiting_.push_back(text);
  TellWaiting();
}

// One message at a time: a job that ends while a message (or the close question) is up has its
// message told after that one.
void TSendSession::TellWaiting() {
  if (messageOpen_) {
    return;
  }
  messageOpen_ = true;
  while (!waiting_.empty() && !closing_) {
    const std::string next = std::move(waiting_.front());
    waiting_.pop_front();
    emit message(next);
  }
  waiting_.clear();
  messageOpen_ = false;
}

void TSendSession::CloseQuestionShown() {
  openBeforeQuestion_ = std::exchange(messageOpen_, true);
}

void TSendSession::CloseQuestionAnswered(bool quit) {
  messageOpen_ = openBeforeQuestion_;
  if (quit) {
    // Nothing more is told: the jobs end as the window goes.
    closing_ = true;
    queue_->CancelAll();
    emit closing();
  } else {
    TellWaiting();
  }
}
