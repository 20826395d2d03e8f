// Sending through the destinations, side by side with the least the system needs for the same
// bytes:
// - 100 MB to a file: SendJob, and a plain write() loop of 64 KiB pieces;
// - 10 MB to an IPP printer (ippeveprinter): SendJob, and ipptool's print-job;
// - cancel to stopped, per kind of destination: a FIFO and a TCP printer that stopped reading,
//   an IPP printer during the upload and one that hangs in the middle of a job, a
//   print-service queue during the upload.
// Run from the release preset: build/release/bench/bench_output

#include <benchmark/benchmark.h>
#include <cups/cups.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <future>
#include <string>
#include <thread>

#include "printer/Destination.h"
#include "tests/support/PrintRig.h"

namespace {

using pl4120::CancelToken;
using pl4120::JobOptions;
using pl4120::Progress;
using pl4120::SendJob;
using pl4120::WriteResult;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kFileBytes = std::size_t{100} << 20;
constexpr std::size_t kIppBytes = std::size_t{10} << 20;

std::string Bytes(std::size_t size) {
  std::string out(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    out[i] = static_cast<char>((i * 7 + i / 4093) % 256);
  }
  return out;
}

void FileSendJob(benchmark::State& state, const std::string& path, const std::string& data) {
  for (auto _ : state) {
    const WriteResult r = SendJob(path, data);
    if (!r.ok()) {
      state.SkipWithError(r.message.c_str());
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void FileWriteLoop(benchmark::State& state, const std::string& path, const std::string& data) {
  for (auto _ : state) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    for (std::size_t at = 0; at < data.size();) {
      const ssize_t n =
          write(fd, data.data() + at, std::min<std::size_t>(64 * 1024, data.size() - at));
      if (n <= 0) {
        state.SkipWithError("write failed");
        break;
      }
      at += static_cast<std::size_t>(n);
    }
    close(fd);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

// Waits until the printer has finished the last job, so that the next one finds it idle.
void WaitIdle(const pl4120::rig::IppEvePrinter& printer) {
  http_t* http = httpConnect2("localhost", printer.port(), nullptr, AF_UNSPEC,
                              HTTP_ENCRYPTION_IF_REQUESTED, 1, 5000, nullptr);
  for (int i = 0; http != nullptr && i < 500; ++i) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 printer.uri().c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state");
    ipp_t* response = cupsDoRequest(http, request, "/ipp/print");
    ipp_attribute_t* state = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM);
    const bool idle = state != nullptr && ippGetInteger(state, 0) == IPP_PSTATE_IDLE;
    ippDelete(response);
    if (idle) {
      break;
    }
    std::this_thread::sleep_for(milliseconds(5));
  }
  httpClose(http);
}

void IppSendJob(benchmark::State& state, pl4120::rig::IppEvePrinter* printer,
                const std::string& data) {
  JobOptions options;
  options.title = "bench";
  for (auto _ : state) {
    const WriteResult r = SendJob(printer->uri(), data, options);
    if (!r.ok()) {
      state.SkipWithError(r.message.c_str());
      break;
    }
    state.PauseTiming();
    WaitIdle(*printer);
    printer->ClearSpool();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void IppTool(benchmark::State& state, pl4120::rig::IppEvePrinter* printer, const std::string& file,
             std::size_t bytes) {
  const std::string ipptool = pl4120::rig::FindProgram("ipptool");
  for (auto _ : state) {
    std::string output;
    const int status = pl4120::rig::Run({ipptool, "-f", file, printer->uri(), "-d",
                                         "filetype=application/vnd.cups-raw", "print-job.test"},
                                        &output);
    if (status != 0) {
      state.SkipWithError(("ipptool failed: " + output).c_str());
      break;
    }
    state.PauseTiming();
    WaitIdle(*printer);
    printer->ClearSpool();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// One job that is stuck somewhere; the time from Cancel to the job's end is what counts.
// `stuck` waits until the job is stuck (returns false to give up).
template <class Stuck>
bool TimeCancel(benchmark::State& state, const std::string& name, const std::string& data,
                JobOptions options, Stuck stuck) {
  CancelToken cancel;
  std::future<WriteResult> job =
      std::async(std::launch::async, [&] { return SendJob(name, data, options, &cancel); });
  if (!stuck()) {
    cancel.Cancel();
    job.wait();
    state.SkipWithError("the job did not get stuck");
    return false;
  }
  const Clock::time_point start = Clock::now();
  cancel.Cancel();
  job.wait();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  state.SetIterationTime(seconds);
  if (!job.get().cancelled()) {
    state.SkipWithError("the job was not cancelled");
    return false;
  }
  return true;
}

void CancelFifo(benchmark::State& state) {
  pl4120::rig::TempDir dir("pl4120-bench");
  for (auto _ : state) {
    const std::string path = dir / "fifo";
    unlink(path.c_str());
    mkfifo(path.c_str(), 0600);
    pl4120::rig::FifoSink reader(path, {.stopReadingAfter = 4096});
    if (!TimeCancel(state, path, Bytes(1 << 20), {}, [&] {
          if (!reader.WaitForBytes(4096, milliseconds(5000))) {
            return false;
          }
          std::this_thread::sleep_for(milliseconds(50));
          return true;
        })) {
      break;
    }
  }
}

void CancelSocket(benchmark::State& state) {
  for (auto _ : state) {
    pl4120::rig::TcpSink printer({.stopReadingAfter = 4096, .receiveBuffer = 4096});
    if (!TimeCancel(state, printer.uri(), Bytes(16 << 20), {}, [&] {
          if (!printer.WaitForBytes(4096, milliseconds(5000))) {
            return false;
          }
          std::this_thread::sleep_for(milliseconds(200));
          return true;
        })) {
      break;
    }
  }
}

void CancelIpp(benchmark::State& state, pl4120::rig::IppEvePrinter* printer) {
  const std::string data(64 << 20, 'x');
  for (auto _ : state) {
    std::atomic<bool> frozen{false};
    JobOptions options;
    options.onProgress = [&](const Progress& p) {
      if (p.sent > (1 << 20) && !frozen.exchange(true)) {
        printer->Freeze();
      }
    };
    const bool ok = TimeCancel(state, printer->uri(), data, options, [&] {
      std::this_thread::sleep_for(milliseconds(1500));  // the buffers fill, the upload waits
      return frozen.load();
    });
    printer->Thaw();
    pl4120::FinishLeftWork(milliseconds(5000));
    printer->ClearSpool();
    if (!ok) {
      break;
    }
  }
}

// A job in the middle of its upload to a printer or service that answers at once.
void CancelUpload(benchmark::State& state, const std::string& name, const std::string& service,
                  pl4120::rig::IppEvePrinter* printer) {
  const std::string data = Bytes(64 << 20);
  for (auto _ : state) {
    JobOptions options;
    options.printService = service;
    options.progressInterval = milliseconds(0);
    std::atomic<bool> uploading{false};
    options.onProgress = [&](const Progress& p) {
      if (p.sent > (1 << 20)) {
        uploading = true;
      }
    };
    const bool ok = TimeCancel(state, name, data, options, [&] {
      const auto end = Clock::now() + milliseconds(5000);
      while (!uploading && Clock::now() < end) {
        std::this_thread::sleep_for(milliseconds(1));
      }
      return uploading.load();
    });
    pl4120::FinishLeftWork(milliseconds(5000));
    if (printer != nullptr) {
      WaitIdle(*printer);
      printer->ClearSpool();
    }
    if (!ok) {
      break;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);

  pl4120::rig::TempDir dir("pl4120-bench");
  const std::string file = dir / "printer.out";
  const std::string hundred = Bytes(kFileBytes);
  benchmark::RegisterBenchmark("File/SendJob/100MB", FileSendJob, file, hundred)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("File/write64KiB/100MB", FileWriteLoop, file, hundred)
      ->Unit(benchmark::kMillisecond);

  pl4120::rig::IppEvePrinter printer;
  const std::string printerProblem = printer.Start();
  const std::string ten = Bytes(kIppBytes);
  const std::string tenFile = dir / "ten.bin";
  std::ofstream(tenFile, std::ios::binary) << ten;
  if (printerProblem.empty()) {
    benchmark::RegisterBenchmark("Ipp/SendJob/10MB", IppSendJob, &printer, ten)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Ipp/ipptool-print-job/10MB", IppTool, &printer, tenFile,
                                 ten.size())
        ->Unit(benchmark::kMillisecond);
  } else {
    std::fprintf(stderr, "no IPP printer: %s\n", printerProblem.c_str());
  }

  benchmark::RegisterBenchmark("Cancel/device-fifo", CancelFifo)
      ->UseManualTime()
      ->Iterations(10)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Cancel/socket", CancelSocket)
      ->UseManualTime()
      ->Iterations(10)
      ->Unit(benchmark::kMillisecond);
  if (printerProblem.empty()) {
    benchmark::RegisterBenchmark("Cancel/ipp-upload", CancelUpload, printer.uri(), "", &printer)
        ->UseManualTime()
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Cancel/ipp-hung-printer", CancelIpp, &printer)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
  }
  pl4120::rig::PrivateCupsd service;
  pl4120::rig::TcpSink sink;
  const std::string serviceProblem = service.Start();
  if (serviceProblem.empty() && service.AddQueue("Raw", sink.uri()).empty()) {
    benchmark::RegisterBenchmark("Cancel/cups-queue-upload", CancelUpload, "cups:Raw",
                                 service.server(), nullptr)
        ->UseManualTime()
        ->Iterations(10)
        ->Unit(benchmark::kMillisecond);
  } else {
    std::fprintf(stderr, "no private print service: %s\n", serviceProblem.c_str());
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return EXIT_SUCCESS;
}
