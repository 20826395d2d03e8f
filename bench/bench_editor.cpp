// The editor's byte view on large texts: loading, reading back, appending and the caret queries
// must stay linear (or logarithmic) in the size of the text.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <string>

#include "ui/widgets/OemMemo.h"

namespace {

// Lines of 79 bytes of every printable kind, CR LF ended: about 81 bytes a line.
std::string MakeText(std::size_t bytes) {
  std::string line;
  for (int i = 0; i < 79; ++i)
    line.push_back(static_cast<char>(0x20 + (i * 7) % 0xDF));
  line += "\r\n";
  std::string text;
  text.reserve(bytes + line.size());
  while (text.size() < bytes)
    text += line;
  return text;
}

void BM_SetBytes(benchmark::State& state) {
  const std::string text = MakeText(static_cast<std::size_t>(state.range(0)));
  TOemMemo memo;
  for (auto _ : state)
    memo.setBytes(text);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_Bytes(benchmark::State& state) {
  const std::string text = MakeText(static_cast<std::size_t>(state.range(0)));
  TOemMemo memo;
  memo.setBytes(text);
  for (auto _ : state)
    benchmark::DoNotOptimize(memo.bytes());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_AppendBytes(benchmark::State& state) {
  const std::string text = MakeText(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    TOemMemo memo;
    state.ResumeTiming();
    memo.appendBytes(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_CaretQueries(benchmark::State& state) {
  const std::string text = MakeText(static_cast<std::size_t>(state.range(0)));
  TOemMemo memo;
  memo.setBytes(text);
  QTextCursor cursor = memo.textCursor();
  cursor.setPosition(memo.document()->characterCount() / 2);
  memo.setTextCursor(cursor);
  // What the caret read-outs ask on every mouse move: the caret's line and the selection.
  for (auto _ : state) {
    const QTextBlock line = memo.document()->findBlock(memo.textCursor().selectionStart());
    benchmark::DoNotOptimize(line.blockNumber() + memo.selLength());
  }
}

BENCHMARK(BM_SetBytes)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Bytes)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AppendBytes)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CaretQueries)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
