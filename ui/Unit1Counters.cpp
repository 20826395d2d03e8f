#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <cstdint>
#include <exception>
#include <string>
#include <utility>

#include "text/Counters.h"
#include "text/PrintPayload.h"
#include "ui/OemMemo.h"
#include "ui/Unit1.h"

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
  // whole text nor the selection is copied. Each line end is one CR.
  const qint64 selLength = mmText->selLength();
  qint64 crCount = 0;
  if (selLength != 0) {
    const qint64 start = mmText->selStart();
    crCount = mmText->lineFromChar(start + selLength) - mmText->lineFromChar(start);
  } else {
    crCount = mmText->document()->blockCount() - 1;
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
  const qint64 caret = mmText->selStart();
  const qint64 row = mmText->lineFromChar(caret);
  const qint64 lineStart = mmText->lineIndex(row);
  edCurXps->setText(QString::number(caret - lineStart + 1));
  edCurYps->setText(QString::number(row + 1));
}
