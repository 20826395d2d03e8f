#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>
#include <string>

#include "WindowTest.h"
#include "ui/printing/PrintQueue.h"
#include "ui/widgets/OemMemo.h"

using namespace Qt::StringLiterals;

class TestPrinting : public TWindowTest {
  Q_OBJECT

 public:
  TestPrinting() : TWindowTest(Start::Shown, "pgTxtEdt") {}

 private:
  QString device;
  TOemMemo* memo = nullptr;
  QPushButton* print = nullptr;
  QPushButton* eject = nullptr;
  QCheckBox* formFeed = nullptr;

  void SetUp() override {
    device = TempPath(u"printer.out"_s);
    memo = Get<TOemMemo>("mmText");
    print = Get<QPushButton>("btPrinTx");
    eject = Get<QPushButton>("bbNxPage");
    formFeed = Get<QCheckBox>("cbNxPage");
    QVERIFY(print->isVisible() && eject->isVisible());
    QVERIFY(formFeed->isChecked());
    Get<QLineEdit>("PrnName")->setText(device);
  }

  QByteArray Sent() const { return ReadFile(device); }
  /// Leaves something in the output file, so that an empty send shows as an emptied file.
  void FillDevice() const {
    QFile file(device);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("old content");
  }

 private slots:
  void printsTextOrSelection_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("withFormFeed");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("a CR LF b, form feed")
        << QByteArray("a\r\nb") << 0 << 0 << true << QByteArray("a\r\nb\x0C");
    QTest::newRow("a CR LF b") << QByteArray("a\r\nb") << 0 << 0 << false << QByteArray("a\r\nb");
    QTest::newRow("b selected, form feed")
        << QByteArray("a\r\nb") << 2 << 3 << true << QByteArray("b\x0C");
    QTest::newRow("b selected backwards")
        << QByteArray("a\r\nb") << 3 << 2 << false << QByteArray("b");
    QTest::newRow("line end selected")
        << QByteArray("a\r\nb") << 1 << 2 << false << QByteArray("\r\n");
    QTest::newRow("ends with a line end")
        << QByteArray("a\r\n") << 0 << 0 << true << QByteArray("a\r\n\x0C");
    QTest::newRow("empty, form feed") << QByteArray() << 0 << 0 << true << QByteArray("\x0C");
    QTest::newRow("empty") << QByteArray() << 0 << 0 << false << QByteArray();
    QTest::newRow("control bytes kept")
        << QByteArray("\x1B\x40x\x0Cy") << 0 << 0 << false << QByteArray("\x1B\x40x\x0Cy");
  }
  void printsTextOrSelection() {
    QFETCH(QByteArray, text);
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(bool, withFormFeed);
    QFETCH(QByteArray, sent);
    memo->setBytes(text.toStdString());
    SelectChars(memo, anchor, position);
    formFeed->setChecked(withFormFeed);
    FillDevice();
    QTest::mouseClick(print, Qt::LeftButton);
    QVERIFY(SendsDone());
    QCOMPARE(Sent(), sent);
    QVERIFY(print->isEnabled());
    QVERIFY(!window()->Sending().PrintBusy());
  }

  void ejectSendsOneFormFeed() {
    memo->setBytes("a\r\nb");
    SelectChars(memo, 0, 3);
    formFeed->setChecked(false);
    FillDevice();
    QTest::mouseClick(eject, Qt::LeftButton);
    QVERIFY(SendsDone());
    QCOMPARE(Sent(), QByteArray("\x0C"));
    QCOMPARE(memo->bytes(), std::string("a\r\nb"));
  }

  void typedCyrillicArrivesAsCp866() {
    // Another character table on the settings page changes nothing about the text's bytes.
    Get<QRadioButton>("LangKoi8")->setChecked(true);
    memo->setFocus();
    Type(memo, u"Привет"_s);
    QTest::keyClick(memo, Qt::Key_Return);
    Type(memo, u"мир"_s);
    QTest::mouseClick(print, Qt::LeftButton);
    QVERIFY(SendsDone());
    QCOMPARE(Sent(), QByteArray("\x8F\xE0\xA8\xA2\xA5\xE2\r\n\xAC\xA8\xE0\x0C"));
  }

  void selectionAndCaretStayAfterPrinting() {
    memo->setBytes("one\r\ntwo\r\nthree");
    SelectChars(memo, 5, 2);  // "e CR LF t", the caret at its start
    const qint64 start = SelectionStartInBytes(memo);
    const qint64 length = memo->selLength();
    QTest::mouseClick(print, Qt::LeftButton);
    QVERIFY(SendsDone());
    QCOMPARE(Sent(), QByteArray("e\r\nt\x0C"));
    QCOMPARE(memo->textCursor().anchor(), 5);
    QCOMPARE(memo->textCursor().position(), 2);
    QCOMPARE(SelectionStartInBytes(memo), start);
    QCOMPARE(memo->selLength(), length);
    QCOMPARE(memo->bytes(), std::string("one\r\ntwo\r\nthree"));
  }

  void failingDeviceLeavesTextAndButton() {
    Get<QLineEdit>("PrnName")->setText(TempPath(u"missing/printer.out"_s));
    memo->setBytes("keep\r\nme");

    QTest::mouseClick(print, Qt::LeftButton);

    // The click returns at once; the button waits for its job.
    QVERIFY(!print->isEnabled());
    QVERIFY(window()->Sending().PrintBusy());
    QVERIFY(SendsDone());
    QCOMPARE(modals.TakeTexts().size(), 1);
    QVERIFY(print->isEnabled());
    QVERIFY(!window()->Sending().PrintBusy());
    QCOMPARE(memo->bytes(), std::string("keep\r\nme"));
    QVERIFY(!QFile::exists(TempPath(u"missing"_s)));
  }
};

PL4120_TEST_MAIN(TestPrinting)
#include "test_printing.moc"
