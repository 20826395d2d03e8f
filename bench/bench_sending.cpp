// The window while it prints, measured from its own thread:
// - a 10 ms timer of the window's thread while "Распечатка текста" sends 2 MB to a printer (a
//   FIFO) that takes 100 KB/s: how late its ticks come (max, 99th percentile, median);
// - cancel to stopped as the window sees it: from the click on "Отмена" to the box that says
//   how far the job got, for a FIFO and a TCP printer that stopped reading and for an IPP
//   printer that hangs in the middle of a job.
// Run from the release preset: build/release/bench/bench_sending

#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/Application.h"
#include "tests/support/PrintRig.h"
#include "ui/printing/PrintProgress.h"
#include "ui/printing/PrintQueue.h"
#include "ui/session/SendSession.h"
#include "ui/session/TextFile.h"
#include "ui/widgets/OemMemo.h"
#include "ui/window/Unit1.h"

namespace {

namespace rig = pl4120::rig;

constexpr std::size_t kSlowBytes = std::size_t{2} * 1000 * 1000;
constexpr std::size_t kSinkBytesPerSecond = 100 * 1000;

// Lines of code page 866 text, as an editor holds them.
std::string Text(std::size_t size) {
  const std::string line =
      "\x8F\xE0\xA8\xA2\xA5\xE2, \xAC\xA8\xE0! " + std::string(60, 'a') + "\r\n";
  std::string text;
  while (text.size() < size) {
    text += line;
  }
  text.resize(size);
  return text;
}

// Notes when the window shows a message box and answers it from the box's own loop.
class BoxWatch : public QObject {
 public:
  BoxWatch() { qApp->installEventFilter(this); }
  ~BoxWatch() override { qApp->removeEventFilter(this); }
  qint64 shownAt = -1;  // ns on `clock`
  QString text;
  QElapsedTimer clock;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* box = qobject_cast<QMessageBox*>(watched)) {
        if (shownAt < 0) {
          shownAt = clock.nsecsElapsed();
          text = box->text();
        }
        QTimer::singleShot(0, box, [box] { box->accept(); });
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

struct Window {
  QTemporaryDir dir;
  std::unique_ptr<TPL4120_1> window = std::make_unique<TPL4120_1>();
  Window() { window->show(); }
  std::string Path(const char* name) const {
    return dir.filePath(QString::fromLatin1(name)).toStdString();
  }
};

double Percentile(std::vector<double> values, double p) {
  if (values.empty()) {
    return 0;
  }
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1));
  return values[at];
}

void TimerWhileSlowPrint(benchmark::State& state) {
  for (auto _ : state) {
    Window w;
    const std::string fifo = w.Path("printer");
    mkfifo(fifo.c_str(), 0600);
    rig::FifoSink reader(fifo, {.bytesPerSecond = kSinkBytesPerSecond});
    w.window->findChild<TOemMemo*>(QStringLiteral("mmText"))->setBytes(Text(kSlowBytes));
    w.window->findChild<QCheckBox*>(QStringLiteral("cbNxPage"))->setChecked(false);
    w.window->findChild<QLineEdit*>(QStringLiteral("PrnName"))
        ->setText(QString::fromStdString(fifo));

    std::vector<double> lateMs;
    QElapsedTimer clock;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(10);
    qint64 last = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      lateMs.push_back(std::max(0.0, static_cast<double>(now - last) / 1e6 - 10.0));
      last = now;
    });
    clock.start();
    timer.start();
    w.window->btPrinTxClick();
    while (w.window->Sending().PrintBusy()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    timer.stop();
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (reader.total() < kSlowBytes) {
      reader.WaitForBytes(kSlowBytes, std::chrono::seconds(5));
    }
    if (reader.total() != kSlowBytes) {
      state.SkipWithError("the printer did not get every byte");
      break;
    }
    state.counters["send_s"] = seconds;
    state.counters["ticks"] = static_cast<double>(lateMs.size());
    state.counters["late_max_ms"] = *std::max_element(lateMs.begin(), lateMs.end());
    state.counters["late_p99_ms"] = Percentile(lateMs, 0.99);
    state.counters["late_median_ms"] = Percentile(lateMs, 0.5);
    state.counters["late_over_20ms"] = static_cast<double>(
        std::count_if(lateMs.begin(), lateMs.end(), [](double ms) { return ms >= 20; }));
  }
}

