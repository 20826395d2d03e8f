#include "ui/session/TextFile.h"

#include <QFile>
#include <exception>

#include "text/FileNames.h"
#include "text/LineReader.h"
#include "text/ReplaceFile.h"

namespace {

// Pieces of about this size go into the target as the file is read, so that neither the whole
// file nor its whole piece is held beside the target's own copy.
constexpr std::size_t kPieceChunk = 8 << 20;

}  // namespace

void ReadInto(pl4120::PosixFileSource& source, TTextTarget& target, bool replace) {
  const bool endsOpen = !replace && !target.IsEmpty() && !target.EndsWithLineEnd();
  std::exception_ptr failure;
  target.BeginFill(replace);
  try {
    pl4120::AppendPieceBuilder builder(endsOpen);
    builder.Reserve(kPieceChunk + 64 * 1024);
    try {
      pl4120::ReadLines(source, [&](std::string_view line) {
        builder.Add(line);
        if (builder.Piece().size() >= kPieceChunk) {
          target.Append(builder.Piece());
          builder.Clear();
        }
      });
      source.Close();
    } catch (const pl4120::EInOutError&) {
      failure = std::current_exception();
    }
    if (!builder.Piece().empty()) {
      target.Append(builder.Piece());
    }
  } catch (...) {
    target.EndFill();
    throw;
  }
  target.EndFill();
  if (failure) {
    std::rethrow_exception(failure);
  }
}

QString DisplayFileName(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

QString TTextFile::DisplayName() const {
  return DisplayFileName(name_);
}

void TTextFile::SetEdited(bool edited) {
  if (edited_ != edited) {
    edited_ = edited;
    emit editedChanged(edited_);
  }
}

bool TTextFile::Read(const std::string& path, bool replace, TTextTarget& target) {
  if (!pl4120::IsExistingFile(path)) {
    return false;
  }
  // Opened before anything changes: a file that cannot be opened leaves the text, the name
  // and the flag as they were.
  pl4120::PosixFileSource source(path);
  const bool wasEmpty = target.IsEmpty();
  const bool wasEdited = edited_;
  const qint64 sizeBefore = target.Size();
  auto settle = [&] {
    SetEdited(!replace && !wasEmpty && (wasEdited || target.Size() != sizeBefore));
  };
  try {
    ReadInto(source, target, replace);
  } catch (...) {
    // The name stays the file the user sees, and "Save Text" keeps writing to that one, not to
    // a file whose name the user does not see.
    settle();
    throw;
  }
  settle();
  name_ = path;
  emit fileNamed(DisplayName());
  return true;
}

QString TTextFile::SaveTo(const std::string& path, std::string_view bytes) {
  const QString reason = QString::fromStdString(pl4120::ReplaceFile(path, bytes));
  if (!reason.isEmpty()) {
    return reason;
  }
  name_ = path;
  SetEdited(false);
  emit fileNamed(DisplayName());
  return {};
}
