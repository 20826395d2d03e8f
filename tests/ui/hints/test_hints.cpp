#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>
#include <memory>
#include <vector>

#include "WindowTest.h"
#include "ui/hints/HintManager.h"
#include "ui/hints/HintTexts.h"

using namespace Qt::StringLiterals;

namespace {

// A point that lies outside every window (the offscreen screen is 800 x 800).
const QPoint kOutside(2000, 2000);

THintManager& Hints() {
  return TApplication::Instance()->Hints();
}

QString U(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// Runs the real event loop (the idle step and the timers need it) for a while.
void RunLoop(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// Lets the moves just made be handled and the idle step follow them.
void Settle() {
  RunLoop(40);
}

QWidget* TipLabel() {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->inherits("QTipLabel") && top->isVisible()) {
      return top;
    }
  }
  return nullptr;
}

// Watches the tooltip label and records when it is shown and hidden.
class TipWatch : public QObject {
 public:
  int shows = 0;
  qint64 shownAt = -1;
  qint64 hiddenAt = -1;
  QElapsedTimer clock;

  TipWatch() {
    clock.start();
    qApp->installEventFilter(this);
  }
  ~TipWatch() override { qApp->removeEventFilter(this); }

  // Runs the loop until the tooltip is visible (true) or the time is up (false).
  bool WaitShown(int timeoutMs) { return Wait(timeoutMs, true); }
  bool WaitHidden(int timeoutMs) { return Wait(timeoutMs, false); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched->inherits("QTipLabel")) {
      if (event->type() == QEvent::Show) {
        ++shows;
        shownAt = clock.elapsed();
        Done(true);
      } else if (event->type() == QEvent::Hide) {
        hiddenAt = clock.elapsed();
        Done(false);
      }
    }
    return false;
  }

 private:
  bool Wait(int timeoutMs, bool visible) {
    if (QToolTip::isVisible() == visible) {
      return true;
    }
    QEventLoop loop;
    loop_ = &loop;
    want_ = visible;
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    loop.exec();
    loop_ = nullptr;
    return QToolTip::isVisible() == visible;
  }
  void Done(bool visible) {
    if (loop_ && want_ == visible) {
      loop_->quit();
    }
  }

  QEventLoop* loop_ = nullptr;
  bool want_ = true;
};

// Whether the widget found at a point is `control` itself or an inner part of it (a part that
// Qt builds and names "qt_...", or an unnamed one, or a piece of a spin edit).
bool BelongsTo(const QWidget* at, const QWidget* control) {
  for (const QWidget* w = at; w; w = w->parentWidget()) {
    if (w == control) {
      return true;
    }
    const QString name = w->objectName();
    const bool part = name.isEmpty() || name.startsWith(u"qt_") ||
                      (w->parentWidget() && w->parentWidget()->inherits("TSpinEdit"));
    if (!part) {
      return false;
    }
  }
  return false;
}

// Two points of the control, in its own coordinates, where no other control covers it.
std::vector<QPoint> FreePoints(QWidget* control) {
  std::vector<QPoint> found;
  for (int y = 1; y < control->height() - 1 && found.size() < 2; y += 2) {
    for (int x = 1; x < control->width() - 1 && found.size() < 2; x += 2) {
      const QPoint local(x, y);
      if (BelongsTo(QApplication::widgetAt(control->mapToGlobal(local)), control)) {
        found.push_back(local);
      }
    }
  }
  return found;
}

constexpr const char* kWidth = "Установка ширины символов";

}  // namespace

class HintsTest : public TWindowTest {
  Q_OBJECT

 public:
  HintsTest() : TWindowTest(Start::Active, "PageSets") {}

 private:
  QString Status() const { return Get<QStatusBar>("StatusBar1")->currentMessage(); }

  void SetUp() override { Settle(); }
  void TearDown() override {
    Hints().SetOnHint({});
    QCursor::setPos(kOutside);
    Settle();
  }

  void ShowPage(const char* page) {
    TWindowTest::ShowPage(page);
    Settle();
  }

  // Moves the pointer onto a free point of the control (the first or the second one found).
  void MoveOnto(QWidget* control, int which = 0) {
    const std::vector<QPoint> points = FreePoints(control);
    QVERIFY2(points.size() == 2, qPrintable(u"no free point on "_s + control->objectName()));
    QTest::mouseMove(control, points[static_cast<std::size_t>(which)]);
  }
  void MoveOnto(const char* name, int which = 0) { MoveOnto(Get(name), which); }

