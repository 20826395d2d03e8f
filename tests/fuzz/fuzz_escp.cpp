// libFuzzer target for the ESC/P interpreter. The first byte picks the paper, the rest are the
// bytes sent to the printer. Checked on every input: nothing is read past the end (the
// sanitizers), every run lies on the sheet and holds characters only, every page ends for a
// reason and only the last one because the bytes ended, and the index lays every page out as
// the full interpretation does.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "escp/Interpreter.h"

namespace {

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pl4120::escp;
  if (size == 0) {
    return 0;
  }
  const PaperKind kinds[] = {PaperKind::A4, PaperKind::Letter, PaperKind::Fanfold240x12};
  const Paper paper = Paper::Of(kinds[data[0] % 3]);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::vector<Page> pages = Interpret(bytes, paper);

  Check(!pages.empty(), "at least one page");
  Check(pages.size() <= bytes.size() + 1, "no more pages than bytes");
  for (std::size_t i = 0; i < pages.size(); ++i) {
    const Page& page = pages[i];
    const bool last = i + 1 == pages.size();
    Check(page.end == PageEnd::FormFeed || page.end == PageEnd::PageLength ||
              page.end == PageEnd::SheetEnd || page.end == PageEnd::End,
          "every page has a cause");
    Check(last || page.end != PageEnd::End, "only the last page ends with the bytes");
    Check(!last || page.end != PageEnd::End || !page.runs.empty() || pages.size() == 1,
          "no empty page at the end");
    for (const Run& run : page.runs) {
      Check(run.length > 0, "a run holds characters");
      Check(run.offset + run.length <= bytes.size(), "a run lies within the bytes");
      Check(run.x >= paper.left && run.x + run.Width() <= paper.left + paper.printableWidth,
            "a run lies within the printed width");
      Check(run.x + run.Width() <= paper.width, "a run lies on the sheet across");
      Check(run.y + kLineHeight <= paper.height, "a run lies on the sheet down");
      for (const char c : run.Bytes(bytes)) {
        const auto b = static_cast<unsigned char>(c);
        Check(b >= 0x20 && b != 0x7F, "a run holds no control byte");
      }
    }
  }

  const PageIndex index = IndexPages(bytes, paper);
  Check(index.pages.size() == pages.size(), "the index has every page");
  for (std::size_t i = 0; i < pages.size(); ++i) {
    Check(index.pages[i].end == pages[i].end, "the index knows how each page ends");
    Check(LayoutPage(bytes, index, i) == pages[i], "the index lays out each page alike");
  }
  return 0;
}
