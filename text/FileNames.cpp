#include "text/FileNames.h"

#include <sys/stat.h>

#include <vector>

namespace pl4120 {
namespace {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
  while (!text.empty() && text.back() == ' ') {
    text.remove_suffix(1);
  }
  return text;
}

// The entries of the filter, one "description (patterns)" per description with a pattern.
std::vector<std::string> NameFilters(std::string_view filter) {
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const std::size_t bar = filter.find('|', start);
    parts.emplace_back(filter.substr(start, bar == std::string_view::npos ? bar : bar - start));
    if (bar == std::string_view::npos) {
      break;
    }
    start = bar + 1;
  }
  std::vector<std::string> entries;
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns;
    std::string_view rest = parts[i + 1];
    while (!rest.empty()) {
      const std::size_t semi = rest.find(';');
      const std::string_view pattern = TrimBlanks(rest.substr(0, semi));
      rest = semi == std::string_view::npos ? std::string_view() : rest.substr(semi + 1);
      if (pattern.empty()) {
        continue;
      }
      if (!patterns.empty()) {
        patterns += ' ';
      }
      patterns += pattern == "*.*" ? std::string_view("*") : pattern;
    }
    entries.push_back(parts[i] + " (" + patterns + ")");
  }
  return entries;
}

}  // namespace

std::string DialogFilterToNameFilter(std::string_view filter) {
  std::string joined;
  for (const std::string& entry : NameFilters(filter)) {
    if (!joined.empty()) {
      joined += ";;";
    }
    joined += entry;
  }
  return joined;
}

bool IsExistingFile(const std::string& path) {
  struct stat info {};
  return !path.empty() && path.find('\0') == std::string::npos &&
         ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace pl4120
