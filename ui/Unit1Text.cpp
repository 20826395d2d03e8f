#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextCursor>
#include <QTextDocument>
#include <exception>

#include "text/FileNames.h"
#include "text/LineReader.h"
#include "ui/ErrorBox.h"
#include "ui/OemMemo.h"
#include "ui/ReplaceFile.h"
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

QString TextNameFilter() {
  return QString::fromStdString(pl4120::DialogFilterToNameFilter(kTextFilter));
}

// Shows a file dialog of the toolkit itself (it behaves the same everywhere and the window tests
// can answer it). The confirmed file name, or an empty one when the user cancelled.
QString ExecFileDialog(QFileDialog* dialog) {
  dialog->setOption(QFileDialog::DontUseNativeDialog, true);
  const int answer = dialog->exec();
  // The name field's completion list is a window of its own: when Enter accepts the dialog
  // while the list is open, the list would stay on the screen after the dialog has gone.
  for (QCompleter* completer : dialog->findChildren<QCompleter*>()) {
    if (completer->popup() != nullptr) {
      completer->popup()->hide();
    }
  }
  const QStringList files = dialog->selectedFiles();
  if (answer != QDialog::Accepted || files.isEmpty()) {
    return {};
  }
  return files.first();
}

QString DisplayName(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

}  // namespace

bool TPL4120_1::ChooseTextFile(std::string& path) {
  odOpenTx->setAcceptMode(QFileDialog::AcceptOpen);
  odOpenTx->setFileMode(QFileDialog::ExistingFile);
  odOpenTx->setNameFilter(TextNameFilter());
  if (!odOpenTxFilter.isEmpty()) {
    odOpenTx->selectNameFilter(odOpenTxFilter);
  }
  odOpenTx->selectFile(odOpenTxFileName);
  const QString chosen = ExecFileDialog(odOpenTx);
  if (chosen.isEmpty()) {
    return false;
  }
  odOpenTxFileName = chosen;
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
  const std::string previousFile = CurrentTextFileName;
  QTextDocument* document = mmText->document();
  const bool wasEmpty = mmText->isEmptyText();
  const bool wasEdited = document->isModified();
  const int sizeBefore = document->characterCount();
  // A text that is one file alone counts as unedited: it can be read again. So does a part of
  // one, left by a read that failed halfway: saving it would cut the file short. A merge onto
  // other text makes a text that no file holds.
  auto settle = [&] {
    document->setModified(!replace && !wasEmpty &&
                          (wasEdited || document->characterCount() != sizeBefore));
  };
  CurrentTextFileName = path;
  try {
    FillEditor(mmText, source, replace);
  } catch (...) {
    settle();
    // The name field keeps the file it showed, and "Save Text" keeps writing to that one, not
    // to a file whose name the user does not see.
    CurrentTextFileName = previousFile;
    throw;
  }
  settle();
  edTextFN->setText(DisplayName(CurrentTextFileName));
  edTextFN->selectAll();
}

void TPL4120_1::btLoadTxClick() {
  if (EditedTextSettled()) {
    LoadTextFile(true);
  }
}

void TPL4120_1::btMergTxClick() {
  LoadTextFile(false);
}

void TPL4120_1::ReadTextFileIntoEditor() {
  pl4120::PosixFileSource source(CurrentTextFileName);
  FillEditor(mmText, source, false);
}

void TPL4120_1::SaveText1Click() {
  SaveText();
}

void TPL4120_1::Save2Click() {
  SaveTextAs();
}

bool TPL4120_1::SaveText() {
  return CurrentTextFileName.empty() ? SaveTextAs() : SaveTextTo(CurrentTextFileName);
}

bool TPL4120_1::SaveTextAs() {
  if (sdSaveTx == nullptr) {
    sdSaveTx = new QFileDialog(this);
    sdSaveTx->setObjectName(QStringLiteral("sdSaveTx"));
    sdSaveTx->setAcceptMode(QFileDialog::AcceptSave);
    sdSaveTx->setFileMode(QFileDialog::AnyFile);
    sdSaveTx->setNameFilter(TextNameFilter());
  }
  if (!CurrentTextFileName.empty()) {
    sdSaveTx->selectFile(DisplayName(CurrentTextFileName));
  }
  const QString chosen = ExecFileDialog(sdSaveTx);
  return !chosen.isEmpty() && SaveTextTo(QFile::encodeName(chosen).toStdString());
}

bool TPL4120_1::SaveTextTo(const std::string& path) {
  const QString name = DisplayName(path);
  const std::string bytes = mmText->bytes();
  const QString reason = ReplaceFile(name, bytes);
  if (!reason.isEmpty()) {
    const QString message =
        QStringLiteral("Не удалось сохранить текст в файл \"") + name + u"\": " + reason;
    ShowErrorMessage(message.toStdString());
    return false;
  }
  CurrentTextFileName = path;
  mmText->document()->setModified(false);
  edTextFN->setText(name);
  edTextFN->selectAll();
  return true;
}

bool TPL4120_1::EditedTextSettled() {
  if (!mmText->document()->isModified()) {
    return true;
  }
  QMessageBox box(QMessageBox::Question, ApplicationTitle(),
                  QStringLiteral("Текст изменён. Сохранить изменения?"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
  box.setObjectName(QStringLiteral("SaveTextQuestion"));
  box.button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
  box.button(QMessageBox::No)->setText(QStringLiteral("Нет"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return SaveText();
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}
