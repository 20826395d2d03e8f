#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "printer/InitSequence.h"
#include "printer/PrinterSettings.h"
#include "ui/preview/PreviewWindow.h"
#include "ui/widgets/OemMemo.h"
#include "ui/widgets/SpinEdit.h"
#include "ui/window/Unit1.h"

// Where the preview finds what "Распечатка текста" would send now (the selection or the whole
// text, and the form feed), with the initialisation that "Инициализировать принтер" would send.
// No text is copied here: the preview reads it from the editor's document as it needs it.
TPreviewSource TPL4120_1::PreviewSource() const {
  TPreviewSource source;
  const QTextCursor cursor = mmText->textCursor();
  source.document = mmText->document();
  source.from = cursor.hasSelection() ? cursor.selectionStart() : 0;
  source.to = cursor.hasSelection() ? cursor.selectionEnd() : source.document->characterCount() - 1;
  source.formFeed = cbNxPage->isChecked();
  const pl4120::PrinterSettings settings = CurrentSettings();
  if (const std::string error = pl4120::SettingsError(settings); !error.empty()) {
    source.initError = QString::fromStdString(error);
  } else {
    source.init = pl4120::BuildInitSequence(settings);
  }
  return source;
}

void TPL4120_1::btViewTxClick() {
  auto* preview = findChild<TPreviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (preview == nullptr) {
    preview = new TPreviewWindow([this] { return PreviewSource(); }, this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    // Everything that changes what printing would send; the connections end with the window.
    const auto follow = [preview](auto* sender, auto signal) {
      connect(sender, signal, preview, &TPreviewWindow::SourceChanged);
    };
    follow(mmText, &QPlainTextEdit::textChanged);
    follow(mmText, &QPlainTextEdit::selectionChanged);
    follow(cbNxPage, &QCheckBox::toggled);
    for (QAbstractButton* button : PageSets->findChildren<QAbstractButton*>()) {
      follow(button, &QAbstractButton::toggled);
    }
    follow(StrOutPr, &QLineEdit::textChanged);
    follow(SpinEdit1->editor(), &QLineEdit::textChanged);
    follow(SpinEdit2->editor(), &QLineEdit::textChanged);
    preview->Refresh();
  }
  preview->show();
  preview->raise();
  preview->activateWindow();
}
