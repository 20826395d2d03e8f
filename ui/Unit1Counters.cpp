#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <exception>
#include <string>
#include <utility>

#include "text/Counters.h"
#include "text/PrintPayload.h"
#include "ui/OemMemo.h"
#include "ui/Unit1.h"

namespace {

// The zero-based line that holds a character position of the editor: one lookup in the
// document's line structure. TOemMemo::lineFromChar answers the same for a byte offset, but
// has to search for the line whose byte start fits, which costs a lookup per step; these
// read-outs run on every mouse move over the editor.
int LineOfPosition(const QTextDocument* document, int position) {
  return document->findBlock(position).blockNumber();
}

}  // namespace

void TPL4120_1::btPrinTxClick() {
  if (PrintBusy)
    return;
  PrintBusy = true;
  btPrinTx->setEnabled(false);
  // The button and the flag come back however the send ends, an exception included.
  struct Release {
    TPL4120_1* window;
    ~Release() {
      window->btPrinTx->setEnabled(true);
      window->PrintBusy = false;
    }
  } release{this};

  std::string subject = mmText->selLength() != 0 ? mmText->selectedBytes() : mmText->bytes();
  SendToDevice(pl4120::PrintPayload(std::move(subject), cbNxPage->isChecked()));
}

void TPL4120_1::bbNxPageClick() {
  SendToDevice(pl4120::EjectPayload());
}

// A failed UpdateTextCounters throws, so the caret update of the same event does not run.
void TPL4120_1::mmTextChange() {
  UpdateTextCounters();
  UpdateCaretPosition();
}

void TPL4120_1::mmTextMouseMove(QMouseEvent* /*event*/) {
  UpdateTextCounters();
  UpdateCaretPosition();
}

void TPL4120_1::mmTextMouseDown(QMouseEvent* /*event*/) {
  UpdateTextCounters();
  UpdateCaretPosition();
}

void TPL4120_1::mmTextMouseUp(QMouseEvent* /*event*/) {
  UpdateTextCounters();
  UpdateCaretPosition();
}

void TPL4120_1::mmTextKeyUp(QKeyEvent* /*event*/) {
  UpdateTextCounters();
  UpdateCaretPosition();
}

void TPL4120_1::edLPtxChange() {
  UpdateTextCounters();
}

void TPL4120_1::UpdateTextCounters() {
  // Counted from the editor's line structure: this runs on every mouse move, so neither the
  // whole text nor the selection is copied. Each line end is one CR, so the CR bytes of the
  // subject are the lines it crosses.
  const QTextDocument* document = mmText->document();
  const QTextCursor cursor = mmText->textCursor();
  qint64 crCount = 0;
  if (cursor.hasSelection()) {
    crCount = LineOfPosition(document, cursor.selectionEnd()) -
              LineOfPosition(document, cursor.selectionStart());
  } else {
    crCount = document->blockCount() - 1;
  }
  const std::int64_t lines = pl4120::LineCountFromCrCount(crCount);
  edLnTx->setText(QString::number(lines));

  const QString perPage = edLPtx->text();
  std::int64_t pages = 0;
  try {
    pages = pl4120::PageCount(lines, perPage.toStdString());
  } catch (const std::exception&) {
    // A bad lines-per-page text is reported once; repeating the box on every mouse move
    // would keep the pointer from even crossing the editor.
    if (lpFailureReported_ && perPage == lpFailedText_)
      return;
    lpFailureReported_ = true;
    lpFailedText_ = perPage;
    throw;
  }
  lpFailureReported_ = false;
  lpFailedText_.clear();
  edPgTx->setText(QString::number(pages));
}

void TPL4120_1::UpdateCaretPosition() {
  // The line that holds the selection's start, found once. Inside a line every character of
  // the editor is one byte of its text, so the offset in the line is the same in both.
  const int caret = mmText->textCursor().selectionStart();
  const QTextBlock line = mmText->document()->findBlock(caret);
  edCurXps->setText(QString::number(caret - line.position() + 1));
  edCurYps->setText(QString::number(line.blockNumber() + 1));
}
