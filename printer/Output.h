#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace pl4120 {

/// What kind of destination a name leads to.
enum class DestinationKind {
  Device,  ///< a device node or an ordinary file
  Socket,  ///< socket://HOST[:PORT], raw TCP
  Ipp,     ///< ipp://… or ipps://…, a raw job straight to an IPP printer
  Queue,   ///< cups:NAME, a raw job to a queue of the local print service
};

/// Why a send failed, beyond the system's error number.
enum class FailureKind {
  None,
  System,              ///< `error` holds the errno (devices, files, broken connections)
  BadAddress,          ///< a network name that cannot be understood
  HostNotFound,        ///< the host name is not known
  ConnectionRefused,   ///< nothing listens at the address
  ConnectTimeout,      ///< the connection was not made within the connect time-out
  ServiceAbsent,       ///< no print service answers (cups:)
  NotFound,            ///< no printer at that path, or no such queue
  NoDefaultQueue,      ///< cups: alone while the print service has no default queue
  ServiceUnavailable,  ///< the printer or service says it cannot serve now
  NotAccepting,        ///< the printer or queue does not accept jobs
  FormatNotSupported,  ///< the printer does not take raw data
  TransferTimeout,     ///< the printer took no byte for the transfer time-out
  PrintError,          ///< any other refusal of the printer or service (`ippStatus`)
};

/// The outcome of one send.
struct WriteResult {
  enum class Status { Written, OpenFailed, WriteFailed, Cancelled };
  Status status = Status::Written;
  FailureKind failure = FailureKind::None;
  int error = 0;        ///< errno of the failure; 0 when written or when not a system error
  int ippStatus = 0;    ///< the printer's or service's status code, where it answered with one
  std::string path;     ///< what was opened: a device path, HOST:PORT, the URI, the queue name
  std::string host;     ///< the host of a network destination
  std::string message;  ///< the system's or library's own text for the failure

  DestinationKind kind = DestinationKind::Device;
  std::uint64_t total = 0;         ///< bytes of the job
  std::uint64_t sent = 0;          ///< bytes the destination has taken (all of them when written)
  int jobId = 0;                   ///< the job's number at a printer or print service, 0 otherwise
  bool cancelledOnServer = false;  ///< the printer or service confirmed the job's cancel
  /// The cancel request was still on its way when the job ended; it goes on in the
  /// background (see FinishLeftWork).
  bool cancelPending = false;

  /// A device that does not exist: the printers that were found instead.
  bool lookedForPrinters = false;
  std::vector<std::string> queues;   ///< "cups:NAME" of the print service's queues
  std::vector<std::string> devices;  ///< printer device nodes that are present

  bool ok() const noexcept { return status == Status::Written; }
  bool cancelled() const noexcept { return status == Status::Cancelled; }
};

/// Where a job stands, as reported while it runs.
struct Progress {
  std::uint64_t sent = 0;   ///< bytes the destination has taken so far
  std::uint64_t total = 0;  ///< bytes of the job
  bool stalled = false;     ///< the destination has taken no byte for the stall delay
};

/// Stops a job from any thread. One token serves one job (or a run of jobs that all stop
/// together); it cannot be reset.
class CancelToken {
 public:
  CancelToken();
  ~CancelToken();
  CancelToken(const CancelToken&) = delete;
  CancelToken& operator=(const CancelToken&) = delete;

  /// Asks the job to stop; safe from any thread and more than once.
  void Cancel() noexcept;
  bool cancelled() const noexcept { return cancelled_.load(std::memory_order_acquire); }
  /// A descriptor that becomes readable once Cancel has been called (-1 if none could be made;
  /// the flag still works then, at the pace of the waits' ticks).
  int fd() const noexcept { return fd_; }

  /// For a wait inside a library that watches neither the flag nor the descriptor: `hook` is
  /// run by Cancel (on the cancelling thread), or at once when the token is already
  /// cancelled. An empty hook removes it; once that returns, the old hook no longer runs.
  void SetHook(std::function<void()> hook) const;

 private:
  std::atomic<bool> cancelled_{false};
  int fd_ = -1;
  mutable std::mutex hookMutex_;
  mutable std::function<void()> hook_;
};

/// How one job is sent.
struct JobOptions {
  using Milliseconds = std::chrono::milliseconds;