  // Rests on WidElite until its tooltip shows: from then on hint-active is set.
  void ShowFirstTooltip(TipWatch& tips) {
    MoveOnto("WidElite");
    QVERIFY(tips.WaitShown(3000));
    QVERIFY(Hints().HintActive());
  }

  // Every control the pointer can rest on, with its page: the status line, the tab row, and
  // each page with the controls on it (the text page itself is covered by them).
  QList<QPair<QWidget*, const char*>> Controls() const {
    QList<QPair<QWidget*, const char*>> controls{{Get<QStatusBar>("StatusBar1"), "PageSets"},
                                                 {Get<QTabWidget>("pcFeauts"), "PageSets"}};
    for (const char* page :
         {"PageSets", "pgTxtEdt", "PageSymb", "PageGraf", "PageCtrA", "Empty4", "Empty5"}) {
      QWidget* pageWidget = Get(page);
      if (pageWidget != Get<QWidget>("pgTxtEdt")) {
        controls.append({pageWidget, page});
      }
      for (QWidget* w : pageWidget->findChildren<QWidget*>()) {
        const bool named = !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_");
        if (named && !w->parentWidget()->inherits("TSpinEdit")) {
          controls.append({w, page});
        }
      }
    }
    return controls;
  }

  // The pointer comes onto the control from one with another long hint and moves on it: the
  // status line shows `longHint` first and `afterMove` after the second move; the tooltip is
  // `tip` (none when empty), shown at once since hint-active is set.
  void CheckStatusAndTooltip(TipWatch& tips, QWidget* control, const QString& tip,
                             const QString& longHint, const QString& afterMove) {
    const QString name = control->objectName();
    MoveOnto(control == Get<QStatusBar>("StatusBar1") ? "pcFeauts" : "StatusBar1");
    Settle();
    MoveOnto(control, 0);
    Settle();
    QVERIFY2(Status() == longHint, qPrintable(name + u": status "_s + Status()));
    if (!tip.isEmpty()) {
      QVERIFY2(tips.WaitShown(400), qPrintable(name + u": no tooltip"_s));
      QVERIFY2(QToolTip::text() == tip, qPrintable(name + u": tooltip "_s + QToolTip::text()));
    } else {
      RunLoop(60);
      QVERIFY2(!QToolTip::isVisible(), qPrintable(name + u": unexpected tooltip"_s));
    }
    MoveOnto(control, 1);
    Settle();
    QVERIFY2(Status() == afterMove, qPrintable(name + u": status after a move "_s + Status()));
  }

 private slots:
  void initTestCase() {
    QCursor::setPos(kOutside);
    Hints().CancelHint();
    Hints().SetHint(QString());
  }

  // --- the idle step ---------------------------------------------------------------------

