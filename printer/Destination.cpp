#include "printer/Destination.h"

#include <algorithm>
#include <cerrno>
#include <memory>

#include "printer/OutputKinds.h"

namespace pl4120 {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) {
    return false;
  }
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    if (c != prefix[i]) {
      return false;
    }
  }
  return true;
}

Destination Invalid(Destination d, std::string problem) {
  d.valid = false;
  d.problem = std::move(problem);
  return d;
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// HOST[:PORT][/] after "socket://".
Destination ParseSocket(Destination d, std::string_view rest) {
  if (!rest.empty() && rest.back() == '/') {
    rest.remove_suffix(1);
  }
  std::string_view host = rest;
  std::string_view port;
  if (!rest.empty() && rest.front() == '[') {
    const std::size_t close = rest.find(']');
    if (close == std::string_view::npos) {
      return Invalid(std::move(d), "unclosed [");
    }
    host = rest.substr(1, close - 1);
    std::string_view after = rest.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') {
        return Invalid(std::move(d), "text after ]");
      }
      port = after.substr(1);
      if (port.empty()) {
        return Invalid(std::move(d), "empty port");
      }
    }
  } else if (const std::size_t colon = rest.rfind(':'); colon != std::string_view::npos) {
    host = rest.substr(0, colon);
    port = rest.substr(colon + 1);
    if (port.empty()) {
      return Invalid(std::move(d), "empty port");
    }
  }
  if (host.empty()) {
    return Invalid(std::move(d), "no host");
  }
  if (host.find_first_of("/?#@ :") != std::string_view::npos &&
      !(rest.front() == '[' && host.find_first_of("/?#@ ") == std::string_view::npos)) {
    return Invalid(std::move(d), "bad host");
  }
  d.host = std::string(host);
  d.port = 9100;
  if (!port.empty()) {
    if (!AllDigits(port) || port.size() > 5) {
      return Invalid(std::move(d), "bad port");
    }
    d.port = std::stoi(std::string(port));
    if (d.port < 1 || d.port > 65535) {
      return Invalid(std::move(d), "bad port");
    }
  }
  return d;
}

}  // namespace

Destination ParseDestination(std::string_view name) {
  Destination d;
  d.name = std::string(name);
  if (name.find('\0') != std::string_view::npos) {
    return d;  // a device name; the open refuses it with EINVAL
  }
  if (StartsWithNoCase(name, "cups:")) {
    d.kind = DestinationKind::Queue;
    d.queue = std::string(name.substr(5));
    return d;
  }
  if (StartsWithNoCase(name, "socket:")) {
    d.kind = DestinationKind::Socket;
    if (!StartsWithNoCase(name, "socket://")) {
      return Invalid(std::move(d), "no //");
    }
    return ParseSocket(std::move(d), name.substr(9));
  }
  if (StartsWithNoCase(name, "ipp:") || StartsWithNoCase(name, "ipps:")) {
    d.kind = DestinationKind::Ipp;
    d.uri = std::string(name);
    if (!StartsWithNoCase(name, "ipp://") && !StartsWithNoCase(name, "ipps://")) {
      return Invalid(std::move(d), "no //");
    }
    return d;
  }
  return d;
}

WriteResult SendThrough(Output& output, std::string_view data, const JobOptions& options,
                        const CancelToken* cancel, DestinationKind kind) {
  using Status = WriteResult::Status;
  JobControl job(options, cancel, data.size());
  job.Attach(&output);
  WriteResult result;
  result.kind = kind;
  result.total = data.size();
  job.Tick();  // the first report: nothing sent yet

  bool ok = !job.cancelled() && output.Open(job, result);
  const std::size_t piece = std::max<std::size_t>(options.pieceSize, 1);
  while (ok && !data.empty()) {
    const std::string_view next = data.substr(0, piece);
    ok = output.Write(next, job, result) && !job.cancelled();
    data.remove_prefix(next.size());
  }
  if (ok) {
    ok = output.Finish(job, result);
  }
  if (ok) {
    result.status = Status::Written;
    result.sent = result.total;
  } else {
    output.Abort(job, result);
    // Outputs record no failure when they stop for a cancel; a failure that happened to
    // come at the same time as a cancel stays what it is.
    if (result.status == Status::Written) {
      result.status = Status::Cancelled;
    }
  }
  job.ReportFinal(result.sent);
  return result;
}

WriteResult SendJob(std::string_view name, std::string_view data, const JobOptions& options,
                    const CancelToken* cancel) {
  const Destination d = ParseDestination(name);
  if (!d.valid) {
    WriteResult result;
    result.kind = d.kind;
    result.total = data.size();
    result.path = d.name;
    detail::Fail(result, WriteResult::Status::OpenFailed, FailureKind::BadAddress, 0, d.problem);
    return result;
  }
  std::unique_ptr<Output> output;
  switch (d.kind) {
    case DestinationKind::Device:
      output = detail::MakeDeviceOutput(ResolveDeviceName(name));
      break;
    case DestinationKind::Socket:
      output = detail::MakeSocketOutput(d.host, d.port);
      break;
    case DestinationKind::Ipp:
      output = detail::MakeIppOutput(d.uri);
      break;
    case DestinationKind::Queue:
      output = detail::MakeQueueOutput(d.queue);
      break;
  }
  return SendThrough(*output, data, options, cancel, d.kind);
}

}  // namespace pl4120
