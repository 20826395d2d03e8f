#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <string>

#include "WindowTest.h"
#include "ui/widgets/OemMemo.h"

using namespace Qt::StringLiterals;

namespace {

/// count lines of "L<n>", joined by CR LF, without a final line end.
std::string Lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    if (i > 1)
      text += "\r\n";
    text += 'L';
    text += std::to_string(i);
  }
  return text;
}

}  // namespace

class TestCounters : public TWindowTest {
  Q_OBJECT

 private:
  TOemMemo* memo = nullptr;
  QLineEdit* lines = nullptr;
  QLineEdit* pages = nullptr;
  QLineEdit* perPage = nullptr;
  QLineEdit* column = nullptr;
  QLineEdit* row = nullptr;

  void SetUp() override {
    memo = Get<TOemMemo>("mmText");
    lines = Get<QLineEdit>("edLnTx");
    pages = Get<QLineEdit>("edPgTx");
    perPage = Get<QLineEdit>("edLPtx");
    column = Get<QLineEdit>("edCurXps");
    row = Get<QLineEdit>("edCurYps");
  }

  /// Replaces the editor's text without running any handler.
  void SetTextQuietly(const std::string& bytes) {
    const QSignalBlocker blocker(memo);
    memo->setBytes(bytes);
  }
  void SetPerPageQuietly(const QString& text) {
    const QSignalBlocker blocker(perPage);
    perPage->setText(text);
  }
  /// A key release in the editor: one of the events that recompute every counter.
  void ReleaseKey() { QTest::keyRelease(memo, Qt::Key_Shift); }
  QStringList Counters() const {
    return {lines->text(), pages->text(), perPage->text(), column->text(), row->text()};
  }
  void ShowWindow() {
    window()->show();
    QVERIFY(QTest::qWaitForWindowExposed(window()));
  }

 private slots:
  void startValuesStayUntilTheFirstUpdate() {
    const QStringList start{u"0000"_s, u"0000"_s, u"70"_s, u"1"_s, u"1"_s};
    QCOMPARE(Counters(), start);
    ShowWindow();
    QCOMPARE(Counters(), start);
    ReleaseKey();
    QCOMPARE(Counters(), (QStringList{u"1"_s, u"1"_s, u"70"_s, u"1"_s, u"1"_s}));
  }

