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

/// The message of an I/O error code: "File not found" for 2 ... "I/O error <code>" otherwise.
std::string InOutErrorMessage(int code);

}  // namespace pl4120
