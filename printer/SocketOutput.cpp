// socket://HOST[:PORT]: the raw TCP printer port (AppSocket). The bytes go out unchanged; at
// the end the sending side is closed and the printer's close awaited, as print-service
// backends do, so that "done" means the printer has read everything.

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "printer/OutputKinds.h"

namespace pl4120::detail {
namespace {

using Status = WriteResult::Status;

// The outcome of a host name lookup, filled on a thread of its own.
struct Lookup {
  std::string host;
  std::string port;
  int status = EAI_AGAIN;
  int error = 0;
  std::vector<sockaddr_storage> addresses;
  std::vector<socklen_t> lengths;
};

void Resolve(Lookup& lookup) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV;
  addrinfo* found = nullptr;
  lookup.status = getaddrinfo(lookup.host.c_str(), lookup.port.c_str(), &hints, &found);
  lookup.error = errno;
  for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
    sockaddr_storage address{};
    std::memcpy(&address, a->ai_addr, a->ai_addrlen);
    lookup.addresses.push_back(address);
    lookup.lengths.push_back(a->ai_addrlen);
  }
  if (found != nullptr) {
    freeaddrinfo(found);
  }
}

class SocketOutput final : public Output {
 public:
  SocketOutput(std::string host, int port) : host_(std::move(host)), port_(port) {}
  ~SocketOutput() override { Reset(); }
  SocketOutput(const SocketOutput&) = delete;
  SocketOutput& operator=(const SocketOutput&) = delete;

  bool Open(JobControl& job, WriteResult& result) override {
    result.host = host_;
    result.path = (host_.find(':') != std::string::npos ? "[" + host_ + "]" : host_) + ":" +
                  std::to_string(port_);
    const auto deadline = JobControl::Clock::now() + job.options().connectTimeout;

    auto lookup = std::make_shared<Lookup>();
    lookup->host = host_;
    lookup->port = std::to_string(port_);
    if (!RunUntilDone([lookup] { Resolve(*lookup); }, job.cancelToken(), deadline)) {
      if (!job.cancelled()) {
        Fail(result, Status::OpenFailed, FailureKind::ConnectTimeout, ETIMEDOUT);
      }
      return false;
    }
    if (lookup->status != 0) {
      if (lookup->status == EAI_SYSTEM) {
        Fail(result, Status::OpenFailed, FailureKind::System, lookup->error);
      } else {
        Fail(result, Status::OpenFailed, FailureKind::HostNotFound, 0,
             gai_strerror(lookup->status));
      }
      return false;
    }

    int lastError = EHOSTUNREACH;
    for (std::size_t i = 0; i < lookup->addresses.size(); ++i) {
      const auto& address = lookup->addresses[i];
      fd_ = socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
      if (fd_ < 0) {
        lastError = errno;
        continue;
      }
      const int error =
          Connect(reinterpret_cast<const sockaddr*>(&address), lookup->lengths[i], job, deadline);
      if (error == 0) {
        return true;
      }
      Reset();
      if (job.cancelled()) {
        return false;
      }
      if (error == ETIMEDOUT) {
        Fail(result, Status::OpenFailed, FailureKind::ConnectTimeout, ETIMEDOUT);
        return false;
      }
      lastError = error;
    }
    Fail(result, Status::OpenFailed,
         lastError == ECONNREFUSED ? FailureKind::ConnectionRefused : FailureKind::System,
         lastError);
    return false;
  }

  bool Write(std::string_view piece, JobControl& job, WriteResult& result) override {
    while (!piece.empty()) {
      if (job.cancelled()) {
        return false;
      }
      const ssize_t sent = send(fd_, piece.data(), piece.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
      if (sent > 0) {
        piece.remove_prefix(static_cast<std::size_t>(sent));
        job.Handed(static_cast<std::uint64_t>(sent));
        continue;
      }
      if (sent < 0 && errno == EINTR) {
        continue;
      }
      if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
        Fail(result, Status::WriteFailed, FailureKind::System, errno);
        return false;
      }
      if (!WaitFor(POLLOUT, job, result)) {
        return false;
      }
    }
    return true;
  }

  bool Finish(JobControl& job, WriteResult& result) override {
    if (shutdown(fd_, SHUT_WR) != 0) {
      Fail(result, Status::WriteFailed, FailureKind::System, errno);
      return false;
    }
    // Whatever the printer says back is not wanted; its close is.
    char discard[4096];
    for (;;) {
      const ssize_t got = recv(fd_, discard, sizeof discard, MSG_DONTWAIT);
      if (got == 0) {
        break;
      }
      if (got > 0 || (got < 0 && errno == EINTR)) {
        continue;
      }
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        // A reset: the printer closed without reading everything.
        Fail(result, Status::WriteFailed, FailureKind::System, errno);
        return false;
      }
      if (!WaitFor(POLLIN, job, result)) {
        return false;
      }
    }
    const int closed = close(fd_);
    fd_ = -1;
    if (closed != 0) {
      Fail(result, Status::WriteFailed, FailureKind::System, errno);
      return false;
    }
    return true;
  }

  void Abort(JobControl& job, WriteResult& result) override {
    result.sent = Taken(job.handed());
    if (fd_ >= 0) {
      // Close with a reset: the bytes still queued here never reach the printer.
      const linger drop{1, 0};
      setsockopt(fd_, SOL_SOCKET, SO_LINGER, &drop, sizeof drop);
    }
    Reset();
  }

  std::uint64_t Taken(std::uint64_t handed) const override {
    const std::uint64_t queued = SocketQueued(fd_);
    return handed > queued ? handed - queued : 0;
  }

 private:
  // 0, or the errno of a connect that failed (ETIMEDOUT at the deadline).
  int Connect(const sockaddr* address, socklen_t length, JobControl& job,
              JobControl::Clock::time_point deadline) {
    if (connect(fd_, address, length) == 0) {
      return 0;
    }
    if (errno != EINPROGRESS && errno != EINTR) {
      return errno;
    }
    switch (job.Wait(fd_, POLLOUT, nullptr, deadline)) {
      case JobControl::Wake::Ready: {
        int error = 0;
        socklen_t size = sizeof error;
        if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) {
          return errno;
        }
        return error;
      }
      case JobControl::Wake::TimedOut:
        return ETIMEDOUT;
      case JobControl::Wake::Cancelled:
        return ECANCELED;
      case JobControl::Wake::Failed:
        break;
    }
    return errno;
  }

  bool WaitFor(short events, JobControl& job, WriteResult& result) {
    switch (job.Wait(fd_, events)) {
      case JobControl::Wake::Ready:
        return true;
      case JobControl::Wake::Failed:
        Fail(result, Status::WriteFailed, FailureKind::System, errno);
        return false;
      case JobControl::Wake::Cancelled:
      case JobControl::Wake::TimedOut:
        break;
    }
    return false;
  }

  void Reset() {
    if (fd_ >= 0) {
      close(fd_);
      fd_ = -1;
    }
  }

  std::string host_;
  int port_;
  int fd_ = -1;
};

}  // namespace

std::unique_ptr<Output> MakeSocketOutput(std::string host, int port) {
  return std::make_unique<SocketOutput>(std::move(host), port);
}

}  // namespace pl4120::detail
