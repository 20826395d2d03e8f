#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "printer/Output.h"

namespace pl4120 {

/// What a destination name says, before anything is opened.
struct Destination {
  DestinationKind kind = DestinationKind::Device;
  std::string name;   ///< the name as given
  bool valid = true;  ///< false: a network name that cannot be understood (see `problem`)
  std::string problem;

  std::string host;   ///< Socket: the host (IPv6 without brackets)
  int port = 0;       ///< Socket: the port, 9100 when none is given
  std::string uri;    ///< Ipp: the URI as given
  std::string queue;  ///< Queue: the queue's name; empty for the default queue
};

/// Sorts a name into its kind:
/// - `socket://HOST[:PORT][/]`: raw TCP, port 9100 by default; HOST may be `[IPv6]`;
/// - `ipp://…`, `ipps://…`: an IPP printer (the URI is checked when the job opens it);
/// - `cups:NAME`: the print service's queue NAME, `cups:` alone its default queue;
/// - anything else: a device or an ordinary file, exactly as before.
/// The schemes are matched in any case. `ipp:`, `ipps:` and `socket:` without "//" are
/// network names that cannot be understood, not file names.
Destination ParseDestination(std::string_view name);

/// Sends one job's bytes to the destination `name` (see ParseDestination) through the
/// Output of its kind; blocks the calling thread until the job ends, fails or is cancelled
/// through `cancel` (from any thread). Meant for a worker thread.
WriteResult SendJob(std::string_view name, std::string_view data, const JobOptions& options = {},
                    const CancelToken* cancel = nullptr);

/// Waits until the work that ended jobs left behind is done (cancel requests to a slow print
/// service, connects given up on), at most `timeout`; true when nothing is left. For the end
/// of the program, so that a job cancelled just before is cancelled on the server too.
bool FinishLeftWork(std::chrono::milliseconds timeout);

/// Drives one job through an Output: open, the pieces, finish, or abort on cancel or failure.
WriteResult SendThrough(Output& output, std::string_view data, const JobOptions& options,
                        const CancelToken* cancel, DestinationKind kind);

}  // namespace pl4120
