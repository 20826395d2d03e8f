// The print preview with a 10 MB text in the editor: from the click on "Просмотр" to the first
// sheet drawn on the screen (and to the count of all sheets); the memory of the page index per
// printed line; writing 100 sheets to a PDF; and typing into the editor while the preview is
// open, beside the same typing without it. Every case that holds the 10 MB text runs in a
// process of its own (fork), so that one case's document does not weigh on the next.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include "app/Application.h"
#include "escp/Interpreter.h"
#include "printer/InitSequence.h"
#include "printer/PrinterSettings.h"
#include "ui/preview/PreviewView.h"
#include "ui/preview/PreviewWindow.h"
#include "ui/widgets/OemMemo.h"
#include "ui/window/Unit1.h"

namespace {

constexpr std::size_t kTenMegabytes = std::size_t{10} * 1000 * 1000;

// Lines of 60 bytes (58 characters of code page 866, Cyrillic and Latin, and CR LF).
std::string Text(std::size_t bytes) {
  std::string text;
  text.reserve(bytes + 60);
  std::string line(60, ' ');
  for (std::size_t i = 0; text.size() < bytes; ++i) {
    for (std::size_t k = 0; k < 58; ++k) {
      line[k] = static_cast<char>(k % 7 == 6 ? ' ' : (k % 2 ? 0xA0 + (i + k) % 32 : 'a' + k % 26));
    }
    line[58] = '\r';
    line[59] = '\n';
    text += line;
  }
  text.resize(bytes - 2);  // no line end after the last line
  return text;
}

struct Outcome {
  double seconds = 0;  // the timed step
  double extra = 0;    // a second figure of the case
  double worst = 0;    // the slowest single step, where there are several
};

// Runs `child` in a process of its own with an application object and the window holding a
// text of `bytes` bytes, and returns what it reports.
template <class F>
Outcome InChild(F child, std::size_t bytes = kTenMegabytes) {
  int fds[2];
  if (pipe(fds) != 0) {
    std::perror("pipe");
    std::exit(1);
  }
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    static char name[] = "bench_preview";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    TPL4120_1 window;
    window.show();
    window.findChild<TOemMemo*>(QStringLiteral("mmText"))->setBytes(Text(bytes));
    QCoreApplication::processEvents();
    const Outcome outcome = child(window);
    if (write(fds[1], &outcome, sizeof outcome) != static_cast<ssize_t>(sizeof outcome)) {
      _exit(2);
    }
    _exit(0);  // the big document is not torn down: that is not part of any measurement
  }
  close(fds[1]);
  Outcome outcome;
  const ssize_t got = read(fds[0], &outcome, sizeof outcome);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (got != static_cast<ssize_t>(sizeof outcome) || outcome.seconds < 0) {
    std::fprintf(stderr, "the measuring process failed\n");
    std::exit(1);
  }
  return outcome;
}

