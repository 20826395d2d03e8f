#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <string>

#include "WindowTest.h"
#include "text/Cp866.h"
#include "ui/widgets/OemMemo.h"

Q_DECLARE_METATYPE(std::string)

namespace {

std::string Bytes(const char* s, std::size_t n) {
  return std::string(s, n);
}

/// The editor shows exactly the glyphs of its bytes: nothing typed or pasted is kept as a
/// character that the byte view would have to replace.
bool ShowsOnlyGlyphsOfItsBytes(const TOemMemo* memo) {
  const std::string bytes = memo->bytes();
  std::u16string glyphs(bytes.size(), u'\0');
  glyphs.resize(pl4120::DecodeCp866Text(bytes, glyphs.data()));
  QString shown = memo->document()->toRawText();
  shown.replace(QChar::ParagraphSeparator, u'\n');
  return shown == QString::fromStdU16String(glyphs);
}

}  // namespace

// The window's editor, with the focus in it.
class TestEditor : public TWindowTest {
  Q_OBJECT

 public:
  TestEditor() : TWindowTest(Start::Active, "pgTxtEdt") {}

 private:
  TOemMemo* memo_ = nullptr;
  QWidget* next_ = nullptr;  // the next control in the tab chain

  void SetUp() override {
    memo_ = Get<TOemMemo>("mmText");
    next_ = Get<QPushButton>("btLoadTx");
    memo_->setFocus();
    QTRY_VERIFY(memo_->hasFocus());
  }

 private slots:
  void everyByteButLineEndsRoundTrips() {
    std::string all;
    for (int b = 0; b < 256; ++b) {
      if (b != '\r' && b != '\n')
        all.push_back(static_cast<char>(b));
    }
    memo_->setBytes(all);
    QCOMPARE(memo_->document()->blockCount(), 1);
    QCOMPARE(memo_->bytes(), all);
    // The same bytes on several lines, appended after the text.
    const std::string more = "\r\n" + all + "\r\n" + all;
    memo_->appendBytes(more);
    QCOMPARE(memo_->bytes(), all + more);
  }

  void lineEndsBecomeCrLf_data() {
    QTest::addColumn<std::string>("in");
    QTest::addColumn<std::string>("out");
    QTest::newRow("crlf") << std::string("a\r\nb") << std::string("a\r\nb");
    QTest::newRow("lf") << std::string("a\nb") << std::string("a\r\nb");
    QTest::newRow("cr") << std::string("a\rb") << std::string("a\r\nb");
    QTest::newRow("lf cr") << std::string("a\n\rb") << std::string("a\r\n\r\nb");
    QTest::newRow("trailing") << std::string("a\r\n") << std::string("a\r\n");
    QTest::newRow("only line ends") << std::string("\n\n") << std::string("\r\n\r\n");
    QTest::newRow("nul and ff") << Bytes("\0\r\n\xFF", 4) << Bytes("\0\r\n\xFF", 4);
    QTest::newRow("empty") << std::string() << std::string();
  }
  void lineEndsBecomeCrLf() {
    QFETCH(std::string, in);
    QFETCH(std::string, out);
    memo_->setBytes(in);
    QCOMPARE(memo_->bytes(), out);
    memo_->setBytes("x");
    memo_->appendBytes(in);
    QCOMPARE(memo_->bytes(), "x" + out);
  }