  void countsFollowTextChanges_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("perPage");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("pages");
    auto bytes = [](const std::string& s) { return QByteArray::fromStdString(s); };
    QTest::newRow("a CR LF b") << QByteArray("a\r\nb") << u"70"_s << u"2"_s << u"1"_s;
    QTest::newRow("69 lines") << bytes(Lines(69)) << u"70"_s << u"69"_s << u"1"_s;
    QTest::newRow("CR LF after the 69th")
        << bytes(Lines(69) + "\r\n") << u"70"_s << u"70"_s << u"2"_s;
    QTest::newRow("140 lines") << bytes(Lines(140)) << u"70"_s << u"140"_s << u"3"_s;
    QTest::newRow("7 per page, 20 lines") << bytes(Lines(20)) << u"7"_s << u"20"_s << u"3"_s;
    QTest::newRow("-10, 25 lines") << bytes(Lines(25)) << u"-10"_s << u"25"_s << u"-1"_s;
    QTest::newRow("-10, 5 lines") << bytes(Lines(5)) << u"-10"_s << u"5"_s << u"1"_s;
    QTest::newRow("$10, 20 lines") << bytes(Lines(20)) << u"$10"_s << u"20"_s << u"2"_s;
    QTest::newRow("$FFFFFFFF, 25 lines")
        << bytes(Lines(25)) << u"$FFFFFFFF"_s << u"25"_s << u"-24"_s;
    QTest::newRow("only line ends") << QByteArray("\r\n\r\n") << u"70"_s << u"3"_s << u"1"_s;
  }
  void countsFollowTextChanges() {
    QFETCH(QByteArray, text);
    QFETCH(QString, perPage);
    QFETCH(QString, lines);
    QFETCH(QString, pages);
    SetPerPageQuietly(perPage);
    memo->setBytes(text.toStdString());
    QCOMPARE(this->lines->text(), lines);
    QCOMPARE(this->pages->text(), pages);
  }

  void perPageChangeRecountsPagesOnly() {
    SetTextQuietly(Lines(20));
    perPage->setText(u"7"_s);
    QCOMPARE(lines->text(), u"20"_s);
    QCOMPARE(pages->text(), u"3"_s);
    QCOMPARE(column->text(), u"1"_s);  // the caret fields are not this event's business
    QCOMPARE(row->text(), u"1"_s);
  }

  void selectionIsCountedInsteadOfTheText_data() {
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("perPage");
    QTest::addColumn<QString>("lines");
    QTest::addColumn<QString>("pages");
    // "aaa|x|y|z|bbb": x starts at 4, y at 6, z at 8, bbb at 10 (a line end is one position).
    QTest::newRow("x to z") << 4 << 9 << u"70"_s << u"3"_s << u"1"_s;
    QTest::newRow("x to z, backwards") << 9 << 4 << u"70"_s << u"3"_s << u"1"_s;
    QTest::newRow("x to z, 2 per page") << 4 << 9 << u"2"_s << u"3"_s << u"2"_s;
    QTest::newRow("x to the start of z") << 4 << 8 << u"70"_s << u"3"_s << u"1"_s;
    QTest::newRow("inside one line") << 0 << 2 << u"70"_s << u"1"_s << u"1"_s;
    QTest::newRow("whole text") << 0 << 13 << u"70"_s << u"5"_s << u"1"_s;
  }
  void selectionIsCountedInsteadOfTheText() {
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, perPage);
    QFETCH(QString, lines);
    QFETCH(QString, pages);
    SetTextQuietly("aaa\r\nx\r\ny\r\nz\r\nbbb");
    SetPerPageQuietly(perPage);
    SelectChars(memo, anchor, position);
    ReleaseKey();
    QCOMPARE(this->lines->text(), lines);
    QCOMPARE(this->pages->text(), pages);
  }

  void caretColumnAndRowInBytes_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::newRow("empty") << QByteArray() << 0 << 0 << u"1"_s << u"1"_s;
    QTest::newRow("start") << QByteArray("xyz\r\nab") << 0 << 0 << u"1"_s << u"1"_s;
    QTest::newRow("end of xyz CR LF ab") << QByteArray("xyz\r\nab") << 6 << 6 << u"3"_s << u"2"_s;
    QTest::newRow("end of the first line") << QByteArray("xyz\r\nab") << 3 << 3 << u"4"_s << u"1"_s;
    QTest::newRow("start of the second line")
        << QByteArray("xyz\r\nab") << 4 << 4 << u"1"_s << u"2"_s;
    QTest::newRow("selection takes its start")
        << QByteArray("xyz\r\nab") << 6 << 5 << u"2"_s << u"2"_s;
    QTest::newRow("cp866 bytes") << QByteArray("\x8F\xE0\xA8\xA2\xA5\xE2") << 6 << 6 << u"7"_s
                                 << u"1"_s;
    QTest::newRow("after an empty line") << QByteArray("a\r\n\r\nbc") << 5 << 5 << u"3"_s << u"3"_s;
  }
  void caretColumnAndRowInBytes() {
    QFETCH(QByteArray, text);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, x);
    QFETCH(QString, y);
    SetTextQuietly(text.toStdString());
    SelectChars(memo, anchor, position);
    ReleaseKey();
    QCOMPARE(column->text(), x);
    QCOMPARE(row->text(), y);
  }

  void caretReadOutMatchesAScanOfTheBytes() {
    // Every caret position of a text with empty lines: the row and the column that a scan
    // of the bytes gives (a line end counts as the end of its line).
    const std::string text = "x\r\n\r\nyy\r\nzzz\r\n\r\n";
    SetTextQuietly(text);
    int expectedRow = 1;
    int expectedColumn = 1;
    int position = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
      if (i > 0 && text[i - 1] == '\r') {
        continue;  // between CR and LF: not a caret position
      }
      SelectChars(memo, position, position);
      ReleaseKey();
      QCOMPARE(row->text(), QString::number(expectedRow));
      QCOMPARE(column->text(), QString::number(expectedColumn));
      if (i < text.size() && text[i] == '\r') {
        ++expectedRow;
        expectedColumn = 1;
      } else {
        ++expectedColumn;
      }
      ++position;
    }
    QCOMPARE(expectedRow, 6);
  }

  void longLineIsNeverWrapped() {
    ShowWindow();
    memo->setFixedWidth(80);
    memo->setBytes("top\r\n" + std::string(300, 'w') + "\r\nbottom");
    memo->setFocus();
    SelectChars(memo, 4, 4);
    QTest::keyClick(memo, Qt::Key_End);  // the press moves the caret, the release counts
    QCOMPARE(column->text(), u"301"_s);
    QCOMPARE(row->text(), u"2"_s);
    QCOMPARE(lines->text(), u"3"_s);
  }

  void mouseMoveWithoutButtonUpdates() {
    ShowWindow();
    ShowPage("pgTxtEdt");
    QVERIFY(memo->isVisible());
    SetTextQuietly("one\r\ntwo\r\nthree");
    SelectChars(memo, 4, 13);  // "two CR LF thr": nothing has counted it yet
    QTest::mouseMove(memo->viewport(), QPoint(20, 20));
    QTest::mouseMove(memo->viewport(), QPoint(30, 25));
    QCOMPARE(lines->text(), u"2"_s);
    QCOMPARE(column->text(), u"1"_s);
    QCOMPARE(row->text(), u"2"_s);
  }

  void failuresAreReportedWithTheirTexts_data() {
    QTest::addColumn<QString>("perPage");
    QTest::addColumn<QString>("message");
    QTest::newRow("word") << u"abc"_s << u"'abc' is not a valid integer value."_s;
    QTest::newRow("empty") << QString() << u"'' is not a valid integer value."_s;
    QTest::newRow("signed hex") << u"-$10"_s << u"'-$10' is not a valid integer value."_s;
    QTest::newRow("trailing blank") << u"7 "_s << u"'7 ' is not a valid integer value."_s;
    QTest::newRow("Cyrillic") << u"семь"_s << u"'семь' is not a valid integer value."_s;
    QTest::newRow("zero") << u"0"_s << u"Division by zero."_s;
    QTest::newRow("hex zero") << u"$0"_s << u"Division by zero."_s;
  }
  void failuresAreReportedWithTheirTexts() {
    QFETCH(QString, perPage);
    QFETCH(QString, message);
    ShowWindow();
    memo->setBytes("a\r\nb");  // lines 2, pages 1
    SetTextQuietly("a\r\nb\r\nc\r\nd");
    this->perPage->setText(perPage);
    QCOMPARE(modals.TakeTexts(), QStringList{message});
    QCOMPARE(lines->text(), u"4"_s);  // written before the failure
    QCOMPARE(pages->text(), u"1"_s);  // kept from before
  }

  void caretIsNotUpdatedAfterAFailedCount() {
    ShowWindow();
    SetTextQuietly("xyz\r\nab");
    SetPerPageQuietly(u"x"_s);
    SelectChars(memo, 6, 6);
    ReleaseKey();
    QCOMPARE(modals.TakeTexts(), QStringList{u"'x' is not a valid integer value."_s});
    QCOMPARE(lines->text(), u"2"_s);
    QCOMPARE(pages->text(), u"0000"_s);
    QCOMPARE(column->text(), u"1"_s);
    QCOMPARE(row->text(), u"1"_s);
    // Once reported, the same text no longer stops the caret read-out.
    ReleaseKey();
    QCOMPARE(modals.TakeTexts(), QStringList());
    QCOMPARE(column->text(), u"3"_s);
    QCOMPARE(row->text(), u"2"_s);
  }

  void aBadLinesPerPageTextIsReportedOnce() {
    ShowWindow();
    ShowPage("pgTxtEdt");
    memo->setBytes("a\r\nb");
    QCOMPARE(pages->text(), u"1"_s);
    // Were every update to report again, each answered box would bring the next one (the
    // pointer is still over the editor); a valid value then breaks the chain so that the
    // test fails instead of hanging.
    int answered = 0;
    modals.whileOpen = [&] {
      if (++answered > 20)
        SetPerPageQuietly(u"70"_s);
    };
    perPage->setText(u"abc"_s);
    QCOMPARE(modals.TakeTexts(), QStringList{u"'abc' is not a valid integer value."_s});

    // The same text again, from every trigger: counted, no box, pages left alone.
    SelectChars(memo, 0, 3);  // "a CR LF b" selected: 2 lines
    QTest::mouseMove(memo->viewport(), QPoint(15, 10));
    QTest::mouseMove(memo->viewport(), QPoint(25, 12));
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    ReleaseKey();
    memo->appendBytes("\r\nc\r\nd");
    QCOMPARE(modals.TakeTexts(), QStringList());
    QCOMPARE(lines->text(), u"4"_s);
    QCOMPARE(pages->text(), u"1"_s);

    // A changed text that is still bad is reported again, once.
    perPage->setText(u"abcd"_s);
    ReleaseKey();
    memo->appendBytes("\r\ne");
    QCOMPARE(modals.TakeTexts(), QStringList{u"'abcd' is not a valid integer value."_s});
    QCOMPARE(lines->text(), u"5"_s);
    QCOMPARE(pages->text(), u"1"_s);

    // Back to a text reported before: it is new against the last one, so it is reported.
    perPage->setText(u"abc"_s);
    QCOMPARE(modals.TakeTexts(), QStringList{u"'abc' is not a valid integer value."_s});

    // A zero is a failure of its own text too.
    perPage->setText(u"0"_s);
    ReleaseKey();
    QCOMPARE(modals.TakeTexts(), QStringList{u"Division by zero."_s});

    // A valid value counts again and forgets the last failure.
    perPage->setText(u"2"_s);
    QCOMPARE(modals.TakeTexts(), QStringList());
    QCOMPARE(pages->text(), u"3"_s);
    perPage->setText(u"0"_s);
    ReleaseKey();
    QCOMPARE(modals.TakeTexts(), QStringList{u"Division by zero."_s});
    QCOMPARE(pages->text(), u"3"_s);
  }
};

PL4120_TEST_MAIN(TestCounters)
#include "test_counters.moc"
