#include "ui/widgets/OemMemo.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QStringView>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "text/Cp866.h"

namespace {

std::u16string_view View(const QString& s) {
  return {QStringView(s).utf16(), static_cast<std::size_t>(s.size())};
}

/// The glyph text of a byte view: line ends become '\n', which QTextCursor::insertText turns
/// into block breaks. The buffer is filled directly, without a per-line QString.
QString GlyphText(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  const std::size_t n = pl4120::DecodeCp866Text(bytes, reinterpret_cast<char16_t*>(text.data()));
  text.truncate(static_cast<qsizetype>(n));
  return text;
}

/// What foreign text becomes in the editor: the glyph of each character's byte, '?' where the
/// code page has none. The glyphs of CR and LF become '?' too, so that no line can hold a line
/// end byte that its own line structure does not show; real line ends stay line ends.
QString ToGlyphs(const QString& text) {
  std::string bytes;
  pl4120::EncodeCp866Text(View(text), bytes);
  return GlyphText(bytes);
}

/// Whether QPlainTextEdit would insert the text of a key event (printable, format or private
/// use characters, surrogate pairs); control characters of shortcuts are left alone.
bool IsInsertable(const QString& text) {
  if (text.isEmpty())
    return false;
  for (const QChar c : text) {
    if (!c.isPrint() && !c.isSurrogate() && c.category() != QChar::Other_Format &&
        c.category() != QChar::Other_PrivateUse) {
      return false;
    }
  }
  return true;
}

/// Input methods commit whole strings without a key event; the commit string is mapped like
/// typed text before the editor sees it.
class TInputMethodFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::InputMethod) {
      auto* im = static_cast<QInputMethodEvent*>(event);
      if (!im->commitString().isEmpty()) {
        const QString mapped = ToGlyphs(im->commitString());
        if (mapped != im->commitString()) {
          im->setCommitString(mapped, im->replacementStart(), im->replacementLength());
        }
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

TOemMemo::TOemMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setWordWrapMode(QTextOption::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(true);
  viewport()->setMouseTracking(true);
  installEventFilter(new TInputMethodFilter(this));

  // The selection survives losing the focus (the print command reads it after a button click)
  // but is not drawn meanwhile.
  QPalette pal = palette();
  pal.setBrush(QPalette::Inactive, QPalette::Highlight,
               pal.brush(QPalette::Inactive, QPalette::Base));
  pal.setBrush(QPalette::Inactive, QPalette::HighlightedText,
               pal.brush(QPalette::Inactive, QPalette::Text));
  setPalette(pal);
}

std::string TOemMemo::bytes() const {
  // toRawText keeps U+00A0 (the glyph of byte FF); toPlainText would turn it into a blank.
  const QString raw = document()->toRawText();
  std::string out;
  pl4120::EncodeCp866Text(View(raw), out);
  return out;
}

void TOemMemo::setBytes(std::string_view bytes) {
  setPlainText(GlyphText(bytes));
}

void TOemMemo::appendBytes(std::string_view bytes) {
  QTextCursor cursor(document());
  cursor.movePosition(QTextCursor::End);
  // One insertText call is one edit block: one change notification however many lines.
  cursor.insertText(GlyphText(bytes));
  setTextCursor(cursor);
}

bool TOemMemo::isEmptyText() const {
  return document()->isEmpty();
}

bool TOemMemo::endsWithLineEnd() const {
  const QTextDocument* doc = document();
  return doc->blockCount() > 1 && doc->lastBlock().length() == 1;
}

namespace {

// Each block boundary is one character in the document and two bytes (CR LF) in the byte view,
// so the byte offset of a document position is the position plus its block number.
qint64 ByteOffset(const QTextDocument* doc, int position) {
  return position + doc->findBlock(position).blockNumber();
}

}  // namespace

qint64 TOemMemo::selLength() const {
  const QTextCursor cursor = textCursor();
  if (!cursor.hasSelection())
    return 0;
  return ByteOffset(document(), cursor.selectionEnd()) -
         ByteOffset(document(), cursor.selectionStart());
}

std::string TOemMemo::selectedBytes() const {
  const QTextCursor cursor = textCursor();
  if (!cursor.hasSelection())
    return {};
  const QString text = cursor.selectedText();  // block breaks as U+2029, U+00A0 kept
  std::string out;
  pl4120::EncodeCp866Text(View(text), out);
  return out;
}

// The editor's mouse events arrive through its viewport (the scroll area itself passes them
// on); each signal follows the editor's own handling of its event.
bool TOemMemo::viewportEvent(QEvent* e) {
  const bool result = QPlainTextEdit::viewportEvent(e);
  switch (e->type()) {
    case QEvent::MouseMove:
      emit mouseMoved(static_cast<QMouseEvent*>(e));
      break;
    case QEvent::MouseButtonPress:
      emit mousePressed(static_cast<QMouseEvent*>(e));
      break;
    case QEvent::MouseButtonRelease:
      emit mouseReleased(static_cast<QMouseEvent*>(e));
      break;
    default:
      break;
  }
  return result;
}

void TOemMemo::keyReleaseEvent(QKeyEvent* e) {
  QPlainTextEdit::keyReleaseEvent(e);
  emit keyReleased(e);
}

void TOemMemo::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  const Qt::KeyboardModifiers mods = e->modifiers();
  QString text = e->text();
  if (enter && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    // Shift+Enter would insert U+2028, a line break inside one line: make it a real line end.
    text = QStringLiteral("\r");
  } else if (IsInsertable(text)) {
    text = ToGlyphs(text);
  }
  const Qt::KeyboardModifiers passed = enter ? (mods & ~Qt::ShiftModifier) : mods;
  if (text == e->text() && passed == mods) {
    QPlainTextEdit::keyPressEvent(e);
    return;
  }
  QKeyEvent mapped(e->type(), e->key(), passed, e->nativeScanCode(), e->nativeVirtualKey(),
                   e->nativeModifiers(), text, e->isAutoRepeat(), static_cast<quint16>(e->count()));
  mapped.setAccepted(e->isAccepted());
  QPlainTextEdit::keyPressEvent(&mapped);
  e->setAccepted(mapped.isAccepted());
}

void TOemMemo::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText())
    return;
  const QString text = ToGlyphs(source->text());
  if (text.isEmpty())
    return;
  QTextCursor cursor = textCursor();
  cursor.insertText(text);
  setTextCursor(cursor);
  ensureCursorVisible();
}

QMimeData* TOemMemo::createMimeDataFromSelection() const {
  // The glyphs themselves, with '\n' between lines: toPlainText of a fragment would turn the
  // glyph of byte FF into a blank.
  QString text = textCursor().selectedText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  auto* mime = new QMimeData;
  mime->setText(text);
  return mime;
}
