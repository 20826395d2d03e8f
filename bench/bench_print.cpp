// "Распечатка текста" of a 10 MB text to a file, from the click to the end of its job, side by
// side with what the toolkit needs at the least for the same job: the document's toPlainText()
// and one write() of as many bytes to the same file.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/Application.h"
#include "ui/session/SendSession.h"
#include "ui/session/TextFile.h"
#include "ui/widgets/OemMemo.h"
#include "ui/window/Unit1.h"

namespace {

constexpr std::size_t kTextBytes = std::size_t{10} * 1000 * 1000;

std::string TenMegabytes() {
  // Lines of mixed width with Cyrillic (code page 866) letters in them.
  const std::string lines[] = {std::string(60, 'a') + "\r\n",
                               std::string(40, '\xAE') + " \x8F\xE0\xA8\xA2\xA5\xE2\r\n",
                               std::string(118, '-') + "\r\n", "\r\n"};
  std::string text;
  text.reserve(kTextBytes);
  for (std::size_t i = 0; text.size() < kTextBytes; ++i)
    text += lines[i % 4];
  text.resize(kTextBytes);
  return text;
}

void PrintText(benchmark::State& state, TPL4120_1* window, std::size_t bytes) {
  for (auto _ : state) {
    window->btPrinTxClick();
    // The job goes out on the print queue's thread; the print ends when the button is back.
    while (window->Sending().PrintBusy())
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void ToPlainTextAndWrite(benchmark::State& state, TPL4120_1* window, const std::string& path,
                         const std::string& payload) {
  for (auto _ : state) {
    QString text = window->findChild<TOemMemo*>(QStringLiteral("mmText"))->toPlainText();
    benchmark::DoNotOptimize(text.data());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const ssize_t written = ::write(fd, payload.data(), payload.size());
    benchmark::DoNotOptimize(written);
    ::close(fd);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * payload.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);

  QTemporaryDir dir;
  if (!dir.isValid())
    return EXIT_FAILURE;
  const QString device = dir.filePath(QStringLiteral("printer.out"));

  auto window = std::make_unique<TPL4120_1>();
  window->findChild<TOemMemo*>(QStringLiteral("mmText"))->setBytes(TenMegabytes());
  window->findChild<QLineEdit*>(QStringLiteral("PrnName"))->setText(device);
  window->findChild<QCheckBox*>(QStringLiteral("cbNxPage"))->setChecked(true);
  // The same number of bytes as the print sends: the text and its form feed.
  const std::string payload =
      window->findChild<TOemMemo*>(QStringLiteral("mmText"))->bytes() + '\x0C';

  benchmark::RegisterBenchmark("PrintText/10MB", PrintText, window.get(), payload.size());
  benchmark::RegisterBenchmark("ToPlainTextAndWrite/10MB", ToPlainTextAndWrite, window.get(),
                               device.toStdString(), payload);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return EXIT_SUCCESS;
}