  /// The job's title at a print service or IPP printer ("ПЛ 4120: letter.txt"). UTF-8.
  std::string title = "ПЛ 4120";
  /// The user the job belongs to at a print service or IPP printer (UTF-8). Empty: the name
  /// this thread's library settings give (CUPS_USER, the client configuration, else the
  /// login name).
  std::string user;
  /// The print service to use for cups: names and for the list of queues: "HOST[:PORT]" or
  /// the path of its local socket. Empty: the service this thread's library settings name
  /// (CUPS_SERVER, the client configuration, else the local one).
  std::string printService;
  /// Called on the sending thread while the job runs: at the start, at most every
  /// `progressInterval` while bytes move, when the stalled state changes, and at the end.
  std::function<void(const Progress&)> onProgress;

  Milliseconds stallDelay{10000};       ///< no byte taken for this long: stalled (reported only)
  Milliseconds connectTimeout{10000};   ///< network connect, ends the job with an error
  Milliseconds transferTimeout{60000};  ///< IPP: no byte taken for this long ends the job
  Milliseconds progressInterval{100};   ///< the least time between two progress reports
  Milliseconds queueListTimeout{1500};  ///< asking the print service for its queues
  Milliseconds serverCancelWait{120};   ///< waiting for the server to confirm a cancel
  std::size_t pieceSize = 64 * 1024;    ///< bytes handed over at a time
};

class JobControl;

/// One kind of destination: opens it, hands over pieces of a job, finishes or cancels it.
/// Implementations block only in JobControl's waits (or in a library call whose waits check
/// the job through JobControl::Tick), so that a cancel always gets through.
class Output {
 public:
  virtual ~Output() = default;

  /// Opens the destination; false with `result` filled when that fails or the job is cancelled.
  virtual bool Open(JobControl& job, WriteResult& result) = 0;
  /// Hands over every byte of `piece`, calling job.Handed as bytes go; false on failure (with
  /// `result` filled) or when the job is cancelled meanwhile.
  virtual bool Write(std::string_view piece, JobControl& job, WriteResult& result) = 0;
  /// Ends a job whose bytes were all handed over: waits until the destination has them and
  /// closes it.
  virtual bool Finish(JobControl& job, WriteResult& result) = 0;
  /// Ends a job that was cancelled or failed (Open included): drops what can still be dropped
  /// and cancels a print-service job on the server. Sets result.sent.
  virtual void Abort(JobControl& job, WriteResult& result) = 0;
  /// Bytes of the `handed` ones that the destination has taken; less than `handed` where the
  /// system still queues some of them on the way.
  virtual std::uint64_t Taken(std::uint64_t handed) const { return handed; }
  /// A count that grows whenever the destination takes bytes; the stall clock watches it.
  /// Finer than Taken where the system can tell (acknowledged network bytes).
  virtual std::uint64_t Moved(std::uint64_t handed) const { return Taken(handed); }
};

/// The running job as an Output sees it: the cancel, the clock, the progress and stall
/// bookkeeping, and the one way to wait.
class JobControl {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Wake { Ready, Cancelled, TimedOut, Failed };

  JobControl(const JobOptions& options, const CancelToken* cancel, std::uint64_t total);

  void Attach(const Output* output) { output_ = output; }
  const JobOptions& options() const { return options_; }
  bool cancelled() const { return cancel_ != nullptr && cancel_->cancelled(); }
  const CancelToken* cancelToken() const { return cancel_; }
  std::uint64_t handed() const { return handed_; }
  std::uint64_t total() const { return total_; }

  /// Counts `bytes` more as handed over to the system.
  void Handed(std::uint64_t bytes);
  /// Looks at how far the destination got; reports progress and the stalled state.
  void Tick();
  /// How long the destination has taken no byte.
  Clock::duration SinceLastMove() const { return Clock::now() - lastMove_; }
  /// Sends the last progress report.
  void ReportFinal(std::uint64_t sent);

  /// Waits until `fd` is ready for `events`, the job is cancelled, `deadline` passes or
  /// poll fails (errno kept); keeps the progress going meanwhile. `revents` gets fd's events.
  Wake Wait(int fd, short events, short* revents = nullptr,
            Clock::time_point deadline = Clock::time_point::max());
  /// Waits `pause` unless the job is cancelled first; false when cancelled.
  bool Pause(std::chrono::milliseconds pause);

 private:
  void Report(bool force);

  const JobOptions& options_;
  const CancelToken* cancel_;
  const Output* output_ = nullptr;
  std::uint64_t total_;
  std::uint64_t handed_ = 0;
  std::uint64_t taken_ = 0;
  std::uint64_t moved_ = 0;
  std::uint64_t reportedTaken_ = 0;
  bool stalled_ = false;
  bool reportedOnce_ = false;
  bool reportedStalled_ = false;
  Clock::time_point lastMove_;
  Clock::time_point lastReport_;
};

}  // namespace pl4120
