// ipp://, ipps:// and cups:NAME: one raw job (application/vnd.cups-raw) through the print
// service library. Every wait inside the library goes through a short connection time-out
// whose callback ticks the job, so a cancel or the transfer time-out always gets through;
// the connect runs on a thread of its own because its waits cannot be interrupted.

#include <cups/cups.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "printer/OutputKinds.h"

namespace pl4120::detail {
namespace {

using Status = WriteResult::Status;

// How often the library hands a waiting job back to us.
constexpr double kTickSeconds = 0.05;
// Bytes given to the library at a time: the steps in which the progress moves.
constexpr std::size_t kStep = 16 * 1024;
// A printer that answers "busy" is asked again after a pause, this many times.
constexpr int kBusyRetries = 20;

bool Succeeded(ipp_status_t status) {
  return status <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

// A printer that asks for a password gets none, instead of a prompt on the terminal that
// nobody sees.
const char* NoPassword(const char*, http_t*, const char*, const char*, void*) {
  return nullptr;
}

// One connect, made on a thread of its own; whoever comes last closes what it made.
struct Connect {
  std::string host;
  int port = 0;
  http_encryption_t encryption = HTTP_ENCRYPTION_IF_REQUESTED;
  int timeoutMs = 0;
  int cancel = 0;  // the library reads this while connecting

  std::mutex mutex;
  bool abandoned = false;
  http_t* http = nullptr;
  FailureKind failure = FailureKind::None;
  int error = 0;
  std::string message;
};

// The errno of a plain connect to `addresses`, for the reason the library does not give.
int ConnectError(http_addrlist_t* addresses) {
  int error = EHOSTUNREACH;
  for (http_addrlist_t* a = addresses; a != nullptr; a = a->next) {
    const int fd = socket(httpAddrFamily(&a->addr), SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
      error = errno;
      continue;
    }
    timeval limit{2, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    const int connected =
        connect(fd, &a->addr.addr, static_cast<socklen_t>(httpAddrLength(&a->addr)));
    error = connected == 0 ? 0 : errno;
    close(fd);
    if (error == 0) {
      break;
    }
  }
  return error == EINPROGRESS || error == EAGAIN ? ETIMEDOUT : error;
}

void RunConnect(Connect& c) {
  cupsSetPasswordCB2(NoPassword, nullptr);
  const std::string port = std::to_string(c.port);
  http_addrlist_t* addresses = httpAddrGetList(c.host.c_str(), AF_UNSPEC, port.c_str());
  if (addresses == nullptr) {
    c.failure = FailureKind::HostNotFound;
    c.message = cupsLastErrorString();
    return;
  }
  http_t* http = httpConnect2(c.host.c_str(), c.port, addresses, AF_UNSPEC, c.encryption, 1,
                              c.timeoutMs, &c.cancel);
  if (http == nullptr) {
    const int libraryError = errno;
    const std::string libraryMessage = cupsLastErrorString();
    // The library reports every failed connect alike; a plain connect tells them apart.
    int error = libraryError == ETIMEDOUT ? ETIMEDOUT : ConnectError(addresses);
    if (error == 0) {
      error = libraryError;
    }
    c.error = error;
    c.failure = error == ETIMEDOUT      ? FailureKind::ConnectTimeout
                : error == ECONNREFUSED ? FailureKind::ConnectionRefused
                : error != 0            ? FailureKind::System
                                        : FailureKind::ServiceUnavailable;
    c.message = error != 0 ? std::string() : libraryMessage;
  }
  httpAddrFreeList(addresses);
  std::lock_guard lock(c.mutex);
  if (c.abandoned) {
    if (http != nullptr) {
      httpClose(http);
    }
    return;
  }
  c.http = http;
}

// Cancels job `jobId` of the printer at `uri`, over a connection of its own.
struct CancelRequest {
  std::string user;  // empty: the library's own idea of the user
  std::string host;
  int port = 0;
  http_encryption_t encryption = HTTP_ENCRYPTION_IF_REQUESTED;
  std::string uri;
  int jobId = 0;
  bool cancelled = false;
};

void RunCancel(CancelRequest& r) {
  cupsSetPasswordCB2(NoPassword, nullptr);
  // A print service lets the owner of a job cancel it: ask as the user the job was made for.
  if (!r.user.empty()) {
    cupsSetUser(r.user.c_str());
  }
  http_t* http =
      httpConnect2(r.host.c_str(), r.port, nullptr, AF_UNSPEC, r.encryption, 1, 3000, nullptr);
  if (http == nullptr) {
    return;
  }
  httpSetTimeout(http, 3.0, nullptr, nullptr);  // a server that does not answer is left
  cups_dest_t* dest = cupsGetDestWithURI(nullptr, r.uri.c_str());
  if (dest != nullptr) {
    r.cancelled = Succeeded(cupsCancelDestJob(http, dest, r.jobId));
    cupsFreeDests(1, dest);
  }
  httpClose(http);
}

// What a job for an IPP printer and a job for a queue of the print service share: the
// connection, the job and its document, the cancel on the server. The two differ in where
// they connect to and how they find the destination there.
class IppJobOutput : public Output {
 public:
  explicit IppJobOutput(std::string target) : target_(std::move(target)) {}
  ~IppJobOutput() override { Close(); }
  IppJobOutput(const IppJobOutput&) = delete;
  IppJobOutput& operator=(const IppJobOutput&) = delete;

  bool Open(JobControl& job, WriteResult& result) override {
    job_ = &job;
    cupsSetPasswordCB2(NoPassword, nullptr);
    // The library names the user of every request it makes on this thread; the job's user
    // holds until Close puts the thread's own setting back.
    if (!job.options().user.empty()) {
      previousUser_ = cupsUser();
      cupsSetUser(job.options().user.c_str());
      userSet_ = true;
    }
    result.path = target_;
    if (!Locate(job, result)) {
      return false;
    }
    result.host = host_;
    if (!ConnectToHost(job, result)) {
      return false;
    }
    httpSetTimeout(http_, kTickSeconds, &IppJobOutput::OnTimeout, this);
    // Some of the library's waits (up to a second for a "continue") ask no callback; ending
    // the reading side wakes them without telling the printer anything.
    hooked_ = job.cancelToken();
    if (hooked_ != nullptr) {
      const int fd = httpGetFd(http_);
      hooked_->SetHook([fd] { shutdown(fd, SHUT_RD); });
    }
    return FindDestination(job, result) && StartJob(job, result);
  }

  bool Write(std::string_view piece, JobControl& job, WriteResult& result) override {
    while (!piece.empty()) {
      const std::string_view step = piece.substr(0, kStep);
      if (cupsWriteRequestData(http_, step.data(), step.size()) != HTTP_STATUS_CONTINUE) {
        return FailRequest(result, Status::WriteFailed);
      }
      piece.remove_prefix(step.size());
      job.Handed(step.size());
      if (job.cancelled()) {
        return false;
      }
    }
    return true;
  }

  bool Finish(JobControl& job, WriteResult& result) override {
    (void)job;
    if (!Succeeded(cupsFinishDestDocument(http_, dest_, info_))) {
      return FailRequest(result, Status::WriteFailed);
    }
    Close();
    return true;
  }

  void Abort(JobControl& job, WriteResult& result) override {
    result.sent = Taken(job.handed());
    // The job is cancelled while the upload still hangs: a printer that saw the upload end
    // first would take the part it got for a whole job and print it.
    if (jobId_ > 0) {
      CancelOnServer(job, result);
    }
    Close();
  }

  std::uint64_t Taken(std::uint64_t handed) const override {
    const int fd = http_ != nullptr ? httpGetFd(http_) : -1;
    const std::uint64_t held =
        (http_ != nullptr ? static_cast<std::uint64_t>(httpGetPending(http_)) : 0) +
        SocketQueued(fd);
    const std::uint64_t taken = handed > held ? handed - held : 0;
    taken_ = std::max(taken_, taken);
    return taken_;
  }

  std::uint64_t Moved(std::uint64_t handed) const override {
    std::uint64_t acked = 0;
    const int fd = http_ != nullptr ? httpGetFd(http_) : -1;
    return TcpBytesAcked(fd, &acked) ? acked : Taken(handed);
  }

 protected:
  /// Where to connect: sets host_, port_ and encryption_ (and dest_ when it is known before
  /// connecting). False, with the result's failure, when the target says nowhere.
  virtual bool Locate(JobControl& job, WriteResult& result) = 0;
  /// Sets dest_ once connected. False, with the result's failure, when there is none.
  virtual bool FindDestination(JobControl& job, WriteResult& result) = 0;
  /// The failure of a connection that did not come about.
  virtual FailureKind ConnectFailure(FailureKind failure, int /*error*/) const { return failure; }

  bool StartJob(JobControl& job, WriteResult& result) {
    info_ = cupsCopyDestInfo(http_, dest_);
    if (info_ == nullptr) {
      return FailRequest(result, Status::OpenFailed);
    }
    const char* title = job.options().title.c_str();
    for (int attempt = 0;; ++attempt) {
      const ipp_status_t status =
          cupsCreateDestJob(http_, dest_, info_, &jobId_, title, 0, nullptr);
      if (Succeeded(status) && jobId_ > 0) {
        break;
      }
      if (status != IPP_STATUS_ERROR_BUSY || attempt == kBusyRetries || Stopped()) {
        return FailRequest(result, Status::OpenFailed);
      }
      if (!job.Pause(std::chrono::milliseconds(50 + 25 * attempt))) {
        return false;
      }
    }
    result.jobId = jobId_;
    if (cupsStartDestDocument(http_, dest_, info_, jobId_, title, CUPS_FORMAT_RAW, 0, nullptr, 1) !=
        HTTP_STATUS_CONTINUE) {
      return FailRequest(result, Status::OpenFailed);
    }
    return true;
  }

  static int OnTimeout(http_t*, void* data) {
    auto* self = static_cast<IppJobOutput*>(data);
    JobControl& job = *self->job_;
    job.Tick();
    if (job.cancelled()) {
      return 0;
    }
    if (job.SinceLastMove() >= job.options().transferTimeout) {
      self->timedOut_ = true;
      return 0;
    }
    return 1;
  }

  bool Stopped() const { return timedOut_ || job_->cancelled(); }

  bool ConnectToHost(JobControl& job, WriteResult& result) {
    auto connect = std::make_shared<Connect>();
    connect->host = host_;
    connect->port = port_;
    connect->encryption = encryption_;
    connect->timeoutMs = static_cast<int>(job.options().connectTimeout.count());
    const auto deadline = JobControl::Clock::now() + job.options().connectTimeout +
                          std::chrono::milliseconds(500);  // the library keeps its own time
    const bool done =
        RunUntilDone([connect] { RunConnect(*connect); }, job.cancelToken(), deadline);
    if (!done) {
      std::atomic_ref<int>(connect->cancel).store(1);
      std::lock_guard lock(connect->mutex);
      connect->abandoned = true;
      if (!job.cancelled()) {
        Fail(result, Status::OpenFailed, FailureKind::ConnectTimeout, ETIMEDOUT);
      }
      return false;
    }
    http_ = connect->http;
    if (http_ != nullptr) {
      return true;
    }
    Fail(result, Status::OpenFailed, ConnectFailure(connect->failure, connect->error),
         connect->error, connect->message);
    return false;
  }

  // A request that failed: a cancel is no failure, the transfer time-out is one of its own,
  // anything else is what the printer or the library said.
  bool FailRequest(WriteResult& result, Status status, FailureKind hint = FailureKind::None) {
    if (job_->cancelled()) {
      return false;
    }
    if (timedOut_) {
      Fail(result, status, FailureKind::TransferTimeout, 0);
      return false;
    }
    const ipp_status_t ipp = cupsLastError();
    result.ippStatus = ipp;
    const int error = http_ != nullptr ? httpError(http_) : 0;
    FailureKind failure = hint;
    if (failure == FailureKind::None || ipp != IPP_STATUS_ERROR_NOT_FOUND) {
      switch (ipp) {
        case IPP_STATUS_ERROR_NOT_FOUND:
          failure = FailureKind::NotFound;
          break;
        case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        case IPP_STATUS_ERROR_BUSY:
        case IPP_STATUS_ERROR_TEMPORARY:
          failure = FailureKind::ServiceUnavailable;
          break;
        case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
          failure = FailureKind::NotAccepting;
          break;
        case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
          failure = FailureKind::FormatNotSupported;
          break;
        default:
          failure = FailureKind::PrintError;
          break;
      }
    }
    // A connection that broke under the request: the system's reason says more.
    if (failure == FailureKind::PrintError && ipp == IPP_STATUS_ERROR_INTERNAL && error != 0) {
      Fail(result, status, FailureKind::System, error);
      result.ippStatus = ipp;
      return false;
    }
    Fail(result, status, failure, 0, cupsLastErrorString());
    return false;
  }

  void CancelOnServer(JobControl& job, WriteResult& result) {
    auto request = std::make_shared<CancelRequest>();
    request->user = job.options().user;
    request->host = host_;
    request->port = port_;
    request->encryption = encryption_;
    request->jobId = jobId_;
    const char* uri = nullptr;
    if (dest_ != nullptr) {
      uri = cupsGetOption("printer-uri-supported", dest_->num_options, dest_->options);
    }
    request->uri = uri != nullptr ? uri : target_;
    // After a cancel the wait is short, so that the job ends at once; a server that is slower
    // than that gets the request all the same, from a thread left to finish it.
    const auto wait =
        job.cancelled() ? job.options().serverCancelWait : std::chrono::milliseconds(3000);
    const bool done =
        RunUntilDone([request] { RunCancel(*request); }, nullptr, JobControl::Clock::now() + wait);
    result.cancelledOnServer = done && request->cancelled;
    result.cancelPending = !done;
  }

  void Close() {
    if (hooked_ != nullptr) {
      hooked_->SetHook({});
      hooked_ = nullptr;
    }
    if (http_ != nullptr) {
      httpClose(http_);
      http_ = nullptr;
    }
    if (info_ != nullptr) {
      cupsFreeDestInfo(info_);
      info_ = nullptr;
    }
    if (dest_ != nullptr) {
      cupsFreeDests(1, dest_);
      dest_ = nullptr;
    }
    if (userSet_) {
      cupsSetUser(previousUser_.c_str());
      userSet_ = false;
    }
  }

  std::string target_;
  JobControl* job_ = nullptr;
  std::string host_;
  int port_ = 0;
  http_encryption_t encryption_ = HTTP_ENCRYPTION_IF_REQUESTED;
  http_t* http_ = nullptr;
  cups_dest_t* dest_ = nullptr;
  cups_dinfo_t* info_ = nullptr;
  int jobId_ = 0;
  bool timedOut_ = false;
  bool userSet_ = false;                 // the thread's user is the job's until Close
  std::string previousUser_;             // the thread's user before the job
  const CancelToken* hooked_ = nullptr;  // holds a hook on the connection while it is open
  mutable std::uint64_t taken_ = 0;
};

// An IPP printer at an ipp:// or ipps:// address.
class IppPrinterOutput final : public IppJobOutput {
 public:
  using IppJobOutput::IppJobOutput;

 private:
  bool Locate(JobControl& /*job*/, WriteResult& result) override {
    dest_ = cupsGetDestWithURI(nullptr, target_.c_str());
    char scheme[32], user[256], host[256], resource[1024];
    if (dest_ == nullptr ||
        httpSeparateURI(HTTP_URI_CODING_ALL, target_.c_str(), scheme, sizeof scheme, user,
                        sizeof user, host, sizeof host, &port_, resource,
                        sizeof resource) < HTTP_URI_STATUS_OK) {
      Fail(result, Status::OpenFailed, FailureKind::BadAddress, 0, cupsLastErrorString());
      return false;
    }
    host_ = host;
    if (host_.empty()) {
      Fail(result, Status::OpenFailed, FailureKind::BadAddress, 0, "no host in the address");
      return false;
    }
    encryption_ =
        std::strcmp(scheme, "ipps") == 0 ? HTTP_ENCRYPTION_ALWAYS : HTTP_ENCRYPTION_IF_REQUESTED;
    return true;
  }

  bool FindDestination(JobControl& /*job*/, WriteResult& /*result*/) override { return true; }
};

// A queue of the print service, by name; the service's default queue for an empty name.
class QueueOutput final : public IppJobOutput {
 public:
  using IppJobOutput::IppJobOutput;

 private:
  bool Locate(JobControl& job, WriteResult& /*result*/) override {
    const ServiceAddress service = PrintServiceAddress(job.options().printService);
    host_ = service.host;
    port_ = service.port;
    encryption_ = cupsEncryption();
    return true;
  }

  bool FindDestination(JobControl& job, WriteResult& result) override {
    dest_ = cupsGetNamedDest(http_, target_.empty() ? nullptr : target_.c_str(), nullptr);
    if (dest_ == nullptr) {
      FailRequest(result, Status::OpenFailed,
                  target_.empty() ? FailureKind::NoDefaultQueue : FailureKind::NotFound);
      if (result.failure == FailureKind::NotFound ||
          result.failure == FailureKind::NoDefaultQueue) {
        LookForPrinters(job.options(), job.cancelToken(), result);
      }
      return false;
    }
    if (target_.empty()) {
      result.path = dest_->name;
    }
    // The library takes a connection to any host but the one in the queue's own address for a
    // connection to the printer itself, and would ask the service about the queue's device
    // instead of the queue; the queue's address is the one to use here.
    if (const char* uri =
            cupsGetOption("printer-uri-supported", dest_->num_options, dest_->options)) {
      const std::string queueUri = uri;
      dest_->num_options =
          cupsAddOption("device-uri", queueUri.c_str(), dest_->num_options, &dest_->options);
    }
    return true;
  }

  FailureKind ConnectFailure(FailureKind failure, int error) const override {
    if (failure == FailureKind::ConnectionRefused ||
        (failure == FailureKind::System && error == ENOENT)) {
      return FailureKind::ServiceAbsent;  // nothing listens where the service should be
    }
    return failure;
  }
};

}  // namespace

std::unique_ptr<Output> MakeIppOutput(std::string uri) {
  return std::make_unique<IppPrinterOutput>(std::move(uri));
}

std::unique_ptr<Output> MakeQueueOutput(std::string queue) {
  return std::make_unique<QueueOutput>(std::move(queue));
}

}  // namespace pl4120::detail