double Seconds(const QElapsedTimer& timer) {
  return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// Runs the event loop until `done` holds (at most 30 s).
template <class F>
void RunUntil(F done) {
  QElapsedTimer limit;
  limit.start();
  while (!done() && limit.elapsed() < 30000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  }
}

// Click on "Просмотр" -> sheet 1 drawn on the screen; extra: -> every sheet counted.
void BM_PreviewFirstSheet10MB(benchmark::State& state) {
  double all = 0;
  for (auto _ : state) {
    const Outcome outcome = InChild([](TPL4120_1& window) {
      Outcome result;
      bool painted = false;
      QElapsedTimer timer;
      timer.start();
      window.findChild<QPushButton*>(QStringLiteral("btViewTx"))->click();
      auto* preview = window.findChild<TPreviewWindow*>();
      QObject::connect(preview->View(), &TPreviewView::sheetPainted, [&](int sheet) {
        if (sheet == 0 && !painted) {
          painted = true;
          result.seconds = Seconds(timer);
        }
      });
      RunUntil([&] { return painted; });
      RunUntil([&] { return !preview->Pending(); });
      result.extra = Seconds(timer);
      if (!painted || preview->View()->SheetCount() < 100) {
        result.seconds = -1;
      }
      return result;
    });
    state.SetIterationTime(outcome.seconds);
    all = std::max(all, outcome.extra);
  }
  state.counters["all_sheets_ms"] = all * 1000;
}

// The page index of the 10 MB text (with the initialisation of the defaults): its memory per
// printed line.
void BM_IndexMemoryPerLine(benchmark::State& state) {
  const std::string bytes =
      pl4120::BuildInitSequence(pl4120::PrinterSettings{}) + Text(kTenMegabytes) + "\f";
  std::size_t memory = 0;
  for (auto _ : state) {
    const pl4120::escp::PageIndex index = pl4120::escp::IndexPages(bytes);
    memory = sizeof index + index.pages.capacity() * sizeof(pl4120::escp::PageStart) +
             index.tabs.capacity() * sizeof(pl4120::escp::TabStops);
    benchmark::DoNotOptimize(index.pages.data());
  }
  std::size_t lines = 0;
  for (const pl4120::escp::Page& page : pl4120::escp::Interpret(bytes)) {
    std::vector<int> ys;
    for (const pl4120::escp::Run& run : page.runs) {
      ys.push_back(run.y);
    }
    std::sort(ys.begin(), ys.end());
    lines += static_cast<std::size_t>(std::unique(ys.begin(), ys.end()) - ys.begin());
  }
  state.counters["index_bytes"] = static_cast<double>(memory);
  state.counters["printed_lines"] = static_cast<double>(lines);
  state.counters["bytes_per_line"] = static_cast<double>(memory) / static_cast<double>(lines);
}

// 100 sheets (93 lines of the defaults' 1/8" on each A4 sheet) written to a PDF; extra: the
// size of the file.
void BM_PdfOf100Sheets(benchmark::State& state) {
  double size = 0;
  for (auto _ : state) {
    const Outcome outcome = InChild(
        [](TPL4120_1& window) {
          Outcome result;
          window.findChild<QPushButton*>(QStringLiteral("btViewTx"))->click();
          auto* preview = window.findChild<TPreviewWindow*>();
          RunUntil([&] { return !preview->Pending(); });
          const std::string path = "/tmp/pl4120-bench-preview-" + std::to_string(getpid()) + ".pdf";
          QElapsedTimer timer;
          timer.start();
          const bool written = preview->SavePdf(QString::fromStdString(path));
          result.seconds = written && preview->View()->SheetCount() == 100 ? Seconds(timer) : -1;
          result.extra = static_cast<double>(QFileInfo(QString::fromStdString(path)).size());
          std::remove(path.c_str());
          return result;
        },
        93 * 100 * 60);
    state.SetIterationTime(outcome.seconds);
    size = outcome.extra;
  }
  state.counters["pdf_kB"] = size / 1024;
}

// Typing 40 characters into the editor holding 10 MB, with or without the preview open: each
// key's handling is timed (the mean is the case's time, the slowest is "worst_key_ms"), and
// after every tenth key the typing pauses until the preview has followed. "ui_follow_ms" is
// the longest the user interface thread was busy at a time while the preview followed (the
// most a key pressed then would wait).
void TypeInto(benchmark::State& state, bool withPreview) {
  double worst = 0;
  double follow = 0;
  for (auto _ : state) {
    const Outcome outcome = InChild([withPreview](TPL4120_1& window) {
      Outcome result;
      TPreviewWindow* preview = nullptr;
      if (withPreview) {
        window.findChild<QPushButton*>(QStringLiteral("btViewTx"))->click();
        preview = window.findChild<TPreviewWindow*>();
        RunUntil([&] { return !preview->Pending(); });
      }
      window.findChild<TOemMemo*>(QStringLiteral("mmText"))->moveCursor(QTextCursor::End);
      std::vector<double> keys;
      for (int i = 0; i < 40; ++i) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::sendEvent(window.findChild<TOemMemo*>(QStringLiteral("mmText")), &press);
        QCoreApplication::sendEvent(window.findChild<TOemMemo*>(QStringLiteral("mmText")),
                                    &release);
        QCoreApplication::processEvents();
        keys.push_back(Seconds(timer));
        if (preview != nullptr && i % 10 == 9) {
          // A pause: the preview follows. Each pass of the event loop is timed on its own; a
          // key pressed meanwhile waits for at most the longest of them.
          QElapsedTimer limit;
          limit.start();
          while (preview->Pending() && limit.elapsed() < 30000) {
            QElapsedTimer pass;
            pass.start();
            QCoreApplication::processEvents();
            result.extra = std::max(result.extra, Seconds(pass));
          }
        }
      }
      result.seconds = std::accumulate(keys.begin(), keys.end(), 0.0) / keys.size();
      result.worst = *std::max_element(keys.begin(), keys.end());
      return result;
    });
    state.SetIterationTime(outcome.seconds);
    worst = std::max(worst, outcome.worst);
    follow = std::max(follow, outcome.extra);
  }
  state.counters["worst_key_ms"] = worst * 1000;
  if (withPreview) {
    state.counters["ui_follow_ms"] = follow * 1000;
  }
}

void BM_KeystrokeWithoutPreview10MB(benchmark::State& state) {
  TypeInto(state, false);
}
void BM_KeystrokeWithPreview10MB(benchmark::State& state) {
  TypeInto(state, true);
}

BENCHMARK(BM_PreviewFirstSheet10MB)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexMemoryPerLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PdfOf100Sheets)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeWithoutPreview10MB)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeWithPreview10MB)
    ->Iterations(2)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
