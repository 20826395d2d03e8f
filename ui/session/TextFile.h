#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <string_view>

namespace pl4120 {
class PosixFileSource;
}

/// Where a read puts its text: the editor of the window, or a plain string in the tests.
class TTextTarget {
 public:
  virtual ~TTextTarget() = default;

  virtual bool IsEmpty() const = 0;
  /// True when the text ends with a line end.
  virtual bool EndsWithLineEnd() const = 0;
  /// A measure of the text's length that changes whenever text is added.
  virtual qint64 Size() const = 0;
  /// Begins the one edit that a read makes; with `replace` the old text goes in it.
  virtual void BeginFill(bool replace) = 0;
  /// Adds a piece of lines (each ended by CR LF, the first perhaps continuing the last line).
  virtual void Append(std::string_view piece) = 0;
  /// Ends the edit; called on every way out of a read.
  virtual void EndFill() = 0;
};

/// Reads `source` to its end into `target` by the line rules of the text reader, as one edit:
/// the pieces go in while the file is read, so that the whole file is never held beside the
/// target. A read failure keeps the lines before it and then propagates (EInOutError).
void ReadInto(pl4120::PosixFileSource& source, TTextTarget& target, bool replace);

/// The text file of the text page: which file the text belongs to and whether it was edited
/// since it was read or saved. Reading and saving go through here, so that the name and the
/// edited flag follow the same rules whoever reads or saves. It touches no widget: the window
/// shows the name and keeps the editor's modified flag in step through the signals.
class TTextFile : public QObject {
  Q_OBJECT

 public:
  explicit TTextFile(QObject* parent = nullptr) : QObject(parent) {}

  /// The file's platform name; empty while the text belongs to no file.
  const std::string& Name() const { return name_; }
  /// The name as the user sees it.
  QString DisplayName() const;
  /// Makes `path` the text's file without reading or writing it.
  void SetName(const std::string& path) { name_ = path; }

  bool Edited() const { return edited_; }
  void SetEdited(bool edited);

  /// "Чтение текста" (`replace`) and "Подгрузка текста": reads the file `path` into `target`.
  /// False, with nothing changed, when no file of that name exists. A file that cannot be
  /// opened changes nothing and throws; a read that fails halfway keeps what it read, leaves
  /// the name as it was and throws. A text that is one file alone counts as unedited (it can
  /// be read again), as does a part of one; a merge onto other text makes a text that no file
  /// holds, which counts as edited.
  bool Read(const std::string& path, bool replace, TTextTarget& target);

  /// Writes `bytes` to the file `path` in one step. On success the file becomes the text's file
  /// and the text counts as unedited; the reason of a failure (Russian, without a final period)
  /// otherwise, with nothing changed.
  QString SaveTo(const std::string& path, std::string_view bytes);

 signals:
  /// A read or a save named the text's file (also when it is the same file as before).
  void fileNamed(const QString& displayName);
  void editedChanged(bool edited);

 private:
  std::string name_;
  bool edited_ = false;
};

/// The name as the user sees a platform file name.
QString DisplayFileName(const std::string& path);
