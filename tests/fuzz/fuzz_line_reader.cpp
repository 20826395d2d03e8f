// The line reader against a plain model of the line rules: any bytes, read in blocks of any size
// from a source that may hand out fewer bytes than asked for and may fail part-way.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fuzz/FuzzCheck.h"
#include "tests/text/TextTestSupport.h"
#include "text/Errors.h"
#include "text/LineReader.h"

namespace {

using pl4120::fuzz::Check;

struct ModelResult {
  std::vector<std::string> lines;
  std::optional<std::size_t> ctrlZAt;  // the 1A that ended the text, if one did
};

// The line rules, byte by byte: a CR is dropped wherever it stands (before an LF that is the
// same as taking CR LF as the line end), an LF ends the line, a 1A as the first byte of a line
// ends the text. `whole`: the bytes are the whole file, so a last line without a line end
// counts; otherwise a failure followed them and that line is lost.
ModelResult Model(std::string_view bytes, bool whole) {
  ModelResult result;
  std::string line;
  bool atLineStart = true;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (atLineStart && c == '\x1a') {
      result.ctrlZAt = i;
      return result;
    }
    atLineStart = false;
    if (c == '\n') {
      result.lines.push_back(line);
      line.clear();
      atLineStart = true;
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!atLineStart && whole) {
    result.lines.push_back(line);
  }
  return result;
}

// Hands out the bytes at most `chunk` at a time and fails with `err` once `failAt` bytes are
// out; records what the reader asked for.
class ScriptedSource : public pl4120::ByteSource {
 public:
  ScriptedSource(std::string_view bytes, std::size_t block, std::size_t chunk,
                 std::optional<std::size_t> failAt, int err)
      : bytes_(bytes), block_(block), chunk_(chunk), failAt_(failAt), err_(err) {}

  std::size_t Read(char* buffer, std::size_t size) override {
    Check(size == block_, "the reader asks for blocks of the size it was given");
    Check(!ended_, "no read after the source reported its end");
    if (failAt_ && pos_ >= *failAt_) {
      throw pl4120::InOutErrorFromErrno(err_);
    }
    const std::size_t limit = failAt_ ? *failAt_ : bytes_.size();
    const std::size_t n = std::min({size, chunk_, limit - pos_});
    std::copy_n(bytes_.data() + pos_, n, buffer);
    if (n > 0) {
      lastBegin_ = pos_;
    }
    pos_ += n;
    ended_ = n == 0;
    return n;
  }

  // The range of the last non-empty read.
  std::size_t lastBegin() const { return lastBegin_; }
  std::size_t pos() const { return pos_; }

 private:
  std::string_view bytes_;
  std::size_t block_;
  std::size_t chunk_;
  std::optional<std::size_t> failAt_;
  int err_;
  std::size_t pos_ = 0;
  std::size_t lastBegin_ = 0;
  bool ended_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::size_t block = input.ConsumeBool() ? pl4120::kDefaultReadBlock
                                                : input.ConsumeIntegralInRange<std::size_t>(0, 300);
  const auto chunk = input.ConsumeIntegralInRange<std::size_t>(1, 400);
  const bool fails = input.ConsumeBool();
  const auto failRaw = input.ConsumeIntegral<std::uint16_t>();
  const int err = input.PickValueInArray({EIO, ENOENT, EACCES, ENOSPC, EXDEV});
  const std::string prefix = input.PickValueInArray({"", "xyz", "xyz\r\n"});
  const std::string bytes = input.ConsumeRemainingBytesAsString();
  const std::optional<std::size_t> failAt =
      fails ? std::optional<std::size_t>(failRaw % (bytes.size() + 1)) : std::nullopt;

  ScriptedSource source(bytes, std::max<std::size_t>(block, 1), chunk, failAt, err);
  std::vector<std::string> lines;
  std::optional<int> errorCode;
  try {
    pl4120::ReadLines(
        source,
        [&lines](std::string_view line) {
          Check(line.find_first_of("\r\n") == std::string_view::npos, "a line holds no CR or LF");
          lines.emplace_back(line);
        },
        block);
  } catch (const pl4120::EInOutError& e) {
    errorCode = e.ErrorCode();
  }

  const std::string_view seen = std::string_view(bytes).substr(0, failAt.value_or(bytes.size()));
  const ModelResult model = Model(seen, !failAt);
  Check(lines == model.lines, "the lines follow the line rules");
  if (model.ctrlZAt) {
    Check(!errorCode, "a 1A at a line start ends the reading before any failure");
    Check(source.lastBegin() <= *model.ctrlZAt && *model.ctrlZAt < source.pos(),
          "nothing after the block holding the ending 1A is read");
  } else if (failAt) {
    Check(errorCode == pl4120::InOutErrorFromErrno(err).ErrorCode(),
          "a failing read reaches the caller with its error");
  } else {
    Check(!errorCode, "a source without failure reads to the end");
  }

  // The append piece, built in parts the way the window hands it over, gives the text that
  // appending the lines one by one gives.
  const bool open = !prefix.empty() && !prefix.ends_with("\r\n");
  pl4120::AppendPieceBuilder builder(open);
  std::string text = prefix;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    builder.Add(lines[i]);
    if (i % 3 == 2) {
      text += builder.Piece();
      builder.Clear();
    }
  }
  text += builder.Piece();
  Check(text == pl4120::AppendOneByOne(prefix, lines), "the append piece follows the append rule");
  return 0;
}
