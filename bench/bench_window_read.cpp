// Reading a file into the window (ReadTextFileIntoEditor, no dialog) against one
// QPlainTextEdit::setPlainText of the same text into the same editor. Every run is a process of
// its own (fork), so that its peak resident size (getrusage ru_maxrss) belongs to that case only.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/Application.h"
#include "text/Cp866.h"
#include "ui/session/SendSession.h"
#include "ui/session/TextFile.h"
#include "ui/widgets/OemMemo.h"
#include "ui/window/Unit1.h"

namespace {

enum class Way { kReadTextFileIntoEditor, kSetPlainText };

struct Outcome {
  double seconds = 0;
  long startKb = 0;  // peak resident size just before the timed step
  long peakKb = 0;   // peak resident size of the whole run
};

long PeakKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// A text of `bytes` bytes in 60-byte lines (58 characters of code page 866 and CR LF), written
// line by line so that the benchmark process itself stays small.
std::string TextFile(std::size_t bytes) {
  const std::string path =
      "/tmp/pl4120-bench-window-" + std::to_string(bytes) + "-" + std::to_string(getpid()) + ".txt";
  std::ofstream out(path, std::ios::binary);
  std::string line(60, ' ');
  for (std::size_t i = 0, written = 0; written < bytes; ++i, written += line.size()) {
    for (std::size_t k = 0; k < 58; ++k) {
      line[k] = static_cast<char>(0xA0 + (i + k) % 32);  // Cyrillic letters of code page 866
    }
    line[56] = ' ';
    line[58] = '\r';
    line[59] = '\n';
    out << line;
  }
  return path;
}

[[noreturn]] void RunChild(Way way, const std::string& path, int pipeOut) {
  static char name[] = "bench_window_read";
  static char* argv[] = {name, nullptr};
  int argc = 1;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication app(argc, argv);
  TPL4120_1 window;
  window.show();
  QCoreApplication::processEvents();
  QString text;
  if (way == Way::kSetPlainText) {
    std::string bytes;
    {
      std::ifstream in(path, std::ios::binary);
      bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    text.resize(static_cast<qsizetype>(bytes.size()));
    const std::size_t n = pl4120::DecodeCp866Text(bytes, reinterpret_cast<char16_t*>(text.data()));
    text.truncate(static_cast<qsizetype>(n));
    std::string().swap(bytes);
  } else {
    window.TextFile().SetName(path);
  }
  Outcome outcome;
  outcome.startKb = PeakKb();
  const auto start = std::chrono::steady_clock::now();
  if (way == Way::kSetPlainText) {
    window.findChild<TOemMemo*>(QStringLiteral("mmText"))->QPlainTextEdit::setPlainText(text);
  } else {
    window.ReadTextFileIntoEditor();
  }
  const auto stop = std::chrono::steady_clock::now();
  outcome.seconds = std::chrono::duration<double>(stop - start).count();
  outcome.peakKb = PeakKb();
  if (window.findChild<TOemMemo*>(QStringLiteral("mmText"))->document()->blockCount() < 2) {
    outcome.seconds = -1;  // nothing arrived: report it rather than a time
  }
  if (write(pipeOut, &outcome, sizeof outcome) != static_cast<ssize_t>(sizeof outcome)) {
    _exit(2);
  }
  _exit(0);  // no teardown of the big document: it is not part of the measurement
}

Outcome RunInProcess(Way way, const std::string& path) {
  int fds[2];
  if (pipe(fds) != 0) {
    std::perror("pipe");
    std::exit(1);
  }
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    RunChild(way, path, fds[1]);
  }
  close(fds[1]);
  Outcome outcome;
  const ssize_t got = read(fds[0], &outcome, sizeof outcome);
  close(fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (got != static_cast<ssize_t>(sizeof outcome) || outcome.seconds < 0) {
    std::fprintf(stderr, "the measuring process failed\n");
    std::exit(1);
  }
  return outcome;
}

void BM_Window(benchmark::State& state, Way way) {
  const std::size_t bytes = static_cast<std::size_t>(state.range(0)) * 1000 * 1000;
  const std::string path = TextFile(bytes);
  long peakKb = 0;
  long startKb = 0;
  for (auto _ : state) {
    const Outcome outcome = RunInProcess(way, path);
    state.SetIterationTime(outcome.seconds);
    peakKb = std::max(peakKb, outcome.peakKb);
    startKb = std::max(startKb, outcome.startKb);
  }
  std::remove(path.c_str());
  state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
  state.counters["before_MB"] = static_cast<double>(startKb) / 1024.0;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_ReadTextFileIntoEditor(benchmark::State& state) {
  BM_Window(state, Way::kReadTextFileIntoEditor);
}
void BM_SetPlainText(benchmark::State& state) {
  BM_Window(state, Way::kSetPlainText);
}

// Side by side for each size; manual time is the timed step of each process.
BENCHMARK(BM_SetPlainText)->Arg(10)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTextFileIntoEditor)
    ->Arg(10)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetPlainText)->Arg(100)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTextFileIntoEditor)
    ->Arg(100)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
