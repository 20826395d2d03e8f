#include "printer/Output.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "printer/Destination.h"
#include "printer/OutputKinds.h"

namespace pl4120 {

CancelToken::CancelToken() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CancelToken::~CancelToken() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

void CancelToken::Cancel() noexcept {
  cancelled_.store(true, std::memory_order_release);
  const int saved = errno;
  if (fd_ >= 0) {
    const std::uint64_t one = 1;
    // A full counter (after 2^64-2 cancels) still leaves the descriptor readable.
    (void)!write(fd_, &one, sizeof one);
  }
  std::lock_guard lock(hookMutex_);
  if (hook_) {
    hook_();
  }
  errno = saved;
}

void CancelToken::SetHook(std::function<void()> hook) const {
  std::lock_guard lock(hookMutex_);
  hook_ = std::move(hook);
  if (hook_ && cancelled()) {
    hook_();
  }
}

JobControl::JobControl(const JobOptions& options, const CancelToken* cancel, std::uint64_t total)
    : options_(options),
      cancel_(cancel),
      total_(total),
      lastMove_(Clock::now()),
      lastReport_(lastMove_) {}

void JobControl::Handed(std::uint64_t bytes) {
  handed_ += bytes;
  Tick();
}

void JobControl::Tick() {
  const std::uint64_t moved = output_ != nullptr ? output_->Moved(handed_) : handed_;
  taken_ = output_ != nullptr ? output_->Taken(handed_) : handed_;
  const Clock::time_point now = Clock::now();
  if (moved != moved_) {
    moved_ = moved;
    lastMove_ = now;
    stalled_ = false;
  } else if (!stalled_ && now - lastMove_ >= options_.stallDelay) {
    stalled_ = true;
  }
  Report(false);
}

void JobControl::Report(bool force) {
  if (!options_.onProgress) {
    return;
  }
  const Clock::time_point now = Clock::now();
  const bool due = !reportedOnce_ || stalled_ != reportedStalled_ ||
                   (taken_ != reportedTaken_ && now - lastReport_ >= options_.progressInterval);
  if (!force && !due) {
    return;
  }
  reportedOnce_ = true;
  reportedStalled_ = stalled_;
  reportedTaken_ = taken_;
  lastReport_ = now;
  options_.onProgress(Progress{taken_, total_, stalled_});
}

void JobControl::ReportFinal(std::uint64_t sent) {
  taken_ = sent;
  stalled_ = false;
  Report(true);
}

JobControl::Wake JobControl::Wait(int fd, short events, short* revents,
                                  Clock::time_point deadline) {
  // The tick bounds how stale the progress and the stalled state can get while nothing
  // wakes the poll; without a cancel descriptor it also bounds how late a cancel is seen.
  constexpr auto kTick = std::chrono::milliseconds(50);
  const int cancelFd = cancel_ != nullptr ? cancel_->fd() : -1;
  for (;;) {
    if (cancelled()) {
      return Wake::Cancelled;
    }
    Tick();
    const Clock::time_point now = Clock::now();
    if (now >= deadline) {
      return Wake::TimedOut;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
    const int timeout = static_cast<int>(std::min<std::chrono::milliseconds>(left, kTick).count());
    pollfd fds[2] = {{fd, events, 0}, {cancelFd, POLLIN, 0}};
    const int ready = poll(fds, cancelFd >= 0 ? 2 : 1, timeout);
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      return Wake::Failed;
    }
    if (cancelFd >= 0 && fds[1].revents != 0) {
      return Wake::Cancelled;
    }
    if (fds[0].revents != 0) {
      if (revents != nullptr) {
        *revents = fds[0].revents;
      }
      return Wake::Ready;
    }
  }
}

bool JobControl::Pause(std::chrono::milliseconds pause) {
  const int cancelFd = cancel_ != nullptr ? cancel_->fd() : -1;
  const Clock::time_point end = Clock::now() + pause;
  while (!cancelled()) {
    Tick();
    const Clock::time_point now = Clock::now();
    if (now >= end) {
      return true;
    }
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(end - now);
    pollfd fd{cancelFd, POLLIN, 0};
    const int timeout = static_cast<int>(
        std::min<std::chrono::milliseconds>(left, std::chrono::milliseconds(50)).count());
    if (poll(&fd, cancelFd >= 0 ? 1 : 0, timeout) > 0) {
      return false;
    }
  }
  return false;
}

}  // namespace pl4120

namespace pl4120::detail {

void Fail(WriteResult& result, WriteResult::Status status, FailureKind failure, int error,
          std::string message) {
  result.status = status;
  result.failure = failure;
  result.error = error;
  if (message.empty() && error != 0) {
    message = std::generic_category().message(error);
  }
  result.message = std::move(message);
}

namespace {

// The threads that RunUntilDone left to finish alone. Never destroyed: such a thread may
// still end after the program's statics are gone.
struct LeftWork {
  std::mutex mutex;
  std::condition_variable ended;
  int running = 0;
};

LeftWork& Left() {
  static LeftWork* left = new LeftWork;
  return *left;
}

}  // namespace

bool RunUntilDone(std::function<void()> work, const CancelToken* cancel,
                  std::chrono::steady_clock::time_point deadline) {
  struct Done {
    int fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    ~Done() {
      if (fd >= 0) {
        close(fd);
      }
    }
  };
  auto done = std::make_shared<Done>();
  if (done->fd < 0) {
    work();  // no way to wait for it: the caller waits as long as it takes
    return true;
  }
  LeftWork& left = Left();
  {
    std::lock_guard lock(left.mutex);
    ++left.running;
  }
  std::thread thread;
  try {
    thread = std::thread([work = std::move(work), done, &left] {
      work();
      const std::uint64_t one = 1;
      (void)!write(done->fd, &one, sizeof one);
      std::lock_guard lock(left.mutex);
      --left.running;
      left.ended.notify_all();
    });
  } catch (const std::system_error&) {
    std::lock_guard lock(left.mutex);
    --left.running;
    return false;  // no thread to run it on: as good as a time-out
  }
  const int cancelFd = cancel != nullptr ? cancel->fd() : -1;
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    if ((cancel != nullptr && cancel->cancelled()) || now >= deadline) {
      break;
    }
    const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - now);
    const int timeout = static_cast<int>(
        std::min<std::chrono::milliseconds>(remaining, std::chrono::milliseconds(50)).count());
    pollfd fds[2] = {{done->fd, POLLIN, 0}, {cancelFd, POLLIN, 0}};
    const int ready = poll(fds, cancelFd >= 0 ? 2 : 1, timeout);
    if (ready > 0 && fds[0].revents != 0) {
      thread.join();
      return true;
    }
  }
  thread.detach();
  return false;
}

}  // namespace pl4120::detail

namespace pl4120 {

bool FinishLeftWork(std::chrono::milliseconds timeout) {
  detail::LeftWork& left = detail::Left();
  std::unique_lock lock(left.mutex);
  return left.ended.wait_for(lock, timeout, [&] { return left.running == 0; });
}

}  // namespace pl4120
