#include "text/LineReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace pl4120 {

namespace {

constexpr char kCtrlZ = 26;

// Appends [from, to) to `line`, leaving out every CR.
void AppendWithoutCr(std::string& line, const char* from, const char* to, bool hasCr) {
  if (!hasCr) {
    line.append(from, to);
    return;
  }
  while (from < to) {
    const void* cr = std::memchr(from, '\r', static_cast<std::size_t>(to - from));
    const char* stop = cr ? static_cast<const char*>(cr) : to;
    line.append(from, stop);
    from = cr ? stop + 1 : to;
  }
}

}  // namespace

PosixFileSource::PosixFileSource(const std::string& path) {
  if (path.find('\0') != std::string::npos) {
    throw InOutErrorFromErrno(EINVAL);
  }
  // Non-blocking open so that a pipe without a writer cannot hang the program; reads block
  // again afterwards.
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd_ < 0) {
    throw InOutErrorFromErrno(errno);
  }
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags >= 0) {
    ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
  }
}

PosixFileSource::~PosixFileSource() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

std::size_t PosixFileSource::Read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, size);
    if (got >= 0) {
      return static_cast<std::size_t>(got);
    }
    if (errno == EINTR) {
      continue;
    }
    if (errno == EPIPE) {
      return 0;
    }
    throw InOutErrorFromErrno(errno);
  }
}

void PosixFileSource::Close() {
  if (fd_ < 0) {
    return;
  }
  const int fd = fd_;
  fd_ = -1;
  // After a failed close the descriptor is gone on Linux, so it is never closed twice.
  if (::close(fd) != 0 && errno != EINTR) {
    throw InOutErrorFromErrno(errno);
  }
}

void ReadLines(ByteSource& source, const LineSink& sink, std::size_t blockSize) {
  if (blockSize == 0) {
    blockSize = 1;
  }
  const std::unique_ptr<char[]> block(new char[blockSize]);
  std::string pending;  // the line so far, when it spans blocks or holds a CR
  bool atLineStart = true;
  for (;;) {
    const std::size_t got = source.Read(block.get(), blockSize);
    if (got == 0) {
      break;
    }
    const char* p = block.get();
    const char* const end = p + got;
    while (p < end) {
      if (atLineStart) {
        if (*p == kCtrlZ) {
          return;
        }
        atLineStart = false;
      }
      const auto* nl =
          static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
      const char* const stop = nl ? nl : end;
      // The CR of a CR LF needs no copy: the line is the bytes before it.
      const char* const body = nl && nl > p && nl[-1] == '\r' ? nl - 1 : stop;
      const bool bodyHasCr = std::memchr(p, '\r', static_cast<std::size_t>(body - p)) != nullptr;
      if (nl && pending.empty() && !bodyHasCr) {
        sink(std::string_view(p, static_cast<std::size_t>(body - p)));  // whole line in the block
      } else {
        AppendWithoutCr(pending, p, stop, bodyHasCr || body != stop);
        if (nl) {
          sink(pending);
          pending.clear();
        }
      }
      if (!nl) {
        break;
      }
      p = nl + 1;
      atLineStart = true;
    }
  }
  if (!atLineStart) {
    sink(pending);
  }
}

void AppendPieceBuilder::Add(std::string_view line) {
  if (open_) {
    piece_ += "\r\n";
    piece_ += line;
    open_ = !line.empty();
  } else {
    piece_ += line;
    piece_ += "\r\n";
  }
}

}  // namespace pl4120
