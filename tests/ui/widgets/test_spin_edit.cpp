#include <QElapsedTimer>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <climits>
#include <vector>

#include "WindowTest.h"
#include "ui/widgets/SpinEdit.h"

// The spacing spin edits of the settings page, between their neighbours in the tab chain.
class TestSpinEdit : public TWindowTest {
  Q_OBJECT

 public:
  TestSpinEdit() : TWindowTest(Start::Active, "PageSets") {}

 private:
  QWidget* before_ = nullptr;
  TSpinEdit* limited_ = nullptr;    // 0..85, 8
  TSpinEdit* unlimited_ = nullptr;  // 0..0, 24
  QWidget* after_ = nullptr;

  void SetUp() override {
    before_ = Get<QRadioButton>("Hei3spi");
    limited_ = Get<TSpinEdit>("SpinEdit1");
    unlimited_ = Get<TSpinEdit>("SpinEdit2");
    after_ = Get<QPushButton>("QuitNoSv");
  }

  static QToolButton* Arrow(TSpinEdit* spin, const char* name) {
    return Find<QToolButton>(spin, name);
  }
  static void Click(TSpinEdit* spin, const char* name) {
    QTest::mouseClick(Arrow(spin, name), Qt::LeftButton);
  }
  /// Replaces the text by typing, as the user would after selecting it all.
  static void Type(TSpinEdit* spin, const QString& text) {
    spin->editor()->setFocus();
    QTRY_VERIFY(spin->editor()->hasFocus());
    spin->editor()->selectAll();
    QTest::keyClicks(spin->editor(), text);
  }

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

  void arrowsStandUpAboveDownAtTheRightEdge() {
    const QRect up = Arrow(limited_, "up")->geometry();
    const QRect down = Arrow(limited_, "down")->geometry();
    QVERIFY(up.bottom() < down.top());
    QCOMPARE(up.left(), down.left());
    QVERIFY(up.right() < limited_->width());
    QVERIFY(up.right() >= limited_->width() - 4);
    QCOMPARE(Arrow(limited_, "up")->focusPolicy(), Qt::NoFocus);
  }

  void arrowButtons_data() {
    QTest::addColumn<bool>("limits");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QByteArray>("arrow");
    QTest::addColumn<QString>("result");
    QTest::newRow("up at max stays") << true << "85" << QByteArray("up") << "85";
    QTest::newRow("down at min stays") << true << "0" << QByteArray("down") << "0";
    QTest::newRow("up") << true << "8" << QByteArray("up") << "9";
    QTest::newRow("up from above max") << true << "100" << QByteArray("up") << "85";
    QTest::newRow("up from below min") << true << "-5" << QByteArray("up") << "0";
    QTest::newRow("up from a lone minus") << true << "-" << QByteArray("up") << "1";
    QTest::newRow("up from letters") << true << "abc" << QByteArray("up") << "1";
    QTest::newRow("up from hex") << true << "$10" << QByteArray("up") << "17";
    QTest::newRow("unlimited up") << false << "24" << QByteArray("up") << "25";
    QTest::newRow("unlimited down below 0") << false << "0" << QByteArray("down") << "-1";
    QTest::newRow("unlimited far") << false << "1000" << QByteArray("up") << "1001";
    QTest::newRow("stops at the top of the range")
        << false << "2147483647" << QByteArray("up") << "2147483647";
    QTest::newRow("stops at the bottom of the range")
        << false << "-2147483648" << QByteArray("down") << "-2147483648";
  }
  void arrowButtons() {
    QFETCH(bool, limits);
    QFETCH(QString, start);
    QFETCH(QByteArray, arrow);
    QFETCH(QString, result);
    TSpinEdit* spin = limits ? limited_ : unlimited_;
    spin->editor()->setText(start);
    Click(spin, arrow.constData());
    QCOMPARE(spin->text(), result);
  }

  void upDownKeysStepAndLimit() {
    struct Case {
      TSpinEdit* spin;
      const char* start;
      Qt::Key key;
      const char* result;
    };
    const Case cases[] = {
        {limited_, "85", Qt::Key_Up, "85"},    {limited_, "0", Qt::Key_Down, "0"},
        {limited_, "-", Qt::Key_Up, "1"},      {limited_, "200", Qt::Key_Down, "85"},
        {unlimited_, "0", Qt::Key_Down, "-1"}, {unlimited_, "24", Qt::Key_Up, "25"},
    };
    for (const Case& c : cases) {
      c.spin->editor()->setText(QString::fromLatin1(c.start));
      c.spin->editor()->setFocus();
      QTest::keyClick(c.spin->editor(), c.key);
      QCOMPARE(c.spin->text(), QString::fromLatin1(c.result));
    }
  }

