// One mouse-move update of the read-outs (line and page counts, caret column and row) on a
// 100 MB text, with nothing selected and with the whole text selected, against the same
// update on an empty editor, in one run. The update runs on every mouse move over the
// editor, so its cost must not grow with the text.

#include <benchmark/benchmark.h>

#include <QLineEdit>
#include <QTextCursor>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/Application.h"
#include "ui/widgets/OemMemo.h"
#include "ui/window/Unit1.h"

namespace {

constexpr std::size_t kLineBytes = 100;  // 98 visible bytes and CR LF
constexpr std::size_t kTextBytes = std::size_t{100} * 1000 * 1000;

std::string BigText() {
  std::string line(kLineBytes - 2, 'x');
  line += "\r\n";
  std::string text;
  text.reserve(kTextBytes);
  while (text.size() + kLineBytes <= kTextBytes)
    text += line;
  return text;
}

void MouseMoveUpdate(benchmark::State& state, TPL4120_1* window) {
  for (auto _ : state)
    window->mmTextMouseMove(nullptr);
  state.counters["lines"] =
      benchmark::Counter(window->findChild<QLineEdit*>(QStringLiteral("edLnTx"))->text().toDouble(),
                         benchmark::Counter::kDefaults);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);

  auto empty = std::make_unique<TPL4120_1>();
  auto plain = std::make_unique<TPL4120_1>();
  auto selected = std::make_unique<TPL4120_1>();
  {
    const std::string text = BigText();
    for (TPL4120_1* w : {plain.get(), selected.get()})
      w->findChild<TOemMemo*>(QStringLiteral("mmText"))->setBytes(text);
  }
  // The caret at the end: the line lookup goes as far as it can.
  plain->findChild<TOemMemo*>(QStringLiteral("mmText"))->moveCursor(QTextCursor::End);
  selected->findChild<TOemMemo*>(QStringLiteral("mmText"))->selectAll();

  benchmark::RegisterBenchmark("MouseMoveUpdate/empty", MouseMoveUpdate, empty.get());
  benchmark::RegisterBenchmark("MouseMoveUpdate/100MB_nothing_selected", MouseMoveUpdate,
                               plain.get());
  benchmark::RegisterBenchmark("MouseMoveUpdate/100MB_all_selected", MouseMoveUpdate,
                               selected.get());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return EXIT_SUCCESS;
}
