#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "printer/Output.h"

namespace pl4120 {

/// The queues of the print service as "cups:NAME", sorted. `printService` is "HOST[:PORT]" or
/// the path of the service's socket; empty means the one this thread's library settings name
/// (CUPS_SERVER, the client configuration, else the local service). Gives an empty list, and
/// never waits longer than `timeout`, when no service answers; `cancel` ends the wait early.
std::vector<std::string> ListPrintQueues(
    const std::string& printService = {},
    std::chrono::milliseconds timeout = std::chrono::milliseconds(1500),
    const CancelToken* cancel = nullptr);

/// The printer device nodes present now: `devRoot`/usb/lpN first, then `devRoot`/lpN, each in
/// the order of N.
std::vector<std::string> ListDeviceNodes(const std::string& devRoot = "/dev");

}  // namespace pl4120