  void leavingLimitsTheTypedText_data() {
    QTest::addColumn<bool>("limits");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("above max") << true << "100"
                               << "85";
    QTest::newRow("below min") << true << "-5"
                               << "0";
    QTest::newRow("lone minus stays") << true << "-"
                                      << "-";
    QTest::newRow("in range") << true << "+42"
                              << "+42";
    QTest::newRow("decimal stays") << true << "1,5"
                                   << "1,5";
    QTest::newRow("unlimited keeps") << false << "1000"
                                     << "1000";
    QTest::newRow("unlimited negative") << false << "-7"
                                        << "-7";
  }
  void leavingLimitsTheTypedText() {
    QFETCH(bool, limits);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TSpinEdit* spin = limits ? limited_ : unlimited_;
    Type(spin, typed);
    QCOMPARE(spin->text(), typed);  // nothing is limited while typing
    after_->setFocus();
    QTRY_VERIFY(after_->hasFocus());
    QCOMPARE(spin->text(), shown);
  }

  void tabAfterTypingLimits() {
    Type(limited_, QStringLiteral("100"));
    QTest::keyClick(limited_->editor(), Qt::Key_Tab);
    QTRY_VERIFY(!limited_->editor()->hasFocus());
    QCOMPARE(limited_->text(), QStringLiteral("85"));
  }

  void loneMinusThenUpGivesOne() {
    Type(limited_, QStringLiteral("-"));
    after_->setFocus();
    QTRY_VERIFY(after_->hasFocus());
    QCOMPARE(limited_->text(), QStringLiteral("-"));
    QCOMPARE(limited_->Value(), 0);
    Click(limited_, "up");
    QCOMPARE(limited_->text(), QStringLiteral("1"));
  }

  void textThatDoesNotConvertReadsAsMinValue() {
    struct Case {
      const char* text;
      std::int32_t min;
      std::int32_t value;
    };
    const Case cases[] = {
        {"abc", 0, 0}, {"", 5, 5}, {"1,5", -3, -3}, {" 12", 0, 12}, {"x1F", 0, 31}};
    for (const Case& c : cases) {
      limited_->SetMinValue(c.min);
      limited_->editor()->setText(QString::fromLatin1(c.text));
      QCOMPARE(limited_->Value(), c.value);
    }
  }

