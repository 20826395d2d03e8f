#pragma once

// The Outputs of each destination kind and what they share; used by the printer core only.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "printer/DeviceChannel.h"
#include "printer/Output.h"

namespace pl4120::detail {

std::unique_ptr<Output> MakeDeviceOutput(DeviceTarget target);
std::unique_ptr<Output> MakeSocketOutput(std::string host, int port);
/// An IPP printer at `uri`, or (queue set) the print service's queue `queue`.
std::unique_ptr<Output> MakeIppOutput(std::string uri);
std::unique_ptr<Output> MakeQueueOutput(std::string queue);

/// The bytes the peer of a TCP socket has acknowledged so far; false where the system cannot
/// tell (not TCP).
bool TcpBytesAcked(int fd, std::uint64_t* acked);
/// Bytes written to a socket that its peer has not yet acknowledged (0 where unknown).
std::uint64_t SocketQueued(int fd);

/// Fills `result` for a failure; `message` defaults to the system's text for `error`.
void Fail(WriteResult& result, WriteResult::Status status, FailureKind failure, int error,
          std::string message = {});

/// Runs `work` on a thread of its own and waits until it ends, `cancel` fires or `deadline`
/// passes. True when `work` ended. Otherwise its thread is left to end on its own, so `work`
/// must own (through shared pointers) everything it touches. Used for the calls that cannot be
/// interrupted: host name lookups, library connects, cancel requests to a slow server.
bool RunUntilDone(std::function<void()> work, const CancelToken* cancel,
                  std::chrono::steady_clock::time_point deadline);

/// The host and port of a print service given as "HOST[:PORT]", "[IPv6]:PORT" or a socket
/// path; empty `configured` means the one this thread's library settings name.
struct ServiceAddress {
  std::string host;
  int port = 0;
};
ServiceAddress PrintServiceAddress(const std::string& configured);

/// When a device name led to a node that does not exist: fills the result's lists of the
/// print service's queues and of the device nodes present.
void LookForPrinters(const JobOptions& options, const CancelToken* cancel, WriteResult& result);

}  // namespace pl4120::detail
