#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "printer/Output.h"

namespace pl4120 {

/// Sends `data` to the destination `name` and waits until that is done: a blocking
/// convenience over SendJob (see printer/Destination.h) for callers that can wait.
///
/// A device or file name (anything that is not socket://, ipp://, ipps:// or cups:) is
/// opened unchanged (DOS device names PRN, LPTn, COMn, NUL map onto this system's devices),
/// handed every byte of `data`, and closed again. An ordinary file is created or truncated;
/// a device is never created. Details of one send to a device or file:
/// - The open never blocks: a FIFO without a reader or a port that is not ready fails at once.
///   The descriptor stays non-blocking; the writer waits in poll() on it together with the
///   job's cancel descriptor, so a send can always be stopped.
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
/// - A device name whose node does not exist fails with the print service's queues and the
///   printer device nodes that are present listed in the result.
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
