#include "printer/DeviceChannel.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <system_error>

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

WriteResult Failure(WriteResult::Status status, int error, std::string path) {
  WriteResult result;
  result.status = status;
  result.error = error;
  result.path = std::move(path);
  result.message = std::generic_category().message(error);
  return result;
}

// Hands over every byte; returns 0 or the errno of the failed write.
int WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const std::size_t chunk = std::min<std::size_t>(data.size(), SSIZE_MAX);
    const ssize_t written = write(fd, data.data(), chunk);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    if (written == 0) {
      return EIO;  // a device that takes nothing and reports no error would loop forever
    }
    data.remove_prefix(static_cast<std::size_t>(written));
  }
  return 0;
}

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

WriteResult WriteToDevice(std::string_view name, std::string_view data) {
  using Status = WriteResult::Status;
  if (name.find('\0') != std::string_view::npos) {
    // open() would silently use only the part before the NUL: a different file.
    return Failure(Status::OpenFailed, EINVAL, std::string(name));
  }
  const DeviceTarget target = ResolveDeviceName(name);

  int fd = OpenTarget(target);
  if (fd < 0) {
    return Failure(Status::OpenFailed, errno, target.path);
  }
  // Closes on the early returns below; the final close is checked separately.
  auto closeQuietly = [&fd] {
    if (fd >= 0) {
      close(fd);
      fd = -1;
    }
  };

  struct stat st {};
  if (fstat(fd, &st) != 0) {
    const int error = errno;
    closeQuietly();
    return Failure(Status::OpenFailed, error, target.path);
  }
  if (WantsLock(st)) {
    int locked;
    while ((locked = flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
      const int error = errno;
      const bool noLocksHere =
          error == ENOLCK || error == EOPNOTSUPP || error == EINVAL || error == ENOSYS;
      if (!noLocksHere) {
        closeQuietly();
        return Failure(Status::OpenFailed, error, target.path);
      }
    }
  }
  // Truncate only now: a writer that loses the race for the lock must not empty the winner's
  // output.
  if (S_ISREG(st.st_mode) && ftruncate(fd, 0) != 0) {
    const int error = errno;
    closeQuietly();
    return Failure(Status::OpenFailed, error, target.path);
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int error = errno;
    closeQuietly();
    return Failure(Status::OpenFailed, error, target.path);
  }

  SigpipeGuard sigpipeGuard;
  if (const int error = WriteAll(fd, data); error != 0) {
    closeQuietly();
    return Failure(Status::WriteFailed, error, target.path);
  }
  const int closed = close(fd);
  fd = -1;
  if (closed != 0) {
    return Failure(Status::WriteFailed, errno, target.path);
  }
  WriteResult result;
  result.path = target.path;
  return result;
}

}  // namespace pl4120