// The window prints a 4 MB text to a destination that takes nothing more: a FIFO and a TCP
// printer that stopped reading, an IPP printer that hangs. Once the sent count has stood still
// for 300 ms, "Отмена" is clicked.
enum class Stop { Fifo, Tcp, IppHung };

void CancelFromTheWindow(benchmark::State& state, Stop kind) {
  std::vector<double> ms;
  const std::string text = Text(std::size_t{4} << 20);
  for (auto _ : state) {
    Window w;
    std::unique_ptr<rig::FifoSink> fifo;
    std::unique_ptr<rig::TcpSink> tcp;
    std::unique_ptr<rig::IppEvePrinter> ipp;
    std::string name;
    switch (kind) {
      case Stop::Fifo:
        name = w.Path("printer");
        mkfifo(name.c_str(), 0600);
        fifo = std::make_unique<rig::FifoSink>(name, rig::SinkBehaviour{.stopReadingAfter = 0});
        break;
      case Stop::Tcp:
        tcp = std::make_unique<rig::TcpSink>(
            rig::SinkBehaviour{.stopReadingAfter = 0, .receiveBuffer = 64 * 1024});
        name = tcp->uri();
        break;
      case Stop::IppHung:
        ipp = std::make_unique<rig::IppEvePrinter>();
        if (const std::string problem = ipp->Start(); !problem.empty()) {
          state.SkipWithError(problem.c_str());
          return;
        }
        ipp->Freeze();
        name = ipp->uri();
        break;
    }
    w.window->findChild<TOemMemo*>(QStringLiteral("mmText"))->setBytes(text);
    w.window->findChild<QLineEdit*>(QStringLiteral("PrnName"))
        ->setText(QString::fromStdString(name));
    quint64 lastSent = 0;
    QElapsedTimer still;
    QObject::connect(&w.window->Sending().Queue(), &TPrintQueue::jobProgress,
                     [&](quint64, quint64 sent, quint64, bool) {
                       if (sent != lastSent) {
                         lastSent = sent;
                         still.restart();
                       }
                     });
    QElapsedTimer wait;
    wait.start();
    still.start();
    w.window->btPrinTxClick();
    while (still.elapsed() < 300 && wait.elapsed() < 20000) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    if (!w.window->Sending().Queue().Busy()) {
      state.SkipWithError("the job ended before the cancel");
      break;
    }
    BoxWatch box;
    box.clock.start();
    w.window->findChild<TPrintProgress*>(QStringLiteral("PrintProgress"))->btCancPr->click();
    while (w.window->Sending().PrintBusy()) {
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();
    ms.push_back(static_cast<double>(box.shownAt) / 1e6);
    if (ipp) {
      ipp->Thaw();
    }
  }
  if (!ms.empty()) {
    state.counters["cancel_max_ms"] = *std::max_element(ms.begin(), ms.end());
    state.counters["cancel_median_ms"] = Percentile(ms, 0.5);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  TApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RegisterBenchmark("WindowTimer/2MB_at_100KBps", TimerWhileSlowPrint)
      ->Iterations(1)
      ->Unit(benchmark::kSecond);
  benchmark::RegisterBenchmark("CancelFromWindow/fifo_stopped", CancelFromTheWindow, Stop::Fifo)
      ->Iterations(5)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("CancelFromWindow/tcp_stopped", CancelFromTheWindow, Stop::Tcp)
      ->Iterations(5)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("CancelFromWindow/ipp_hung", CancelFromTheWindow, Stop::IppHung)
      ->Iterations(5)
      ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return EXIT_SUCCESS;
}
