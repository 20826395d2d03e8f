// The ESC/P interpreter over 10 MB of typical text (60-byte lines with a few style codes each),
// side by side with a plain memchr scan of the same bytes for CR, LF and FF; and the index pass
// with the layout of one page from it, which is what the preview needs for its first sheet.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "escp/Interpreter.h"
#include "printer/InitSequence.h"
#include "printer/PrinterSettings.h"

namespace {

constexpr std::size_t kTextBytes = std::size_t{10} * 1000 * 1000;

// A line of 60 bytes: a double border around the content, padded with blanks, and CR LF.
std::string Line(const std::string& content) {
  std::string line = "\xBA " + content;
  line.resize(57, ' ');
  return line + "\xBA\r\n";
}

// The defaults' initialisation, then lines of 60 bytes: Latin and Cyrillic (code page 866)
// words with emphasised, underlined, italic and double-struck words between box-drawing
// borders, and a form feed after every 500 lines.
const std::string& TenMegabytes() {
  static const std::string text = [] {
    const std::string lines[] = {
        Line("\x1B"
             "E\x8F\xE0\xA8\xA2\xA5\xE2\x1B"
             "F, \xAC\xA8\xE0! Plain text, 0123"),
        Line("\x1B-1underlined\x1B-0 and \x1B"
             "4italic\x1B"
             "5 words in it"),
        "\xC7" + std::string(57, '\xC4') + "\xB6\r\n",
        Line("\x1BGdouble\x1BH \xE2\xA5\xAA\xE1\xE2 \xA2 \xAA\xAE\xA4\xA8\xE0\xAE\xA2\xAA\xA5 866"),
    };
    std::string t = pl4120::BuildInitSequence(pl4120::PrinterSettings{});
    t.reserve(kTextBytes);
    for (std::size_t i = 0; t.size() < kTextBytes; ++i) {
      t += lines[i % 4];
      if (i % 500 == 499) {
        t += '\f';
      }
    }
    t.resize(kTextBytes);
    return t;
  }();
  return text;
}

void SetBytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// The least any reader of the bytes does: find every CR, LF and FF, with memchr.
void BM_MemchrScanForLineEnds(benchmark::State& state) {
  const std::string& text = TenMegabytes();
  for (auto _ : state) {
    std::size_t found = 0;
    for (const char c : {'\r', '\n', '\f'}) {
      const char* p = text.data();
      const char* const end = p + text.size();
      while ((p = static_cast<const char*>(std::memchr(p, c, static_cast<std::size_t>(end - p)))) !=
             nullptr) {
        ++found;
        ++p;
      }
    }
    benchmark::DoNotOptimize(found);
  }
  SetBytes(state, TenMegabytes().size());
}

void BM_Interpret(benchmark::State& state) {
  const std::string& text = TenMegabytes();
  for (auto _ : state) {
    std::vector<pl4120::escp::Page> pages = pl4120::escp::Interpret(text);
    benchmark::DoNotOptimize(pages.data());
  }
  SetBytes(state, text.size());
}

void BM_IndexPages(benchmark::State& state) {
  const std::string& text = TenMegabytes();
  std::size_t pages = 0;
  for (auto _ : state) {
    pl4120::escp::PageIndex index = pl4120::escp::IndexPages(text);
    pages = index.pages.size();
    benchmark::DoNotOptimize(index.pages.data());
  }
  SetBytes(state, text.size());
  state.counters["pages"] = static_cast<double>(pages);
}

// The preview's first sheet: the index of the whole text, then the runs of its first page.
void BM_IndexAndFirstPage(benchmark::State& state) {
  const std::string& text = TenMegabytes();
  for (auto _ : state) {
    const pl4120::escp::PageIndex index = pl4120::escp::IndexPages(text);
    pl4120::escp::Page page = pl4120::escp::LayoutPage(text, index, 0);
    benchmark::DoNotOptimize(page.runs.data());
  }
  SetBytes(state, text.size());
}

// One page from the index, as the preview lays out a sheet that scrolls into view.
void BM_LayoutOnePage(benchmark::State& state) {
  const std::string& text = TenMegabytes();
  const pl4120::escp::PageIndex index = pl4120::escp::IndexPages(text);
  const std::size_t middle = index.pages.size() / 2;
  for (auto _ : state) {
    pl4120::escp::Page page = pl4120::escp::LayoutPage(text, index, middle);
    benchmark::DoNotOptimize(page.runs.data());
  }
}

BENCHMARK(BM_MemchrScanForLineEnds)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Interpret)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexPages)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexAndFirstPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LayoutOnePage)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
