#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "text/Errors.h"

namespace pl4120 {

/// Where the reader takes its bytes from: a file, or anything else that hands out bytes in
/// blocks. Read failures are raised as EInOutError.
class ByteSource {
 public:
  virtual ~ByteSource() = default;

  /// Reads up to `size` bytes into `buffer`. Returns the number read; 0 means the end.
  /// Throws EInOutError when the system reports an error.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

/// A file opened for reading through the POSIX calls. The constructor opens it and throws
/// EInOutError when the open fails; the destructor closes it quietly, Close() closes it and
/// reports a failing close.
class PosixFileSource : public ByteSource {
 public:
  /// Opens `path` (the platform's file name bytes) for reading only.
  explicit PosixFileSource(const std::string& path);
  ~PosixFileSource() override;
  PosixFileSource(const PosixFileSource&) = delete;
  PosixFileSource& operator=(const PosixFileSource&) = delete;

  /// A broken pipe counts as the end of the file; an interrupted read is repeated.
  std::size_t Read(char* buffer, std::size_t size) override;

  /// Closes the file; throws EInOutError when the system reports a failure. Idempotent.
  void Close();

 private:
  int fd_ = -1;
};

/// Default size of the blocks in which the reader takes bytes from its source.
inline constexpr std::size_t kDefaultReadBlock = 64 * 1024;

/// Receives each line as it is read. The view is valid only during the call; it never
/// contains CR or LF.
using LineSink = std::function<void(std::string_view line)>;

/// Splits the bytes of `source` into lines and hands each to `sink`, in order:
/// - LF and CR LF end a line; the line end is not part of the line;
/// - a CR not followed by LF is dropped (CR CR LF is one line end);
/// - a byte 26 (Ctrl-Z) as the first byte of a line ends the reading; that byte and
///   everything after it are ignored; elsewhere in a line it is an ordinary byte;
/// - a last line without a line end counts; a line end as the last bytes gives no extra line;
/// - lines have no length limit, and every other byte (00 included) stays in the line.
/// The lines do not depend on `blockSize` (at least 1). A read failure propagates as
/// EInOutError; the lines handed out before it stay handed out, the partial line is lost.
void ReadLines(ByteSource& source, const LineSink& sink, std::size_t blockSize = kDefaultReadBlock);

/// Builds the piece of text that appends lines to the editor's text, by the append rule for
/// each line L: if the text so far is empty or ends with CR LF, L then CR LF; otherwise CR LF
/// then L. Appending the finished piece in one insertion gives the text that appending the
/// lines one by one would give.
class AppendPieceBuilder {
 public:
  /// `textEndsOpen`: the editor's text is not empty and does not end with a line end.
  explicit AppendPieceBuilder(bool textEndsOpen) : open_(textEndsOpen) {}

  /// Reserves room for about `bytes` bytes of piece.
  void Reserve(std::size_t bytes) { piece_.reserve(bytes); }
  /// Appends one line (without line end) by the append rule.
  void Add(std::string_view line);
  /// The piece so far.
  const std::string& Piece() const& { return piece_; }
  /// Empties the piece (after it went into the editor); the text it ends stays as it was.
  void Clear() { piece_.clear(); }

 private:
  std::string piece_;
  bool open_;
};

}  // namespace pl4120
