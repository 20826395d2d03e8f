#pragma once

#include <QObject>
#include <QString>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "printer/Output.h"

/// One send as it stood at the click.
struct TPrintJob {
  std::string device;  ///< the destination name (PrnName at the click) as a file name
  std::string data;    ///< the bytes, exactly as they go out
  std::string title;   ///< the job's title at a print service (UTF-8)
};

/// The jobs for the printer: sent one after another, in the order they were added, on one
/// worker thread of the queue's own, so that the window never waits for a device, a network
/// or a print service. The worker touches no widget and no state of the window: whatever
/// happens to a job comes back as the signals below, emitted on the thread that owns the
/// queue. Showing progress and errors is the window's business.
class TPrintQueue : public QObject {
  Q_OBJECT

 public:
  using Id = quint64;

  explicit TPrintQueue(QObject* parent = nullptr);
  /// Drops the waiting jobs, cancels the running one and waits for the worker to end (a
  /// cancel takes at most a few hundred milliseconds, whatever the destination does).
  ~TPrintQueue() override;
  TPrintQueue(const TPrintQueue&) = delete;
  TPrintQueue& operator=(const TPrintQueue&) = delete;

  /// Queues a job behind the others and returns at once; its number (from 1).
  Id Add(TPrintJob job);
  /// Cancels the running job and drops the waiting ones: each dropped job gets jobDropped at
  /// once, the running one ends soon after with jobEnded and a cancelled result. The number
  /// of jobs dropped.
  int CancelAll();
  /// Jobs added and not yet ended or dropped, as the owner's thread has heard of them.
  int Outstanding() const { return static_cast<int>(outstanding_.size()); }
  bool Busy() const { return !outstanding_.empty(); }

  /// The options each job starts from; the queue sets the title and the progress callback of
  /// each job. By default: the stall delay and time-outs of the printer core, and the user
  /// who runs the program. Changes apply to the jobs that start afterwards.
  pl4120::JobOptions Options() const;
  void SetOptions(const pl4120::JobOptions& options);

 signals:
  /// The worker took the job up; `device` is its destination as the user wrote it.
  void jobStarted(Id id, const QString& device, quint64 total);
  /// Where the running job stands (at most every progress interval, and whenever the
  /// destination stalls or moves again).
  void jobProgress(Id id, quint64 sent, quint64 total, bool stalled);
  /// The job ended: written, failed or cancelled.
  void jobEnded(Id id, const QString& device, const pl4120::WriteResult& result);
  /// The job was dropped by CancelAll before it started.
  void jobDropped(Id id);

 private:
  struct Entry {
    Id id = 0;
    TPrintJob job;
  };

  void Run();
  void Ended(Id id, const QString& device, const pl4120::WriteResult& result);

  // Shared with the worker, under mutex_.
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Entry> waiting_;
  std::shared_ptr<pl4120::CancelToken> running_;  // the running job's cancel
  pl4120::JobOptions options_;
  bool stop_ = false;

  // The owner's thread only.
  Id lastId_ = 0;
  std::set<Id> outstanding_;

  std::thread worker_;  // last: starts when everything above is ready
};

/// The name of the user who runs the program, as print services know users (the login name).
std::string LoginName();

/// Job titles: a print of the text file `path` (a file name of the system; empty while the
/// text comes from no file) is "ПЛ 4120: " and the file's name, without its folder.
std::string PrintJobTitle(const std::string& path);
inline constexpr const char* kInitJobTitle = "ПЛ 4120: инициализация";
inline constexpr const char* kEjectJobTitle = "ПЛ 4120: выброс листа";
