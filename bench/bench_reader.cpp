// The text reader alone against a plain read() + memchr line split of the same file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>

#include "text/LineReader.h"

namespace {

constexpr std::size_t kFileBytes = 100u * 1000 * 1000;
constexpr std::size_t kLineBytes = 60;  // 58 characters and CR LF

// A 100 MB text of 60-byte lines, written once per run and removed at exit.
const std::string& TextFile() {
  static const std::string path = [] {
    char name[] = "/tmp/pl4120-bench-reader-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) {
      std::perror("mkstemp");
      std::exit(1);
    }
    close(fd);
    std::string line;
    std::string text;
    text.reserve(kFileBytes);
    for (std::size_t i = 0; text.size() < kFileBytes; ++i) {
      line.assign(kLineBytes - 2, static_cast<char>('a' + i % 26));
      std::memcpy(line.data(), std::to_string(i).c_str(), std::to_string(i).size());
      text += line;
      text += "\r\n";
    }
    std::ofstream(name, std::ios::binary) << text;
    std::atexit([] { std::remove(TextFile().c_str()); });
    return std::string(name);
  }();
  return path;
}

void BM_LineReader(benchmark::State& state) {
  const std::string& path = TextFile();
  for (auto _ : state) {
    pl4120::PosixFileSource source(path);
    std::size_t lines = 0;
    std::size_t bytes = 0;
    pl4120::ReadLines(source, [&](std::string_view line) {
      ++lines;
      bytes += line.size();
    });
    benchmark::DoNotOptimize(lines);
    benchmark::DoNotOptimize(bytes);
    state.counters["lines"] = static_cast<double>(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

// The floor: read() in blocks of the same size, memchr for LF, the length of each line.
void BM_ReadMemchr(benchmark::State& state) {
  const std::string& path = TextFile();
  std::string block(pl4120::kDefaultReadBlock, '\0');
  for (auto _ : state) {
    const int fd = open(path.c_str(), O_RDONLY);
    std::size_t lines = 0;
    std::size_t bytes = 0;
    std::size_t carried = 0;
    for (;;) {
      const ssize_t got = read(fd, block.data(), block.size());
      if (got <= 0) {
        break;
      }
      const char* p = block.data();
      const char* const end = p + got;
      while (const auto* nl = static_cast<const char*>(std::memchr(p, '\n', end - p))) {
        ++lines;
        bytes += carried + static_cast<std::size_t>(nl - p);
        carried = 0;
        p = nl + 1;
      }
      carried += static_cast<std::size_t>(end - p);
    }
    close(fd);
    benchmark::DoNotOptimize(lines);
    benchmark::DoNotOptimize(bytes);
    state.counters["lines"] = static_cast<double>(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

// The reader building the editor's append piece, as the window does.
void BM_LineReaderIntoPiece(benchmark::State& state) {
  const std::string& path = TextFile();
  for (auto _ : state) {
    pl4120::PosixFileSource source(path);
    pl4120::AppendPieceBuilder builder(false);
    pl4120::ReadLines(source, [&builder](std::string_view line) { builder.Add(line); });
    benchmark::DoNotOptimize(builder.Piece().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

BENCHMARK(BM_ReadMemchr)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LineReader)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LineReaderIntoPiece)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
