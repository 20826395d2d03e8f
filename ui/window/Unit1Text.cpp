#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTextCursor>
#include <QTextDocument>
#include <optional>

#include "text/FileNames.h"
#include "text/LineReader.h"
#include "ui/session/TextFile.h"
#include "ui/widgets/ErrorBox.h"
#include "ui/widgets/OemMemo.h"
#include "ui/window/Unit1.h"

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

// The editor as the target of a read: hidden while it fills, filled in one edit.
class EditorTarget : public TTextTarget {
 public:
  explicit EditorTarget(TOemMemo* editor) : editor_(editor) {}

  bool IsEmpty() const override { return editor_->isEmptyText(); }
  bool EndsWithLineEnd() const override { return editor_->endsWithLineEnd(); }
  qint64 Size() const override { return editor_->document()->characterCount(); }
  void BeginFill(bool replace) override {
    hidden_.emplace(editor_);
    edit_.emplace(editor_->document());
    if (replace) {
      edit_->cursor().select(QTextCursor::Document);
      edit_->cursor().removeSelectedText();
    }
  }
  // cbLfCrTx is not consulted: it would turn LF into CR LF inside a line, and a line never
  // holds an LF.
  void Append(std::string_view piece) override { editor_->appendBytes(piece); }
  void EndFill() override {
    edit_.reset();
    hidden_.reset();
  }

 private:
  TOemMemo* editor_;
  std::optional<HiddenWhileFilling> hidden_;
  std::optional<OneEdit> edit_;
};

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

void TPL4120_1::SetUpTextFile() {
  textFile_ = new TTextFile(this);
  QTextDocument* document = mmText->document();
  connect(document, &QTextDocument::modificationChanged, textFile_, &TTextFile::SetEdited);
  connect(textFile_, &TTextFile::editedChanged, document, &QTextDocument::setModified);
  connect(textFile_, &TTextFile::fileNamed, this, [this](const QString& name) {
    edTextFN->setText(name);
    edTextFN->selectAll();
  });
}

void TPL4120_1::LoadTextFile(bool replace) {
  std::string path;
  if (ChooseTextFile(path)) {
    EditorTarget editor(mmText);
    textFile_->Read(path, replace, editor);
  }
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
  pl4120::PosixFileSource source(textFile_->Name());
  EditorTarget editor(mmText);
  ReadInto(source, editor, false);
}

void TPL4120_1::SaveText1Click() {
  SaveText();
}

void TPL4120_1::Save2Click() {
  SaveTextAs();
}

bool TPL4120_1::SaveText() {
  return textFile_->Name().empty() ? SaveTextAs() : SaveTextTo(textFile_->Name());
}

bool TPL4120_1::SaveTextAs() {
  if (sdSaveTx == nullptr) {
    sdSaveTx = new QFileDialog(this);
    sdSaveTx->setObjectName(QStringLiteral("sdSaveTx"));
    sdSaveTx->setAcceptMode(QFileDialog::AcceptSave);
    sdSaveTx->setFileMode(QFileDialog::AnyFile);
    sdSaveTx->setNameFilter(TextNameFilter());
  }
  if (!textFile_->Name().empty()) {
    sdSaveTx->selectFile(textFile_->DisplayName());
  }
  const QString chosen = ExecFileDialog(sdSaveTx);
  return !chosen.isEmpty() && SaveTextTo(QFile::encodeName(chosen).toStdString());
}

bool TPL4120_1::SaveTextTo(const std::string& path) {
  const QString reason = textFile_->SaveTo(path, mmText->bytes());
  if (!reason.isEmpty()) {
    const QString message = QStringLiteral("Не удалось сохранить текст в файл \"") +
                            DisplayFileName(path) + u"\": " + reason;
    ShowErrorMessage(message.toStdString());
    return false;
  }
  return true;
}

bool TPL4120_1::EditedTextSettled() {
  if (!textFile_->Edited()) {
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
