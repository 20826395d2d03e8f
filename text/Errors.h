#pragma once

#include <stdexcept>
#include <string>

namespace pl4120 {

/// A text that is not an integer by the rules of StrToInt.
/// Message: "'<text>' is not a valid integer value" (the text as given).
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// An integer division by zero. Message: "Division by zero".
class EDivByZero : public std::runtime_error {
 public:
  EDivByZero();
};

/// A failure while reading or closing a text file. Carries the error code of the system's
/// table (2 file not found, 3 invalid filename, 4 too many open files, 5 access denied,
/// 100 read beyond end of file, 101 disk full, 106 invalid numeric input, else the system's
/// own number) and the message that belongs to it.
class EInOutError : public std::runtime_error {
 public:
  explicit EInOutError(int code);
  /// An error with a code and a message of its own (a system error number whose value is
  /// also a code of the table, yet means something else).
  EInOutError(int code, const std::string& message);
  int ErrorCode() const noexcept { return code_; }

 private:
  int code_;
};

/// The EInOutError for a system error number (errno):
/// - ENOENT: 2 "File not found";
/// - a name or path the system rejects (ENAMETOOLONG, ENOTDIR, ELOOP, EINVAL, EILSEQ): 3
///   "Invalid filename";
/// - EMFILE, ENFILE: 4 "Too many open files";
/// - EACCES, EPERM, EISDIR, ETXTBSY: 5 "File access denied";
/// - ENOSPC, EDQUOT: 101 "Disk full";
/// - any other: the system's own number with the message "I/O error <number>", also where that
///   number happens to be one of the codes above (EIO is 5 on Linux, yet no access problem).
EInOutError InOutErrorFromErrno(int err);

/// The reason for an errno value in Russian, without a final period ("Нет такого файла или
/// каталога"); the system's own text for values without a translation.
std::string RussianErrorText(int error);

}  // namespace pl4120
