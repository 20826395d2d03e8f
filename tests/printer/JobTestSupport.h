#pragma once

// Running a job the way the program's worker does: on a thread of its own, with a cancel
// that comes from another thread, and the progress reports kept for the test to look at.

#include <cups/cups.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "printer/Destination.h"
#include "printer/Output.h"

namespace pl4120::testing {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

/// Every byte value, in an order that is not a plain count.
inline std::string AllBytes(std::size_t size) {
  std::string out(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    out[i] = static_cast<char>((i * 7 + i / 256) % 256);
  }
  return out;
}

/// Bytes that no pattern explains.
inline std::string RandomBytes(std::size_t size, std::uint64_t seed = 4120) {
  std::string out(size, '\0');
  std::uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
  for (std::size_t i = 0; i < size; i += 8) {
    state ^= state << 13;  // xorshift: quick enough for tens of megabytes in a debug build
    state ^= state >> 7;
    state ^= state << 17;
    std::memcpy(out.data() + i, &state, std::min<std::size_t>(8, size - i));
  }
  return out;
}

/// A text as the editor holds one: code page 866 letters, the control bytes a printer text can
/// carry (00, 1A, 1B, 0C), every byte from 80 to FF, lines ended by CR LF.
inline std::string PrinterText() {
  std::string text = "ПЛ 4120\r\n";
  text += std::string("\x00\x1A\x1B\x0C", 4) + "\r\n";
  for (int b = 0x80; b <= 0xFF; ++b) {
    text += static_cast<char>(b);
  }
  text += "\r\n\x8F\xE0\xA8\xA2\xA5\xE2, \xAC\xA8\xE0!\r\n\x0C";
  return text;
}

/// The progress reports of one job, safe to read while it runs.
class ProgressLog {
 public:
  void Add(const Progress& p) {
    {
      std::lock_guard lock(mutex_);
      reports_.push_back(p);
      if (p.stalled && !stalledAt_) {
        stalledAt_ = Clock::now();
      }
    }
    changed_.notify_all();
  }
  std::vector<Progress> reports() const {
    std::lock_guard lock(mutex_);
    return reports_;
  }
  /// Waits until a report says "stalled"; the time it came, or nothing.
  std::optional<Clock::time_point> WaitForStall(milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, timeout, [&] { return stalledAt_.has_value(); });
    return stalledAt_;
  }
  /// Waits until a report says at least `bytes` were sent.
  bool WaitForSent(std::uint64_t bytes, milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout,
                             [&] { return !reports_.empty() && reports_.back().sent >= bytes; });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<Progress> reports_;
  std::optional<Clock::time_point> stalledAt_;
};

/// One job on a thread of its own.
class BackgroundJob {
 public:
  BackgroundJob(std::string name, std::string data, JobOptions options = {})
      : data_(std::move(data)), options_(std::move(options)) {
    options_.onProgress = [this](const Progress& p) { log_.Add(p); };
    result_ = std::async(std::launch::async, [this, name = std::move(name)] {
      WriteResult r = SendJob(name, data_, options_, &cancel_);
      ended_ = Clock::now();
      return r;
    });
  }
  ~BackgroundJob() {
    cancel_.Cancel();
    if (result_.valid()) {
      result_.wait();
    }
  }

  const ProgressLog& log() const { return log_; }
  /// Cancels now; the time of the cancel.
  Clock::time_point Cancel() {
    const Clock::time_point at = Clock::now();
    cancel_.Cancel();
    return at;
  }
  /// Waits for the end; false when it did not come within `timeout`.
  bool Wait(milliseconds timeout) { return result_.wait_for(timeout) == std::future_status::ready; }
  WriteResult Result() { return result_.get(); }
  Clock::time_point ended() const { return ended_; }

 private:
  std::string data_;
  JobOptions options_;
  CancelToken cancel_;
  ProgressLog log_;
  Clock::time_point ended_;
  std::future<WriteResult> result_;
};

/// The name of the user running the test.
inline std::string ThisUser() {
  const passwd* entry = getpwuid(geteuid());
  return entry != nullptr ? entry->pw_name : "";
}

/// What a printer or print service says about one of its jobs.
struct JobRecord {
  bool found = false;
  std::string name;
  std::string user;
  int state = 0;  ///< 3 pending .. 7 canceled, 8 aborted, 9 completed
};

/// Asks the printer at `printerUri` (through `host`:`port`) about job `id`, as `requester`
/// (the user running the test when empty).
inline JobRecord AskAboutJob(const std::string& host, int port, const std::string& printerUri,
                             int id, const std::string& requester = {}) {
  JobRecord record;
  http_t* http = httpConnect2(host.c_str(), port, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED,
                              1, 5000, nullptr);
  if (http == nullptr) {
    return record;
  }
  ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri.c_str());
  ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", id);
  // A print service shows a job's name and owner to its owner only.
  ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
               requester.empty() ? ThisUser().c_str() : requester.c_str());
  ipp_t* response = cupsDoRequest(http, request, "/");
  if (response != nullptr && ippGetStatusCode(response) <= IPP_STATUS_OK_EVENTS_COMPLETE) {
    record.found = true;
    if (ipp_attribute_t* a = ippFindAttribute(response, "job-name", IPP_TAG_ZERO)) {
      record.name = ippGetString(a, 0, nullptr);
    }
    if (ipp_attribute_t* a =
            ippFindAttribute(response, "job-originating-user-name", IPP_TAG_ZERO)) {
      record.user = ippGetString(a, 0, nullptr);
    }
    if (ipp_attribute_t* a = ippFindAttribute(response, "job-state", IPP_TAG_ENUM)) {
      record.state = ippGetInteger(a, 0);
    }
  }
  ippDelete(response);
  httpClose(http);
  return record;
}

inline long long Ms(Clock::duration d) {
  return std::chrono::duration_cast<milliseconds>(d).count();
}

}  // namespace pl4120::testing
