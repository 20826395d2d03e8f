#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pl4120 {

/// The outcome of one send.
struct WriteResult {
  enum class Status { Written, OpenFailed, WriteFailed };
  Status status = Status::Written;
  int error = 0;        ///< errno of the failure; 0 when written
  std::string path;     ///< the path actually opened (a DOS device name mapped to its device)
  std::string message;  ///< the system's text for error (strerror), empty when written

  bool ok() const noexcept { return status == Status::Written; }
};

/// Opens the device or file `name` (unchanged; DOS device names PRN, LPTn, COMn, NUL map onto
/// this system's devices), hands over every byte of `data`, and closes it again. An ordinary
/// file is created or truncated; a device is never created. Never blocks on the open.
///
/// Details of one send:
/// - The open never blocks: a FIFO without a reader or a port that is not ready fails at once.
///   Once open, the bytes are written in blocking mode until all are handed over.
/// - Exclusive use: right after the open an exclusive, non-blocking `flock` is taken (not on
///   the memory devices such as /dev/null, which keep nothing). When another writer holds it
///   the send fails as OpenFailed with error EWOULDBLOCK, and the file is left as it was; a
///   file is truncated only once the lock is held. Where the file system has no locks the send
///   goes on without one.
/// - A new file is created with mode 0666 less the umask. Nothing is ever created under /dev,
///   nor through a symbolic link that points nowhere.
/// - A name holding a NUL byte cannot be opened as given and fails with EINVAL.
/// - A reader of a pipe that goes away mid-send gives WriteFailed (EPIPE); the process is not
///   killed by SIGPIPE.
/// - A failing close (a late write error) is a WriteFailed too.
WriteResult WriteToDevice(std::string_view name, std::string_view data);

/// Where a name leads.
struct DeviceTarget {
  std::string path;     ///< what to open
  bool device = false;  ///< a DOS device name: opened without create meaning
};

/// Tells whether a path exists.
using PathExists = std::function<bool(const std::string& path)>;

/// Maps a DOS device name, in any case and with an optional trailing ":", onto this system's
/// devices: PRN is LPT1; LPTn (n = 1..9) is /dev/usb/lp(n-1) where `exists` says that path
/// exists, else /dev/lp(n-1); COMn (n = 1..9) is /dev/ttyS(n-1); NUL is /dev/null. Any other
/// name comes back unchanged as an ordinary name.
DeviceTarget ResolveDeviceName(std::string_view name, const PathExists& exists);

/// ResolveDeviceName asking the file system whether a path exists.
DeviceTarget ResolveDeviceName(std::string_view name);

}  // namespace pl4120
