#include "text/Errors.h"

namespace pl4120 {

EDivByZero::EDivByZero() : std::runtime_error("Division by zero") {}

EInOutError::EInOutError(int code) : std::runtime_error(InOutErrorMessage(code)), code_(code) {}

EInOutError::EInOutError(int code, const std::string& message)
    : std::runtime_error(message), code_(code) {}

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

}  // namespace pl4120
