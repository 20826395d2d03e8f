#include "text/LineReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace pl4120 {

namespace {

constexpr char kCtrlZ = 26;

struct ErrnoCode {
  int err;
  int code;
};

// System errors whose meaning matches an entry of the message table.
constexpr ErrnoCode kErrnoCodes[] = {
    {ENOENT, 2}, {ENAMETOOLONG, 3}, {ENOTDIR, 3},  {ELOOP, 3},    {EINVAL, 3},
    {EILSEQ, 3}, {EMFILE, 4},       {ENFILE, 4},   {EACCES, 5},   {EPERM, 5},
    {EISDIR, 5}, {ETXTBSY, 5},      {ENOSPC, 101}, {EDQUOT, 101},
};

bool HasNul(const std::string& path) {
  return path.find('\0') != std::string::npos;
}

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

EInOutError InOutErrorFromErrno(int err) {
  for (const ErrnoCode& entry : kErrnoCodes) {
    if (entry.err == err) {
      return EInOutError(entry.code);
    }
  }
  return EInOutError(err, "I/O error " + std::to_string(err));
}

PosixFileSource::PosixFileSource(const std::string& path) {
  if (HasNul(path)) {
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

std::optional<std::uint64_t> PosixFileSource::SizeHint() const {
  struct stat info {};
  if (::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0) {
    return static_cast<std::uint64_t>(info.st_size);
  }
  return std::nullopt;
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

std::vector<std::string> ReadAllLines(ByteSource& source, std::size_t blockSize) {
  std::vector<std::string> lines;
  ReadLines(
      source, [&lines](std::string_view line) { lines.emplace_back(line); }, blockSize);
  return lines;
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

std::string BuildAppendPiece(const std::vector<std::string>& lines, bool textEndsOpen) {
  AppendPieceBuilder builder(textEndsOpen);
  for (const std::string& line : lines) {
    builder.Add(line);
  }
  return builder.TakePiece();
}

void ReadLinesIntoPiece(ByteSource& source, AppendPieceBuilder& builder, std::size_t blockSize) {
  if (const auto size = source.SizeHint()) {
    // Room for the worst case (every byte an LF, each becoming CR LF) so that the piece never
    // moves while it grows; pages that stay unused are never touched.
    if (*size < (std::uint64_t{1} << 40)) {
      builder.Reserve(static_cast<std::size_t>(*size) * 2 + 2);
    }
  }
  ReadLines(
      source, [&builder](std::string_view line) { builder.Add(line); }, blockSize);
}

std::vector<std::string> DialogFilterToNameFilters(std::string_view filter) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t bar = filter.find('|', start);
    parts.emplace_back(filter.substr(start, bar == std::string_view::npos ? bar : bar - start));
    if (bar == std::string_view::npos) {
      break;
    }
    start = bar + 1;
  }
  std::vector<std::string> entries;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns;
    std::string_view rest = parts[i + 1];
    while (!rest.empty()) {
      const std::size_t semi = rest.find(';');
      std::string_view pattern = rest.substr(0, semi);
      rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
      while (!pattern.empty() && pattern.front() == ' ') {
        pattern.remove_prefix(1);
      }
      while (!pattern.empty() && pattern.back() == ' ') {
        pattern.remove_suffix(1);
      }
      if (pattern.empty()) {
        continue;
      }
      if (!patterns.empty()) {
        patterns += ' ';
      }
      patterns += pattern == "*.*" ? std::string_view("*") : pattern;
    }
    entries.push_back(parts[i] + " (" + patterns + ")");
  }
  return entries;
}

std::string DialogFilterToNameFilter(std::string_view filter) {
  std::string joined;
  for (const std::string& entry : DialogFilterToNameFilters(filter)) {
    if (!joined.empty()) {
      joined += ";;";
    }
    joined += entry;
  }
  return joined;
}

bool IsExistingFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && !HasNul(path) && ::stat(path.c_str(), &info) == 0 &&
         S_ISREG(info.st_mode);
}

}  // namespace pl4120
