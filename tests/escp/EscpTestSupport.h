#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "escp/Interpreter.h"

namespace pl4120::escp::test {

/// A page's runs as text, one "x,y:advance flags'bytes'" a run, separated by blanks; x is
/// counted from the printer's left-most print position. Flags: l 12 cpi, c condensed,
/// w double width, e emphasised, d double strike, i italic, u underline. `bytes` are those
/// that were interpreted.
inline std::string Describe(const Page& page, const Paper& paper, std::string_view bytes) {
  std::string out;
  for (const Run& run : page.runs) {
    if (!out.empty()) {
      out += ' ';
    }
    out += std::to_string(run.x - paper.left) + ',' + std::to_string(run.y) + ':' +
           std::to_string(run.advance);
    const std::pair<std::uint16_t, char> letters[] = {
        {kElite, 'l'},        {kCondensed, 'c'}, {kDoubleWidth, 'w'}, {kEmphasized, 'e'},
        {kDoubleStrike, 'd'}, {kItalic, 'i'},    {kUnderline, 'u'}};
    for (const auto& [flag, letter] : letters) {
      if (run.flags & flag) {
        out += letter;
      }
    }
    out += '\'';
    out += run.Bytes(bytes);
    out += '\'';
  }
  return out;
}

/// The pages of the bytes, each described; pages apart by " / ".
inline std::string DescribeAll(std::string_view bytes, const Paper& paper) {
  std::string out;
  for (const Page& page : Interpret(bytes, paper)) {
    if (!out.empty()) {
      out += " / ";
    }
    out += Describe(page, paper, bytes);
  }
  return out;
}

inline const char* EndName(PageEnd end) {
  switch (end) {
    case PageEnd::FormFeed:
      return "FF";
    case PageEnd::PageLength:
      return "length";
    case PageEnd::SheetEnd:
      return "sheet";
    case PageEnd::End:
      return "end";
  }
  return "?";
}

/// Checks that the index of the bytes gives the same pages as the full layout.
inline void ExpectIndexAgrees(std::string_view bytes, const Paper& paper) {
  const std::vector<Page> pages = Interpret(bytes, paper);
  const PageIndex index = IndexPages(bytes, paper);
  ASSERT_EQ(index.pages.size(), pages.size());
  for (std::size_t i = 0; i < pages.size(); ++i) {
    SCOPED_TRACE("page " + std::to_string(i + 1));
    const Page laidOut = LayoutPage(bytes, index, i);
    EXPECT_EQ(index.pages[i].end, pages[i].end);
    EXPECT_EQ(laidOut.end, pages[i].end);
    EXPECT_EQ(Describe(laidOut, paper, bytes), Describe(pages[i], paper, bytes));
    EXPECT_TRUE(laidOut == pages[i]);
  }
}

}  // namespace pl4120::escp::test