  void refusedKeysBeepAndChangeNothing_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("refused");
    QTest::newRow("letter") << int(Qt::Key_A) << "a" << 0 << true;
    QTest::newRow("cyrillic") << int(Qt::Key_unknown) << "ж" << 0 << true;
    QTest::newRow("enter") << int(Qt::Key_Return) << "\r" << 0 << true;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << "\r" << int(Qt::KeypadModifier) << true;
    QTest::newRow("blank") << int(Qt::Key_Space) << " " << 0 << true;
    QTest::newRow("point is not the separator here") << int(Qt::Key_Period) << "." << 0 << true;
    QTest::newRow("alt letter") << int(Qt::Key_B) << "b" << int(Qt::AltModifier) << true;
    QTest::newRow("digit") << int(Qt::Key_5) << "5" << 0 << false;
    QTest::newRow("plus") << int(Qt::Key_Plus) << "+" << 0 << false;
    QTest::newRow("minus") << int(Qt::Key_Minus) << "-" << 0 << false;
    QTest::newRow("separator") << int(Qt::Key_Comma) << "," << 0 << false;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << "\b" << 0 << false;
    QTest::newRow("delete") << int(Qt::Key_Delete) << "\x7f" << 0 << false;
    QTest::newRow("escape") << int(Qt::Key_Escape) << "\x1b" << 0 << false;
    QTest::newRow("home") << int(Qt::Key_Home) << "" << 0 << false;
    QTest::newRow("ctrl a") << int(Qt::Key_A) << "a" << int(Qt::ControlModifier) << false;
  }
  void refusedKeysBeepAndChangeNothing() {
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(int, modifiers);
    QFETCH(bool, refused);
    QLineEdit* edit = limited_->editor();
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());
    edit->setCursorPosition(1);
    QSignalSpy beeps(limited_, &TSpinEdit::keyRefused);
    QSignalSpy finished(edit, &QLineEdit::returnPressed);
    QTest::sendKeyEvent(QTest::Press, edit, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QTest::sendKeyEvent(QTest::Release, edit, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(beeps.count(), refused ? 1 : 0);
    if (refused) {
      QCOMPARE(edit->text(), QStringLiteral("8"));
      QCOMPARE(finished.count(), 0);
    }
  }

  void typedDigitsAndSignsGoIn() {
    Type(unlimited_, QStringLiteral("-12,5+"));
    QCOMPARE(unlimited_->text(), QStringLiteral("-12,5+"));
    QCOMPARE(unlimited_->Value(), 0);
  }

  void keyboardEntrySelectsAll() {
    before_->setFocus();
    QTRY_VERIFY(before_->hasFocus());
    limited_->editor()->deselect();
    QTest::keyClick(before_, Qt::Key_Tab);
    QTRY_VERIFY(limited_->editor()->hasFocus());
    QCOMPARE(limited_->editor()->selectedText(), QStringLiteral("8"));
    QTest::keyClick(limited_->editor(), Qt::Key_Tab);
    QTRY_VERIFY(unlimited_->editor()->hasFocus());
    QCOMPARE(unlimited_->editor()->selectedText(), QStringLiteral("24"));
    QTest::keyClick(unlimited_->editor(), Qt::Key_Tab);
    QTRY_VERIFY(after_->hasFocus());
    QTest::keyClick(after_, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(unlimited_->editor()->hasFocus());
    QCOMPARE(unlimited_->editor()->selectedText(), QStringLiteral("24"));
  }

  void mouseEntryDoesNotSelectAll() {
    before_->setFocus();
    QTRY_VERIFY(before_->hasFocus());
    QTest::mouseClick(limited_->editor(), Qt::LeftButton, {}, QPoint(4, 10));
    QTRY_VERIFY(limited_->editor()->hasFocus());
    QVERIFY(limited_->editor()->selectedText().isEmpty());
  }

  void shortClickStepsOnceOnRelease() {
    QToolButton* up = Arrow(unlimited_, "up");
    QTest::mousePress(up, Qt::LeftButton);
    QCOMPARE(unlimited_->text(), QStringLiteral("24"));
    QTest::mouseRelease(up, Qt::LeftButton);
    QCOMPARE(unlimited_->text(), QStringLiteral("25"));
    // A release off the button is no click.
    QTest::mousePress(up, Qt::LeftButton);
    QTest::mouseRelease(up, Qt::LeftButton, {}, QPoint(-20, -20));
    QCOMPARE(unlimited_->text(), QStringLiteral("25"));
  }

  void holdingAnArrowRepeats() {
    QToolButton* down = Arrow(unlimited_, "down");
    auto* timer = unlimited_->findChild<QTimer*>(QStringLiteral("repeat"));
    QVERIFY(timer);
    std::vector<qint64> stepTimes;
    QElapsedTimer clock;
    connect(unlimited_->editor(), &QLineEdit::textChanged, this,
            [&] { stepTimes.push_back(clock.elapsed()); });
    clock.start();
    QTest::mousePress(down, Qt::LeftButton);
    QVERIFY(stepTimes.empty());
    QVERIFY(timer->isActive());
    QCOMPARE(timer->interval(), TSpinEdit::kRepeatDelayMs);
    QTRY_VERIFY_WITH_TIMEOUT(stepTimes.size() >= 1, 10 * TSpinEdit::kRepeatDelayMs);
    QCOMPARE(timer->interval(), TSpinEdit::kRepeatIntervalMs);
    QTRY_VERIFY_WITH_TIMEOUT(stepTimes.size() >= 3, 20 * TSpinEdit::kRepeatIntervalMs);
    const std::size_t steps = stepTimes.size();
    QTest::mouseRelease(down, Qt::LeftButton);
    QCOMPARE(stepTimes.size(), steps);  // the release after repeating does not step once more
    QVERIFY(!timer->isActive());
    QCOMPARE(unlimited_->text(), QString::number(24 - static_cast<int>(steps)));
    // Timers may be late on a busy machine, never early (a millisecond of rounding aside).
    QVERIFY2(stepTimes[0] >= TSpinEdit::kRepeatDelayMs - 1,
             qPrintable(QString::number(stepTimes[0])));
    for (std::size_t i = 1; i < steps; ++i) {
      QVERIFY(stepTimes[i] - stepTimes[i - 1] >= TSpinEdit::kRepeatIntervalMs - 1);
    }
    // Nor does anything step after the release.
    QTest::qWait(TSpinEdit::kRepeatIntervalMs / 2);
    QCOMPARE(stepTimes.size(), steps);
  }
};

PL4120_TEST_MAIN(TestSpinEdit)
#include "test_spin_edit.moc"
