#include "text/Errors.h"

#include <cerrno>

namespace pl4120 {
namespace {

std::string InOutErrorMessage(int code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

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

}  // namespace

EDivByZero::EDivByZero() : std::runtime_error("Division by zero") {}

EInOutError::EInOutError(int code) : std::runtime_error(InOutErrorMessage(code)), code_(code) {}

EInOutError::EInOutError(int code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

EInOutError InOutErrorFromErrno(int err) {
  for (const ErrnoCode& entry : kErrnoCodes) {
    if (entry.err == err) {
      return EInOutError(entry.code);
    }
  }
  return EInOutError(err, "I/O error " + std::to_string(err));
}

}  // namespace pl4120
