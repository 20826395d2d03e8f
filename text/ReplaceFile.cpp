#include "text/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "text/Errors.h"

namespace pl4120 {
namespace {

// The file a name stands for: a symbolic link's target, so that the link stays a link.
std::string Resolved(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
    return path;
  }
  char* real = ::realpath(path.c_str(), nullptr);
  if (real == nullptr) {
    return path;  // a dangling link: the new file takes the link's place
  }
  std::string target(real);
  std::free(real);
  return target;
}

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool WriteAll(int fd, std::string_view bytes, int& error) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      error = errno;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

std::string ReplaceFile(const std::string& path, const FileContent& content) {
  if (path.empty() || path.find('\0') != std::string::npos) {
    return RussianErrorText(ENOENT);
  }
  const std::string target = Resolved(path);
  std::string temporary = Folder(target) + "/." + BaseName(target) + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    return RussianErrorText(errno);
  }
  int error = 0;
  const auto fail = [&](bool open) {
    if (open) {
      ::close(fd);
    }
    ::unlink(temporary.c_str());
    return RussianErrorText(error);
  };
  bool written = true;
  content([&](std::string_view bytes) {
    written = written && WriteAll(fd, bytes, error);
    return written;
  });
  if (!written) {
    return fail(true);
  }
  // The permissions of the file replaced, or those an ordinary new file would get.
  struct stat old {};
  mode_t mode = 0;
  if (::stat(target.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd, mode) != 0 || (::fsync(fd) != 0 && errno != EINVAL)) {
    error = errno;
    return fail(true);
  }
  if (::close(fd) != 0) {
    error = errno;
    return fail(false);
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
    return fail(false);
  }
  return {};
}

std::string ReplaceFile(const std::string& path, std::string_view bytes) {
  return ReplaceFile(path, [bytes](const auto& write) { write(bytes); });
}

}  // namespace pl4120
