#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <exception>
#include <string>

#include "text/Counters.h"
#include "ui/widgets/OemMemo.h"
#include "ui/window/Unit1.h"

namespace {

// The zero-based line that holds a character position of the editor: one lookup in the
// document's line structure, cheap enough for read-outs that run on every mouse move.
int LineOfPosition(const QTextDocument* document, int position) {
  return document->findBlock(position).blockNumber();
}

}  // namespace

// A failed UpdateTextCounters throws, so the caret update of the same event does not run.
void TPL4120_1::mmTextChange() {
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
