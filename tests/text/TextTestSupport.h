#pragma once

// Helpers that the tests of the text reader share; the program itself has no use for them.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "text/LineReader.h"

namespace pl4120 {

/// The lines of `source` as a list.
inline std::vector<std::string> ReadAllLines(ByteSource& source,
                                             std::size_t blockSize = kDefaultReadBlock) {
  std::vector<std::string> lines;
  ReadLines(
      source, [&lines](std::string_view line) { lines.emplace_back(line); }, blockSize);
  return lines;
}

/// The piece that appends `lines` to an editor text in one go (see AppendPieceBuilder).
inline std::string BuildAppendPiece(const std::vector<std::string>& lines, bool textEndsOpen) {
  AppendPieceBuilder builder(textEndsOpen);
  for (const std::string& line : lines) {
    builder.Add(line);
  }
  return builder.Piece();
}

/// The append rule applied to a whole text one line after another: if the text is empty or
/// ends with CR LF, the line then CR LF; otherwise CR LF then the line.
inline std::string AppendOneByOne(std::string text, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (text.empty() || text.ends_with("\r\n")) {
      text += line + "\r\n";
    } else {
      text += "\r\n" + line;
    }
  }
  return text;
}

/// A fresh folder under /tmp, removed with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir() {
    char pattern[] = "/tmp/pl4120-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      throw std::runtime_error("cannot create a folder under /tmp");
    }
    path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::string& path() const { return path_; }

  /// Writes `bytes` to the file `name` in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
  }

 private:
  std::string path_;
};

}  // namespace pl4120