  void idleStepRunsOnlyAfterTheQueueHasDrained() {
    // A chain of posted events, each posting the next: the step must wait for the last one.
    struct Chain : QObject {
      QStringList* log = nullptr;
      int left = 0;
      void customEvent(QEvent* /*event*/) override {
        log->append(QStringLiteral("event"));
        if (--left > 0) {
          QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
      }
    };
    Settle();
    QStringList log;
    Chain chain;
    chain.log = &log;
    chain.left = 40;
    QMetaObject::Connection c = connect(&Hints(), &THintManager::IdleStepRan,
                                        [&log] { log.append(QStringLiteral("idle")); });
    QCoreApplication::postEvent(&chain, new QEvent(QEvent::User));
    RunLoop(100);
    disconnect(c);
    QCOMPARE(log.count(QStringLiteral("event")), 40);
    QVERIFY(log.contains(QStringLiteral("idle")));
    QCOMPARE(log.indexOf(QStringLiteral("idle")), 40);
  }

  void idleStepRunsUnderNestedProcessEventsAndDoesNotSpin() {
    QSignalSpy idle(&Hints(), &THintManager::IdleStepRan);
    QTest::mouseMove(Get<QCheckBox>("WidElite"), QPoint(3, 3));
    QTest::qWait(60);  // processEvents() only: the dispatcher never blocks here
    QVERIFY(idle.count() >= 1);
    QCOMPARE(Status(), U("Уплотнённая печать"));
    // Away from every window nothing is pending (no tooltip timer): no step follows, and
    // above all no busy loop of steps.
    QCursor::setPos(kOutside);
    RunLoop(200);
    idle.clear();
    RunLoop(500);
    QVERIFY2(idle.count() <= 1, qPrintable(QString::number(idle.count())));
  }

  void hintEventRunsOnlyWhenTheHintChanges() {
    int calls = 0;
    Hints().SetOnHint([&] {
      ++calls;
      window()->ShowApplicationHint();
    });
    MoveOnto("WidElite", 0);
    Settle();
    QCOMPARE(calls, 1);
    for (int i = 0; i < 5; ++i) {
      MoveOnto("WidElite", i % 2);
      Settle();
    }
    QCOMPARE(calls, 1);
    MoveOnto("StDouble");
    Settle();
    QCOMPARE(calls, 2);
  }

  void initialTextStaysUntilThePointerComesOverTheWindow() {
    Settle();
    QCOMPARE(Status(), U("Работа с принтером \"ПЛ 4120\""));
    MoveOnto("PrnName");
    Settle();
    QCOMPARE(Status(), U("Имя устройства вывода (принтер или файл)"));
  }

  void pointerLeavingEveryWindowEmptiesTheStatusLine() {
    TipWatch tips;
    ShowFirstTooltip(tips);
    QCursor::setPos(kOutside);
    Settle();
    QCOMPARE(Status(), QString());
    QVERIFY(!QToolTip::isVisible());
    QVERIFY(!Hints().HintActive());
    QVERIFY(Hints().HintControl() == nullptr);
    QVERIFY(!Hints().TimerActive());
  }

  // --- the status line -------------------------------------------------------------------

  void aMoveRunsOnlyTheHandlerOfTheControlUnderThePointer() {
    // One move, sent where the window system sends it (to the deepest widget at the point),
    // and the status line read before the idle step: the control's own handler has written
    // its fixed text, or no handler has written anything.
    int handlers = 0;
    for (const auto& [control, page] : Controls()) {
      ShowPage(page);
      const std::vector<QPoint> points = FreePoints(control);
      QVERIFY2(!points.empty(), qPrintable(control->objectName()));
      const QPoint global = control->mapToGlobal(points.front());
      QWidget* target = QApplication::widgetAt(global);
      Get<QStatusBar>("StatusBar1")->showMessage(u"-"_s);
      QMouseEvent move(QEvent::MouseMove, target->mapFromGlobal(global), global, Qt::NoButton,
                       Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(target, &move);
      const QString fixed = MouseMoveText(control);
      QVERIFY2(Status() == (fixed.isEmpty() ? u"-"_s : fixed),
               qPrintable(control->objectName() + u": "_s + Status()));
      handlers += fixed.isEmpty() ? 0 : 1;
    }
    QCOMPARE(handlers, 21);
  }

  void writingTheShownTextRepaintsNothing() {
    struct PaintCount : QObject {
      int paints = 0;
      bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
          ++paints;
        }
        return false;
      }
    } count;
    window()->ShowMouseMoveText(Get<QCheckBox>("WidElite"));
    RunLoop(60);
    Get<QStatusBar>("StatusBar1")->installEventFilter(&count);
    QSignalSpy changed(Get<QStatusBar>("StatusBar1"), &QStatusBar::messageChanged);
    for (int i = 0; i < 5; ++i) {
      window()->ShowMouseMoveText(Get<QCheckBox>("WidElite"));
    }
    RunLoop(60);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(count.paints, 0);
    window()->ShowMouseMoveText(Get<QCheckBox>("StDouble"));
    RunLoop(60);
    QCOMPARE(changed.count(), 1);
    QVERIFY(count.paints > 0);  // the counter does see a real change
  }

  void statusAndTooltipControlByControl() {
    TipWatch tips;
    ShowFirstTooltip(tips);
    for (const auto& [control, page] : Controls()) {
      ShowPage(page);
      const QString hint = EffectiveHint(control);
      const QString fixed = MouseMoveText(control);
      CheckStatusAndTooltip(tips, control, ShortHint(hint), LongHint(hint),
                            fixed.isEmpty() ? LongHint(hint) : fixed);
      if (QTest::currentTestFailed()) {
        return;
      }
    }
  }

