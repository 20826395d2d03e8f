#include <QAbstractItemView>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <exception>

#include "text/FileNames.h"
#include "text/LineReader.h"
#include "ui/OemMemo.h"
#include "ui/Unit1.h"

namespace {

constexpr std::string_view kTextFilter = "Текстовые файлы|*.txt|Все файлы|*.*";

// Keeps the editor hidden while it fills and shows it again on every way out, the focus
// included when it had it.
class HiddenWhileFilling {
 public:
  explicit HiddenWhileFilling(QWidget* editor)
      : editor_(editor), wasHidden_(editor->isHidden()), hadFocus_(editor->hasFocus()) {
    editor_->hide();
  }
  ~HiddenWhileFilling() {
    if (!wasHidden_) {
      editor_->show();
      if (hadFocus_) {
        editor_->setFocus();
      }
    }
  }
  HiddenWhileFilling(const HiddenWhileFilling&) = delete;
  HiddenWhileFilling& operator=(const HiddenWhileFilling&) = delete;

 private:
  QWidget* editor_;
  bool wasHidden_;
  bool hadFocus_;
};

// Pieces of about this size go into the editor as the file is read, so that neither the whole
// file nor its whole piece is held beside the editor's own copy.
constexpr std::size_t kPieceChunk = 8 << 20;

// One edit of the document: what changes inside it is reported and laid out once, when it ends,
// also when an exception leaves early. No undo records are kept for it (one per inserted line
// would cost more than the insertion itself); like replacing the whole text, it forgets the
// undo history.
class OneEdit {
 public:
  explicit OneEdit(QTextDocument* document)
      : document_(document), undo_(document->isUndoRedoEnabled()), cursor_(document) {
    document_->setUndoRedoEnabled(false);
    cursor_.beginEditBlock();
  }
  ~OneEdit() {
    cursor_.endEditBlock();  // the one change notification
    document_->setUndoRedoEnabled(undo_);
  }
  OneEdit(const OneEdit&) = delete;
  OneEdit& operator=(const OneEdit&) = delete;

  QTextCursor& cursor() { return cursor_; }

 private:
  QTextDocument* document_;
  bool undo_;
  QTextCursor cursor_;
};

// Reads the open file into the editor as one edit: the pieces of text go in while the file is
// read, so the editor reports one change (the counters are computed once) and never holds the
// whole file twice. With `replace` the editor's former text goes in the same edit. A read
// failure keeps the lines before it, then propagates once the edit has ended. cbLfCrTx is not
// consulted: it would turn LF into CR LF inside a line, and a line never holds an LF.
void FillEditor(TOemMemo* editor, pl4120::PosixFileSource& source, bool replace) {
  const bool endsOpen = !replace && !editor->isEmptyText() && !editor->endsWithLineEnd();
  HiddenWhileFilling hidden(editor);
  std::exception_ptr failure;
  {
    OneEdit edit(editor->document());
    if (replace) {
      edit.cursor().select(QTextCursor::Document);
      edit.cursor().removeSelectedText();
    }
    pl4120::AppendPieceBuilder builder(endsOpen);
    builder.Reserve(kPieceChunk + 64 * 1024);
    try {
      pl4120::ReadLines(source, [&](std::string_view line) {
        builder.Add(line);
        if (builder.Piece().size() >= kPieceChunk) {
          editor->appendBytes(builder.Piece());
          builder.Clear();
        }
      });
      source.Close();
    } catch (const pl4120::EInOutError&) {
      failure = std::current_exception();
    }
    if (!builder.Piece().empty()) {
      editor->appendBytes(builder.Piece());
    }
  }
  if (failure) {
    std::rethrow_exception(failure);
  }
}

}  // namespace

bool TPL4120_1::ChooseTextFile(std::string& path) {
  // The dialog of the toolkit itself, so that it behaves the same everywhere and can be
  // answered by the window tests.
  odOpenTx->setOption(QFileDialog::DontUseNativeDialog, true);
  odOpenTx->setAcceptMode(QFileDialog::AcceptOpen);
  odOpenTx->setFileMode(QFileDialog::ExistingFile);
  odOpenTx->setNameFilter(QString::fromStdString(pl4120::DialogFilterToNameFilter(kTextFilter)));
  if (!odOpenTxFilter.isEmpty()) {
    odOpenTx->selectNameFilter(odOpenTxFilter);
  }
  odOpenTx->selectFile(odOpenTxFileName);
  const int answer = odOpenTx->exec();
  // The name field's completion list is a window of its own: when Enter accepts the dialog
  // while the list is open, the list would stay on the screen after the dialog has gone.
  for (QCompleter* completer : odOpenTx->findChildren<QCompleter*>()) {
    if (completer->popup() != nullptr) {
      completer->popup()->hide();
    }
  }
  if (answer != QDialog::Accepted) {
    return false;
  }
  const QStringList files = odOpenTx->selectedFiles();
  if (files.isEmpty() || files.first().isEmpty()) {
    return false;
  }
  odOpenTxFileName = files.first();
  odOpenTxFilter = odOpenTx->selectedNameFilter();
  path = QFile::encodeName(odOpenTxFileName).toStdString();
  return true;
}

void TPL4120_1::LoadTextFile(bool replace) {
  std::string path;
  if (!ChooseTextFile(path) || !pl4120::IsExistingFile(path)) {
    return;
  }
  // Opened before anything changes: a file that cannot be opened leaves the editor, the name
  // field and CurrentTextFileName as they were, and its error goes to the error box.
  pl4120::PosixFileSource source(path);
  CurrentTextFileName = path;
  FillEditor(mmText, source, replace);
  edTextFN->setText(QFile::decodeName(QByteArray::fromStdString(CurrentTextFileName)));
  edTextFN->selectAll();
}

void TPL4120_1::btLoadTxClick() {
  LoadTextFile(true);
}

void TPL4120_1::btMergTxClick() {
  LoadTextFile(false);
}

void TPL4120_1::ReadTextFileIntoEditor() {
  pl4120::PosixFileSource source(CurrentTextFileName);
  FillEditor(mmText, source, false);
}
