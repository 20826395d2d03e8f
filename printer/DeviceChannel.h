#pragma once

#include <string>
#include <string_view>

namespace pl4120 {

/// The outcome of one send.
struct WriteResult {
  enum class Status { Written, OpenFailed, WriteFailed };
  Status status = Status::Written;
  int error = 0;            ///< errno of the failure; 0 when written
  std::string path;         ///< the path actually opened (a DOS device name mapped to its device)
  std::string message;      ///< the system's text for error (strerror), empty when written

  bool ok() const noexcept { return status == Status::Written; }
};

/// Opens the device or file `name` (unchanged; DOS device names PRN, LPTn, COMn, NUL map onto
/// this system's devices), hands over every byte of `data`, and closes it again. An ordinary
/// file is created or truncated; a device is never created. Never blocks on the open.
WriteResult WriteToDevice(std::string_view name, std::string_view data);

}  // namespace pl4120
