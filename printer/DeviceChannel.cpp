#include "printer/DeviceChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <optional>

#include "printer/Destination.h"
#include "printer/OutputKinds.h"

namespace pl4120 {
namespace {

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) {
      return false;
    }
  }
  return true;
}

// The digit 1..9 after a three-letter port prefix ("LPT3" -> 3), or 0 when `name` is not
// that port family.
int PortNumber(std::string_view name, std::string_view prefix) {
  if (name.size() != prefix.size() + 1 || !EqualsNoCase(name.substr(0, prefix.size()), prefix)) {
    return 0;
  }
  const char digit = name.back();
  return (digit >= '1' && digit <= '9') ? digit - '0' : 0;
}

DeviceTarget Parallel(int port, const PathExists& exists) {
  const std::string index = std::to_string(port - 1);
  std::string usb = "/dev/usb/lp" + index;
  if (exists(usb)) {
    return {std::move(usb), true};
  }
  return {"/dev/lp" + index, true};
}

// The directory that `path` lies in, with every link and "." resolved; empty when that
// directory cannot be resolved (then the file cannot be created there either).
std::string RealParent(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string parent = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string("/")
                                                        : path.substr(0, slash);
  std::unique_ptr<char, decltype(&std::free)> real(realpath(parent.c_str(), nullptr), &std::free);
  return real ? std::string(real.get()) : std::string();
}

bool UnderDev(const std::string& dir) {
  return dir == "/dev" || std::string_view(dir).starts_with("/dev/");
}

// Opens a target without blocking. A device is only ever opened; an ordinary name is created
// when missing, but never in /dev (a printer that is not plugged in must not leave a plain file
// where its device node belongs) and never through a dangling link (O_EXCL does not follow it).
int OpenTarget(const DeviceTarget& target) {
  constexpr int kFlags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd = open(target.path.c_str(), kFlags);
    if (fd >= 0 || errno != ENOENT || target.device) {
      return fd;
    }
    const std::string parent = RealParent(target.path);
    if (parent.empty() || UnderDev(parent)) {
      errno = ENOENT;
      return -1;
    }
    const int created = open(target.path.c_str(), kFlags | O_CREAT | O_EXCL, 0666);
    if (created >= 0 || errno != EEXIST) {
      return created;
    }
    // EEXIST: either another writer created the file meanwhile (open it on the next round),
    // or the name is a link to nowhere (the next round finds nothing again).
  }
  errno = ENOENT;
  return -1;
}

// The memory devices (null, zero, full, ...) keep nothing, so a lock there would only make
// two unrelated senders trip over each other.
bool WantsLock(const struct stat& st) {
  return !(S_ISCHR(st.st_mode) && major(st.st_rdev) == 1);
}

// Keeps SIGPIPE from ending the program while writing to a pipe whose reader has gone: the
// signal is blocked on this thread for the send and a SIGPIPE raised by it is taken back, so
// the write reports EPIPE instead.
class SigpipeGuard {
 public:
  SigpipeGuard() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipe_, &saved_);
  }
  ~SigpipeGuard() {
    const int savedErrno = errno;
    if (!wasPending_) {
      sigset_t pending;
      sigemptyset(&pending);
      sigpending(&pending);
      if (sigismember(&pending, SIGPIPE) == 1) {
        const timespec now{};
        while (sigtimedwait(&pipe_, nullptr, &now) == -1 && errno == EINTR) {
        }
      }
    }
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
    errno = savedErrno;
  }
  SigpipeGuard(const SigpipeGuard&) = delete;
  SigpipeGuard& operator=(const SigpipeGuard&) = delete;

 private:
  sigset_t pipe_{};
  sigset_t saved_{};
  bool wasPending_ = false;
};

// A device node, FIFO or ordinary file, written without blocking: every wait is a poll on the
// descriptor and the job's cancel descriptor.
class DeviceOutput final : public Output {
 public:
  explicit DeviceOutput(DeviceTarget target) : target_(std::move(target)) {}
  ~DeviceOutput() override { CloseQuietly(); }
  DeviceOutput(const DeviceOutput&) = delete;
  DeviceOutput& operator=(const DeviceOutput&) = delete;

