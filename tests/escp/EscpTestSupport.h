#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "escp/Interpreter.h"

namespace pl4120::escp::test {

/// Bytes from a notation that reads like the printer's manual: control names (NUL, BS, HT, LF,
/// VT, FF, CR, SO, SI, DC2, DC4, ESC, ...), #n for the byte of value n, 'text' for the bytes of
/// the text, and any other single character for itself: "ESC 3 #100 'ab' CR LF".
inline std::string Bytes(std::string_view notation) {
  static const std::pair<std::string_view, char> kNames[] = {
      {"NUL", '\x00'}, {"BEL", '\x07'}, {"BS", '\x08'},  {"HT", '\x09'},  {"LF", '\x0A'},
      {"VT", '\x0B'},  {"FF", '\x0C'},  {"CR", '\x0D'},  {"SO", '\x0E'},  {"SI", '\x0F'},
      {"DC1", '\x11'}, {"DC2", '\x12'}, {"DC3", '\x13'}, {"DC4", '\x14'}, {"CAN", '\x18'},
      {"SUB", '\x1A'}, {"ESC", '\x1B'}, {"DEL", '\x7F'}};
  std::string out;
  std::size_t i = 0;
  while (i < notation.size()) {
    if (notation[i] == ' ') {
      ++i;
      continue;
    }
    if (notation[i] == '\'') {
      const std::size_t close = notation.find('\'', i + 1);
      out += notation.substr(i + 1, close - i - 1);
      i = close + 1;
      continue;
    }
    const std::size_t end = std::min(notation.find(' ', i), notation.size());
    const std::string_view token = notation.substr(i, end - i);
    i = end;
    if (token.size() == 1) {
      out += token[0];
    } else if (token[0] == '#') {
      out += static_cast<char>(std::stoi(std::string(token.substr(1))));
    } else {
      bool known = false;
      for (const auto& [name, byte] : kNames) {
        if (name == token) {
          out += byte;
          known = true;
        }
      }
      EXPECT_TRUE(known) << "unknown name " << token;
    }
  }
  return out;
}

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