  void typedCharactersBecome866Bytes_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<std::string>("bytes");
    QTest::newRow("cyrillic") << QStringLiteral("Привет, Ёж!")
                              << std::string("\x8F\xE0\xA8\xA2\xA5\xE2, \xF0\xA6!");
    QTest::newRow("box drawing") << QStringLiteral("╔═╗") << std::string("\xC9\xCD\xBB");
    QTest::newRow("no byte") << QStringLiteral("a€ä") << std::string("a??");
    QTest::newRow("line end glyphs") << QStringLiteral("\u25D9\u266A") << std::string("??");
    QTest::newRow("dos symbols") << QStringLiteral("☺\u2302") << std::string("\x01\x7F");
  }
  void typedCharactersBecome866Bytes() {
    QFETCH(QString, typed);
    QFETCH(std::string, bytes);
    Type(memo_, typed);
    QCOMPARE(memo_->bytes(), bytes);
    QCOMPARE(memo_->document()->blockCount(), 1);
    QVERIFY(ShowsOnlyGlyphsOfItsBytes(memo_));
  }

  void enterInsertsLineEnd_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("shift return") << int(Qt::Key_Return) << int(Qt::ShiftModifier);
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
  }
  void enterInsertsLineEnd() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QTest::keyClicks(memo_, QStringLiteral("ab"));
    QTest::keyClick(memo_, Qt::Key_Left);
    QTest::keyClick(memo_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(memo_->bytes(), std::string("a\r\nb"));
    QCOMPARE(memo_->document()->blockCount(), 2);
    QCOMPARE(SelectionStartInBytes(memo_), 3);
  }

  void shortcutsStillWork() {
    memo_->setBytes("ab\r\ncd");
    QTest::keyClick(memo_, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(memo_->selLength(), 6);
    QTest::keyClick(memo_, Qt::Key_Backspace);
    QVERIFY(memo_->isEmptyText());
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(memo_->bytes(), std::string("ab\r\ncd"));
  }

  void tabLeavesTheEditor() {
    memo_->setBytes("abc");
    QTest::keyClick(memo_, Qt::Key_Tab);
    QTRY_VERIFY(next_->hasFocus());
    QCOMPARE(memo_->bytes(), std::string("abc"));
  }

  void pasteBecomes866Bytes() {
    QApplication::clipboard()->setText(QStringLiteral("Да\r\nx\ny\rz€\u266A\u00A0"));
    memo_->setBytes("<>");
    SelectChars(memo_, 1, 1);
    QTest::keyClick(memo_, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo_->bytes(), std::string("<\x84\xA0\r\nx\r\ny\r\nz??\xFF>"));
    QCOMPARE(SelectionStartInBytes(memo_), 15);  // the caret stands after the pasted piece
    QVERIFY(ShowsOnlyGlyphsOfItsBytes(memo_));
  }

  void copyKeepsEveryGlyph() {
    const std::string text = Bytes("\xFF\0 \x80\r\n\x01", 7);
    memo_->setBytes(text);
    QTest::keyClick(memo_, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(memo_, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("\u00A0\u2400 А\n☺"));
    memo_->setBytes("");
    QTest::keyClick(memo_, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(memo_->bytes(), text);
  }

  void dropBecomes866Bytes() {
    memo_->setBytes("ab");
    QMimeData mime;
    mime.setText(QStringLiteral("Ж€\r\nЯ"));
    const QPoint at = memo_->cursorRect(memo_->textCursor()).center();
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(memo_->viewport(), &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(memo_->viewport(), &drop);
    QVERIFY(drop.isAccepted());
    const std::string bytes = memo_->bytes();
    QCOMPARE(bytes.size(), std::size_t{7});
    QVERIFY(bytes.find("\x86?\r\n\x9F") != std::string::npos);
    QVERIFY(ShowsOnlyGlyphsOfItsBytes(memo_));
  }

  void inputMethodCommitBecomes866Bytes() {
    QInputMethodEvent event(QString(), {});
    event.setCommitString(QStringLiteral("Щ€\u266Ax"));
    QApplication::sendEvent(memo_, &event);
    QCOMPARE(memo_->bytes(), std::string("\x99??x"));
    QVERIFY(ShowsOnlyGlyphsOfItsBytes(memo_));
  }

  void selectionInBytes_data() {
    // Text "ab", CR LF, "cd", CR LF, "ef": document positions 0..8, a line end is one position.
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("length");
    QTest::addColumn<std::string>("selected");
    QTest::newRow("caret on line 0") << 1 << 1 << qint64(1) << qint64(0) << std::string();
    QTest::newRow("caret on line 2") << 7 << 7 << qint64(9) << qint64(0) << std::string();
    QTest::newRow("across two ends")
        << 1 << 7 << qint64(1) << qint64(8) << std::string("b\r\ncd\r\ne");
    QTest::newRow("backwards") << 7 << 1 << qint64(1) << qint64(8) << std::string("b\r\ncd\r\ne");
    QTest::newRow("line end only") << 2 << 3 << qint64(2) << qint64(2) << std::string("\r\n");
    QTest::newRow("second line") << 3 << 5 << qint64(4) << qint64(2) << std::string("cd");
    QTest::newRow("all") << 0 << 8 << qint64(0) << qint64(10) << std::string("ab\r\ncd\r\nef");
  }
  void selectionInBytes() {
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(qint64, start);
    QFETCH(qint64, length);
    QFETCH(std::string, selected);
    memo_->setBytes("ab\r\ncd\r\nef");
    SelectChars(memo_, anchor, position);
    QCOMPARE(SelectionStartInBytes(memo_), start);
    QCOMPARE(memo_->selLength(), length);
    QCOMPARE(memo_->selectedBytes(), selected);
  }

  void selectionStaysWhenFocusLeaves() {
    memo_->setBytes("ab\r\ncd");
    SelectChars(memo_, 1, 4);
    next_->setFocus();
    QTRY_VERIFY(next_->hasFocus());
    QCOMPARE(SelectionStartInBytes(memo_), 1);
    QCOMPARE(memo_->selLength(), 4);
    QCOMPARE(memo_->selectedBytes(), std::string("b\r\nc"));
  }

  void selectedByteFfIsNotABlank() {
    memo_->setBytes("\xFF\xFF");
    SelectChars(memo_, 0, 2);
    QCOMPARE(memo_->selectedBytes(), std::string("\xFF\xFF"));
    QCOMPARE(memo_->bytes(), std::string("\xFF\xFF"));
  }

  void appendIsOneChange() {
    memo_->setBytes("xy");
    SelectChars(memo_, 0, 1);
    QSignalSpy changes(memo_, &QPlainTextEdit::textChanged);
    memo_->appendBytes("a\r\nb\nc\r");
    QCOMPARE(changes.count(), 1);
    QCOMPARE(memo_->bytes(), std::string("xya\r\nb\r\nc\r\n"));
    QCOMPARE(memo_->selLength(), 0);
    QCOMPARE(SelectionStartInBytes(memo_), 11);
    QVERIFY(memo_->endsWithLineEnd());
  }

  void emptyAndLineEndQueries() {
    struct Case {
      const char* bytes;
      bool empty;
      bool endsWithLineEnd;
    };
    const Case cases[] = {
        {"", true, false},     {"a", false, false},      {"a\r\n", false, true},
        {"\r\n", false, true}, {"a\r\nb", false, false},
    };
    for (const Case& c : cases) {
      memo_->setBytes(c.bytes);
      QCOMPARE(memo_->isEmptyText(), c.empty);
      QCOMPARE(memo_->endsWithLineEnd(), c.endsWithLineEnd);
    }
  }

  void longLineDoesNotWrap() {
    memo_->setBytes(std::string(300, 'w'));
    QCOMPARE(memo_->document()->blockCount(), 1);
    QCOMPARE(memo_->document()->firstBlock().layout()->lineCount(), 1);
    QCOMPARE(memo_->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memo_->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QScrollBar* bar = memo_->horizontalScrollBar();
    QVERIFY(bar->maximum() > 0);
    QTest::keyClick(memo_, Qt::Key_End);
    QCOMPARE(SelectionStartInBytes(memo_), 300);
    QCOMPARE(bar->value(), bar->maximum());
  }

  void signalsComeAfterTheEditorsOwnHandling() {
    memo_->setBytes("abc\r\ndef");
    int caretAtPress = -1;
    int caretAtKeyRelease = -1;
    connect(memo_, &TOemMemo::mousePressed, this,
            [&] { caretAtPress = memo_->textCursor().position(); });
    connect(memo_, &TOemMemo::keyReleased, this,
            [&] { caretAtKeyRelease = memo_->textCursor().position(); });
    const QPoint lineTwo = memo_->cursorRect(QTextCursor(memo_->document()->lastBlock())).center();
    QTest::mouseClick(memo_->viewport(), Qt::LeftButton, {}, lineTwo);
    QCOMPARE(caretAtPress, 4);
    QTest::keyClick(memo_, Qt::Key_End);
    QCOMPARE(caretAtKeyRelease, 7);
  }

  void mouseMovesWithoutButtonArrive() {
    QSignalSpy moves(memo_, &TOemMemo::mouseMoved);
    QTest::mouseMove(memo_->viewport(), QPoint(20, 20));
    QTest::mouseMove(memo_->viewport(), QPoint(30, 25));
    QTRY_VERIFY(moves.count() >= 1);
  }
};

PL4120_TEST_MAIN(TestEditor)
#include "test_editor.moc"