  // The texts themselves where they are the point: inherited from a container, split at the
  // "|", a fixed text other than the hint, a caption other than the hint.
  void textsTheUserSees_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("tip");
    QTest::addColumn<QString>("longHint");
    QTest::addColumn<QString>("afterMove");
    const QString width = U(kWidth);
    const QString height = u"Установка вертикальной плотности"_s;
    const QString settings = u"Вкладка \"Установки принтера\""_s;
    const QString all = u"Полный ассортимент работ"_s;
    QTest::addRow("StatusBar1") << u"PageSets"_s << u"Статусная строка"_s << u"Статусная строка"_s
                                << u"Статусная строка"_s;
    QTest::addRow("Wid12smb") << u"PageSets"_s << width << width << u"Ширина 12 символов на дюйм"_s;
    QTest::addRow("WidExten") << u"PageSets"_s << u"Двойная печать"_s << u"Двойная печать"_s
                              << u"Двойная печать"_s;
    QTest::addRow("LangKoi8") << u"PageSets"_s << u"Кодировка КОИ-8  (UNIX-тексты)"_s
                              << u"Кодировка КОИ-8  (UNIX-тексты)"_s
                              << u"Кодировка КОИ-8  (UNIX-тексты)"_s;
    QTest::addRow("SpinEdit1") << u"PageSets"_s << height << height << height;
    QTest::addRow("RadioButton1") << u"PageSets"_s << settings << settings << settings;
    QTest::addRow("PrnName") << u"PageSets"_s << u"Имя устройства"_s
                             << u"Имя устройства вывода (принтер или файл)"_s
                             << u"Имя устройства вывода (принтер или файл)"_s;
    QTest::addRow("QuitNoSv") << u"PageSets"_s << QString()
                              << u"Выход без сохранения текущих настроек"_s
                              << u"Выход без сохранения текущих настроек"_s;
    QTest::addRow("edTextFN") << u"pgTxtEdt"_s << u"Имя файла"_s << u"Имя файла текущего текста"_s
                              << u"Имя файла текущего текста"_s;
    QTest::addRow("lbCurXps") << u"pgTxtEdt"_s << all << all << all;
  }
  void textsTheUserSees() {
    QFETCH(QString, page);
    QFETCH(QString, tip);
    QFETCH(QString, longHint);
    QFETCH(QString, afterMove);
    TipWatch tips;
    ShowFirstTooltip(tips);
    ShowPage(page.toLatin1().constData());
    CheckStatusAndTooltip(tips, Get(QTest::currentDataTag()), tip, longHint, afterMove);
  }

  void menuBarShowsTheWindowsLongHintAndNoTooltip() {
    TipWatch tips;
    ShowFirstTooltip(tips);
    MoveOnto(Get<QMenuBar>("mnMain"));
    Settle();
    QCOMPARE(Status(), U("Работа с принтером \"ПЛ 4120\"asd"));
    QVERIFY(!QToolTip::isVisible());
    QVERIFY(!Hints().HintActive());
    const int shows = tips.shows;
    RunLoop(700);
    QCOMPARE(tips.shows, shows);
  }

  // --- the sequences of the settings page ------------------------------------------------

  void widEliteTooltipTiming() {
    TipWatch tips;
    QTest::mouseClick(Get<QLabel>("imMyPrnt"), Qt::LeftButton, {}, QPoint(2, 2));
    QVERIFY(!Hints().HintActive());
    const qint64 movedAt = tips.clock.elapsed();
    MoveOnto("WidElite");
    Settle();
    QCOMPARE(Status(), U("Уплотнённая печать"));
    QVERIFY(!QToolTip::isVisible());
    QVERIFY(tips.WaitShown(3000));
    QVERIFY2(tips.shownAt - movedAt >= 500, qPrintable(QString::number(tips.shownAt - movedAt)));
    QCOMPARE(QToolTip::text(), U("Уплотнённая печать"));
    // Just below the pointer.
    QWidget* label = TipLabel();
    QVERIFY(label);
    const QPoint pointer = QCursor::pos();
    QVERIFY2(label->y() > pointer.y() && label->y() <= pointer.y() + 40,
             qPrintable(QString::number(label->y() - pointer.y())));
    QVERIFY(qAbs(label->x() - pointer.x()) <= 20);
    // Hidden after the display time.
    const qint64 shownAt = tips.shownAt;
    QVERIFY(tips.WaitHidden(4000));
    QVERIFY2(tips.hiddenAt - shownAt >= 2500, qPrintable(QString::number(tips.hiddenAt - shownAt)));
    QVERIFY2(tips.hiddenAt - shownAt < 3500, qPrintable(QString::number(tips.hiddenAt - shownAt)));
    // Not again while the pointer stays on the check box.
    MoveOnto("WidElite", 1);
    RunLoop(800);
    QCOMPARE(tips.shows, 1);
    QCOMPARE(Status(), U("Уплотнённая печать"));
    QVERIFY(Hints().HintActive());
  }

  void eachMoveRestartsTheShowDelay() {
    TipWatch tips;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 4; ++i) {
      MoveOnto("StQuanty", i % 2);
      RunLoop(300);
    }
    QCOMPARE(tips.shows, 0);  // 1200 ms on the control, never 500 ms at rest
    QVERIFY(tips.WaitShown(3000));
    QCOMPARE(QToolTip::text(), U("Качественная печать"));
  }

  void quitNoSvHasNoTooltip() {
    TipWatch tips;
    MoveOnto("QuitNoSv");
    Settle();
    QCOMPARE(Status(), U("Выход без сохранения текущих настроек"));
    RunLoop(900);
    QCOMPARE(tips.shows, 0);
    QCOMPARE(Status(), U("Выход без сохранения текущих настроек"));
  }

  void prnNameTooltipAndStatus() {
    TipWatch tips;
    MoveOnto("PrnName");
    QVERIFY(tips.WaitShown(3000));
    QCOMPARE(QToolTip::text(), U("Имя устройства"));
    QCOMPARE(Status(), U("Имя устройства вывода (принтер или файл)"));
  }

  void jumpFromStDoubleOntoWid12smb() {
    TipWatch tips;
    MoveOnto("StDouble");
    Settle();
    QCOMPARE(Status(), U("Двупроходная печать"));
    MoveOnto("Wid12smb", 0);
    Settle();
    QCOMPARE(Status(), U(kWidth));
    QVERIFY(tips.WaitShown(3000));
    QCOMPARE(QToolTip::text(), U(kWidth));
    MoveOnto("Wid12smb", 1);
    Settle();
    QCOMPARE(Status(), U("Ширина 12 символов на дюйм"));
    // The other button has the same long hint: its fixed text shows at once and stays.
    MoveOnto("Wid10smb", 0);
    QCOMPARE(Status(), U("Ширина 10 символов на дюйм"));
    Settle();
    QCOMPARE(Status(), U("Ширина 10 символов на дюйм"));
  }

  void followOnTooltipWithoutWaiting() {
    TipWatch tips;
    ShowFirstTooltip(tips);
    const qint64 movedAt = tips.clock.elapsed();
    MoveOnto("StDouble");
    QVERIFY(tips.WaitShown(450));
    QVERIFY(tips.shownAt - movedAt < 450);
    QCOMPARE(QToolTip::text(), U("Двупроходная печать"));
    // Also from the resting state, after the previous tooltip has gone by itself.
    QVERIFY(tips.WaitHidden(4000));
    const qint64 again = tips.clock.elapsed();
    MoveOnto("StQuanty");
    QVERIFY(tips.WaitShown(450));
    QVERIFY(tips.shownAt - again < 450);
    QCOMPARE(QToolTip::text(), U("Качественная печать"));
  }

  void keyClickOrWheelMakesTheNextTooltipWait_data() {
    QTest::addColumn<QString>("cancel");
    QTest::newRow("key") << u"key"_s;
    QTest::newRow("click") << u"click"_s;
    QTest::newRow("wheel") << u"wheel"_s;
    QTest::newRow("deactivation") << u"deactivation"_s;
  }
  void keyClickOrWheelMakesTheNextTooltipWait() {
    QFETCH(QString, cancel);
    TipWatch tips;
    ShowFirstTooltip(tips);
    if (cancel == u"key") {
      QTest::keyClick(window(), Qt::Key_Shift);
    } else if (cancel == u"click") {
      QTest::mouseClick(Get<QLabel>("imMyPrnt"), Qt::LeftButton, {}, QPoint(2, 2));
    } else if (cancel == u"wheel") {
      const QPoint local(2, 2);
      QWheelEvent wheel(local, Get<QLabel>("imMyPrnt")->mapToGlobal(local), QPoint(),
                        QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(Get<QLabel>("imMyPrnt"), &wheel);
    } else {
      QApplicationStateChangeEvent change(Qt::ApplicationInactive);
      QApplication::sendEvent(qApp, &change);
    }
    QVERIFY(!QToolTip::isVisible());
    QVERIFY(!Hints().HintActive());
    QVERIFY(Hints().HintControl() == nullptr);
    QVERIFY(!Hints().TimerActive());
    const int shows = tips.shows;
    const qint64 movedAt = tips.clock.elapsed();
    MoveOnto("StDouble");
    RunLoop(300);
    QCOMPARE(tips.shows, shows);
    QVERIFY(tips.WaitShown(3000));
    QVERIFY(tips.shownAt - movedAt >= 500);
    QCOMPARE(QToolTip::text(), U("Двупроходная печать"));
  }

  // --- menus -----------------------------------------------------------------------------

  void openMenuEmptiesTheStatusLine() {
    TipWatch tips;
    ShowFirstTooltip(tips);
    QCOMPARE(Status(), U("Уплотнённая печать"));
    QMenuBar* bar = Get<QMenuBar>("mnMain");
    QMenu* menu = Get<QMenu>("File2");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    RunLoop(100);
    QVERIFY(menu->isVisible());
    QVERIFY(!QToolTip::isVisible());
    QVERIFY(!Hints().HintActive());
    QCOMPARE(Status(), QString());
    QTest::mouseMove(menu, menu->actionGeometry(Get<QAction>("Save4")).center());
    RunLoop(100);
    QCOMPARE(menu->activeAction(), Get<QAction>("Save4"));
    QCOMPARE(Status(), QString());
    // Put the pointer over a control and close the menu: the next idle step writes its hint.
    QCursor::setPos(
        Get<QCheckBox>("StDouble")->mapToGlobal(FreePoints(Get<QCheckBox>("StDouble")).front()));
    RunLoop(60);
    QCOMPARE(Status(), QString());
    QTest::keyClick(menu, Qt::Key_Escape);
    RunLoop(100);
    QVERIFY(!menu->isVisible());
    QCOMPARE(Status(), U("Двупроходная печать"));
  }

  void menuCommandChangesNothing() {
    QLineEdit* device = Get<QLineEdit>("PrnName");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    device->setText(dir.filePath(u"out.prn"_s));
    QMenu* menu = Get<QMenu>("File1");
    QMenuBar* bar = Get<QMenuBar>("mnMain");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    RunLoop(100);
    QVERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->actionGeometry(Get<QAction>("Save1")).center());
    RunLoop(100);
    QVERIFY(!menu->isVisible());
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(!QFile::exists(dir.filePath(u"out.prn"_s)));
    QVERIFY(!Status().isEmpty());  // the idle step after the menu wrote the hint under the pointer
  }

  // --- hints change nothing else ----------------------------------------------------------

  void hintsChangeNoSettingAndSendNothing() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString device = dir.filePath(u"out.prn"_s);
    Get<QLineEdit>("PrnName")->setText(device);
    auto snapshot = [this] {
      QStringList state;
      for (QAbstractButton* b : Get<QWidget>("PageSets")->findChildren<QAbstractButton*>()) {
        state << b->objectName() + (b->isChecked() ? u"+"_s : u"-"_s);
      }
      for (QLineEdit* e : window()->findChildren<QLineEdit*>()) {
        state << e->objectName() + u"="_s + e->text();
      }
      state << Get<QTabWidget>("pcFeauts")->currentWidget()->objectName();
      return state;
    };
    const QStringList before = snapshot();
    TipWatch tips;
    ShowFirstTooltip(tips);
    for (const auto& [control, page] : Controls()) {
      if (qstrcmp(page, "PageSets") == 0) {
        MoveOnto(control, 0);
        MoveOnto(control, 1);
        RunLoop(20);
      }
    }
    RunLoop(200);
    QCOMPARE(snapshot(), before);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(!QFile::exists(device));
  }

  void qtOwnTooltipsStaySilent() {
    Get<QPushButton>("Instruc")->setToolTip(u"foreign"_s);
    TipWatch tips;
    MoveOnto("Instruc");
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2),
                    Get<QPushButton>("Instruc")->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(Get<QPushButton>("Instruc"), &help);
    RunLoop(100);
    QCOMPARE(tips.shows, 0);
    QVERIFY(tips.WaitShown(3000));
    QCOMPARE(QToolTip::text(), U("Получение помощи"));
  }
};

PL4120_TEST_MAIN(HintsTest)
#include "test_hints.moc"