  bool Open(JobControl& job, WriteResult& result) override {
    using Status = WriteResult::Status;
    result.path = target_.path;
    if (target_.path.find('\0') != std::string::npos) {
      // open() would silently use only the part before the NUL: a different file.
      detail::Fail(result, Status::OpenFailed, FailureKind::System, EINVAL);
      return false;
    }
    fd_ = OpenTarget(target_);
    if (fd_ < 0) {
      const int error = errno;
      detail::Fail(result, Status::OpenFailed, FailureKind::System, error);
      if (IsMissingDevice(error)) {
        detail::LookForPrinters(job.options(), job.cancelToken(), result);
      }
      return false;
    }
    struct stat st {};
    if (fstat(fd_, &st) != 0) {
      return FailOpen(result, errno);
    }
    if (WantsLock(st)) {
      int locked;
      while ((locked = flock(fd_, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
      }
      if (locked != 0) {
        const int error = errno;
        const bool noLocksHere =
            error == ENOLCK || error == EOPNOTSUPP || error == EINVAL || error == ENOSYS;
        if (!noLocksHere) {
          return FailOpen(result, error);
        }
      }
    }
    // Truncate only now: a writer that loses the race for the lock must not empty the
    // winner's output.
    if (S_ISREG(st.st_mode) && ftruncate(fd_, 0) != 0) {
      return FailOpen(result, errno);
    }
    pipe_ = S_ISFIFO(st.st_mode);
    tty_ = S_ISCHR(st.st_mode) && isatty(fd_) == 1;
    sigpipeGuard_.emplace();
    return true;
  }

  bool Write(std::string_view piece, JobControl& job, WriteResult& result) override {
    while (!piece.empty()) {
      if (job.cancelled()) {
        return false;
      }
      const std::size_t chunk = std::min<std::size_t>(piece.size(), SSIZE_MAX);
      const ssize_t written = write(fd_, piece.data(), chunk);
      if (written > 0) {
        piece.remove_prefix(static_cast<std::size_t>(written));
        afterReady_ = false;
        job.Handed(static_cast<std::uint64_t>(written));
        continue;
      }
      if (written == 0) {
        // A device that takes nothing and reports no error would loop forever.
        detail::Fail(result, WriteResult::Status::WriteFailed, FailureKind::System, EIO);
        return false;
      }
      if (errno == EINTR) {
        continue;
      }
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        detail::Fail(result, WriteResult::Status::WriteFailed, FailureKind::System, errno);
        return false;
      }
      if (!WaitUntilWritable(job, result)) {
        return false;
      }
    }
    return true;
  }

  bool Finish(JobControl& job, WriteResult& result) override {
    // A serial port would hold its queued bytes in close() for up to half a minute; waiting
    // for them here keeps the wait cancellable.
    while (tty_ && Queued() > 0) {
      if (!job.Pause(std::chrono::milliseconds(20))) {
        return false;
      }
    }
    const int closed = close(fd_);
    fd_ = -1;
    sigpipeGuard_.reset();
    if (closed != 0) {
      detail::Fail(result, WriteResult::Status::WriteFailed, FailureKind::System, errno);
      return false;
    }
    return true;
  }

  void Abort(JobControl& job, WriteResult& result) override {
    if (fd_ >= 0 && tty_) {
      result.sent = Taken(job.handed());
      tcflush(fd_, TCOFLUSH);  // what the port still holds never reaches the printer
    } else {
      result.sent = job.handed();  // a pipe's reader still gets what the pipe holds
    }
    CloseQuietly();
  }

  std::uint64_t Taken(std::uint64_t handed) const override {
    const std::uint64_t queued = Queued();
    return handed > queued ? handed - queued : 0;
  }

 private:
  bool FailOpen(WriteResult& result, int error) {
    CloseQuietly();
    detail::Fail(result, WriteResult::Status::OpenFailed, FailureKind::System, error);
    return false;
  }

  void CloseQuietly() {
    if (fd_ >= 0) {
      close(fd_);
      fd_ = -1;
    }
    sigpipeGuard_.reset();
  }

  // A device name, or a path typed into /dev, that leads to no device.
  bool IsMissingDevice(int error) const {
    if (error != ENOENT && error != ENXIO && error != ENODEV) {
      return false;
    }
    return target_.device || UnderDev(target_.path);
  }

  // Bytes that the system holds between this descriptor and the printer.
  std::uint64_t Queued() const {
    int queued = 0;
    if (fd_ < 0 || !(pipe_ || tty_) || ioctl(fd_, pipe_ ? FIONREAD : TIOCOUTQ, &queued) != 0 ||
        queued < 0) {
      return 0;
    }
    return static_cast<std::uint64_t>(queued);
  }

  // Some drivers (the parallel port's among them) have no poll and always say "ready"; a
  // write that still finds no room right after such a wake-up waits a little instead, so
  // that the loop does not spin.
  bool WaitUntilWritable(JobControl& job, WriteResult& result) {
    if (afterReady_) {
      afterReady_ = false;
      return job.Pause(std::chrono::milliseconds(20));
    }
    switch (job.Wait(fd_, POLLOUT)) {
      case JobControl::Wake::Ready:
        afterReady_ = true;
        return true;
      case JobControl::Wake::Failed:
        detail::Fail(result, WriteResult::Status::WriteFailed, FailureKind::System, errno);
        return false;
      case JobControl::Wake::Cancelled:
      case JobControl::Wake::TimedOut:
        break;
    }
    return false;
  }

  DeviceTarget target_;
  int fd_ = -1;
  bool pipe_ = false;
  bool tty_ = false;
  bool afterReady_ = false;
  std::optional<SigpipeGuard> sigpipeGuard_;
};

}  // namespace

DeviceTarget ResolveDeviceName(std::string_view name, const PathExists& exists) {
  std::string_view bare = name;
  if (!bare.empty() && bare.back() == ':') {
    bare.remove_suffix(1);
  }
  if (EqualsNoCase(bare, "PRN")) {
    return Parallel(1, exists);
  }
  if (EqualsNoCase(bare, "NUL")) {
    return {"/dev/null", true};
  }
  if (const int port = PortNumber(bare, "LPT"); port != 0) {
    return Parallel(port, exists);
  }
  if (const int port = PortNumber(bare, "COM"); port != 0) {
    return {"/dev/ttyS" + std::to_string(port - 1), true};
  }
  return {std::string(name), false};
}

DeviceTarget ResolveDeviceName(std::string_view name) {
  return ResolveDeviceName(name,
                           [](const std::string& path) { return access(path.c_str(), F_OK) == 0; });
}

namespace detail {

std::unique_ptr<Output> MakeDeviceOutput(DeviceTarget target) {
  return std::make_unique<DeviceOutput>(std::move(target));
}

}  // namespace detail

WriteResult WriteToDevice(std::string_view name, std::string_view data) {
  return SendJob(name, data);
}

}  // namespace pl4120
