#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <string>

#include "ui/printing/PrintQueue.h"

namespace pl4120 {
struct WriteResult;
}

/// The window's sends as one piece of state without widgets: the print queue that sends them,
/// the print job that holds "Распечатка текста" back until it ends, what "Отмена" dropped, and
/// the messages of ended jobs, shown one at a time and never while the close question is up.
/// The window connects the signals to its controls: the progress window, the print button and
/// the error box.
class TSendSession : public QObject {
  Q_OBJECT

 public:
  explicit TSendSession(QObject* parent = nullptr);

  TPrintQueue& Queue() { return *queue_; }

  /// Queues `data` for the destination `device` (a platform file name) as a job titled
  /// `title`; returns at once with the job's number.
  TPrintQueue::Id Send(std::string device, std::string data, std::string title);
  /// The same for "Распечатка текста": refused (0) while the last print job waits or runs.
  TPrintQueue::Id Print(std::string device, std::string data, std::string title);
  /// True while the job of Print() waits or runs.
  bool PrintBusy() const { return printJob_ != 0; }
  /// True while any job waits or runs.
  bool Busy() const { return queue_->Busy(); }

  /// "Отмена": cancels the running job and drops the waiting ones; what was dropped is told
  /// with the running job's message, or at once when none runs.
  void Cancel();

  /// The close question is up: messages wait until it is answered. With `quit` the jobs are
  /// cancelled and nothing more is told; otherwise the waiting messages come.
  void CloseQuestionShown();
  void CloseQuestionAnswered(bool quit);

 signals:
  /// The print button's state: false while the print job waits or runs.
  void printAllowed(bool allowed);
  /// For the progress window.
  void jobStarted(const QString& device, quint64 total, int waitingBehind);
  void jobProgress(quint64 sent, quint64 total, bool stalled);
  void waitingChanged(int waitingBehind);
  void jobEnded(int outstanding);
  /// A message for the user (UTF-8). The receiver may show it modally: messages that come
  /// meanwhile wait for it to return.
  void message(const std::string& text);
  /// The user chose to stop printing and close: the progress goes.
  void closing();

 private:
  void Ended(TPrintQueue::Id id, const QString& device, const pl4120::WriteResult& result);
  void Gone(TPrintQueue::Id id);
  void Tell(const std::string& text);
  void TellWaiting();

  TPrintQueue* queue_;
  TPrintQueue::Id printJob_ = 0;
  int droppedByCancel_ = 0;          // told with the cancelled job's message
  std::deque<std::string> waiting_;  // messages waiting for the one that is up
  bool messageOpen_ = false;
  bool openBeforeQuestion_ = false;  // a message was up when the close question came
  bool closing_ = false;
};
