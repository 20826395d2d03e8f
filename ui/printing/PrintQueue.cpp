#include "ui/printing/PrintQueue.h"

#include <pwd.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <cstdlib>
#include <utility>

#include "printer/Destination.h"

std::string LoginName() {
  if (const passwd* entry = ::getpwuid(::geteuid());
      entry != nullptr && entry->pw_name != nullptr) {
    return entry->pw_name;
  }
  const char* user = std::getenv("USER");
  return user != nullptr ? user : "";
}

std::string PrintJobTitle(const std::string& path) {
  const QString name = QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
  return "ПЛ 4120: " + (name.isEmpty() ? std::string("без имени") : name.toStdString());
}

TPrintQueue::TPrintQueue(QObject* parent) : QObject(parent) {
  options_.user = LoginName();
  worker_ = std::thread([this] { Run(); });
}

TPrintQueue::~TPrintQueue() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    waiting_.clear();
    if (running_) {
      running_->Cancel();
    }
  }
  wake_.notify_all();
  worker_.join();
  // What the worker posted and nobody took any more goes with this object.
}

TPrintQueue::Id TPrintQueue::Add(TPrintJob job) {
  const Id id = ++lastId_;
  outstanding_.insert(id);
  {
    std::lock_guard lock(mutex_);
    waiting_.push_back(Entry{id, std::move(job)});
  }
  wake_.notify_one();
  return id;
}

int TPrintQueue::CancelAll() {
  std::deque<Entry> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(waiting_);
    if (running_) {
      running_->Cancel();
    }
  }
  for (const Entry& entry : dropped) {
    outstanding_.erase(entry.id);
    emit jobDropped(entry.id);
  }
  return static_cast<int>(dropped.size());
}

pl4120::JobOptions TPrintQueue::Options() const {
  std::lock_guard lock(mutex_);
  return options_;
}

void TPrintQueue::SetOptions(const pl4120::JobOptions& options) {
  std::lock_guard lock(mutex_);
  options_ = options;
}

void TPrintQueue::Ended(Id id, const QString& device, const pl4120::WriteResult& result) {
  outstanding_.erase(id);
  emit jobEnded(id, device, result);
}

// The worker: everything it reports goes to the owner's thread as a queued call on this
// object, so that the signals come from there and stop with the object.
void TPrintQueue::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !waiting_.empty(); });
    if (stop_) {
      return;
    }
    Entry entry = std::move(waiting_.front());
    waiting_.pop_front();
    auto cancel = std::make_shared<pl4120::CancelToken>();
    running_ = cancel;
    pl4120::JobOptions options = options_;
    lock.unlock();

    const Id id = entry.id;
    const QString device = QFile::decodeName(
        QByteArray(entry.job.device.data(), static_cast<qsizetype>(entry.job.device.size())));
    options.title = entry.job.title;
    options.onProgress = [this, id](const pl4120::Progress& p) {
      QMetaObject::invokeMethod(
          this, [this, id, p] { emit jobProgress(id, p.sent, p.total, p.stalled); },
          Qt::QueuedConnection);
    };
    const quint64 total = entry.job.data.size();
    QMetaObject::invokeMethod(
        this, [this, id, device, total] { emit jobStarted(id, device, total); },
        Qt::QueuedConnection);

    pl4120::WriteResult result =
        pl4120::SendJob(entry.job.device, entry.job.data, options, cancel.get());

    QMetaObject::invokeMethod(
        this, [this, id, device, result = std::move(result)] { Ended(id, device, result); },
        Qt::QueuedConnection);
    lock.lock();
    running_.reset();
  }
}
