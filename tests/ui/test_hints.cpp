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

#include "TestSupport.h"
#include "ui/HintManager.h"

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

struct TableRow {
  const char* control;
  const char* page;
  const char* fixed;  // what the control's mouse-move handler writes, or nullptr
  const char* tip;    // "" when the control shows no tooltip
  const char* longHint;
};

constexpr const char* kWidth = "Установка ширины символов";
constexpr const char* kHeight = "Установка вертикальной плотности";
constexpr const char* kSettings = "Вкладка \"Установки принтера\"";
constexpr const char* kAll = "Полный ассортимент работ";

// What the status line and the tooltip show, control by control.
const TableRow kTable[] = {
    {"StatusBar1", "PageSets", "Статусная строка", "Статусная строка", "Статусная строка"},
    {"pcFeauts", "PageSets", kAll, kAll, kAll},
    {"PageSets", "PageSets", kSettings, kSettings, kSettings},
    {"WidthSet", "PageSets", kWidth, kWidth, kWidth},
    {"WidElite", "PageSets", "Уплотнённая печать", "Уплотнённая печать", "Уплотнённая печать"},
    {"WidExten", "PageSets", "Двойная печать", "Двойная печать", "Двойная печать"},
    {"Wid12smb", "PageSets", "Ширина 12 символов на дюйм", kWidth, kWidth},
    {"Wid10smb", "PageSets", "Ширина 10 символов на дюйм", kWidth, kWidth},
    {"StyleSet", "PageSets", "Стиль (качество) печати", "Стиль (качество) печати",
     "Стиль (качество) печати"},
    {"StDouble", "PageSets", "Двупроходная печать", "Двупроходная печать", "Двупроходная печать"},
    {"StQuanty", "PageSets", "Качественная печать", "Качественная печать", "Качественная печать"},
    {"LangAltM", "PageSets", "Альтернативная кодировка ГОСТа", "Альтернативная кодировка ГОСТа",
     "Альтернативная кодировка ГОСТа"},
    {"LangKoi8", "PageSets", "Кодировка КОИ-8  (UNIX-тексты)", "Кодировка КОИ-8  (UNIX-тексты)",
     "Кодировка КОИ-8  (UNIX-тексты)"},
    {"LangComn", "PageSets", "Совмещённая кодовая таблица", "Совмещённая кодовая таблица",
     "Совмещённая кодовая таблица"},
    {"StrOutPr", "PageSets", "Пробный текст при инициализации", "Пробный текст при инициализации",
     "Пробный текст при инициализации"},
    {"SetPrint1", "PageSets", "Применить настройки принтера", "Применить настройки принтера",
     "Применить настройки принтера"},
    {"Instruc", "PageSets", "Получение помощи", "Получение помощи", "Получение помощи"},
    {"HeighSet", "PageSets", kHeight, kHeight, kHeight},
    {"Hei2spi", "PageSets", "Межстрочный интервал 2,54 mm", "Межстрочный интервал 2,54 mm",
     "Межстрочный интервал 2,54 mm"},
    {"Hei3spi", "PageSets", "Межстрочный интервал 3,175 mm", "Межстрочный интервал 3,175 mm",
     "Межстрочный интервал 3,175 mm"},
    {"Hei4spi", "PageSets", "Межстрочный интервал 4,23 mm", "Межстрочный интервал 4,23 mm",
     "Межстрочный интервал 4,23 mm"},
    {"Hei0353", "PageSets", nullptr, kHeight, kHeight},
    {"Hei0118", "PageSets", nullptr, kHeight, kHeight},
    {"SpinEdit1", "PageSets", nullptr, kHeight, kHeight},
    {"SpinEdit2", "PageSets", nullptr, kHeight, kHeight},
    {"Language", "PageSets", nullptr, "Установка кодировки символов",
     "Установка кодировки символов"},
    {"imMyPrnt", "PageSets", nullptr, "Это мой принтер!!!", "Это мой принтер!!!"},
    {"PrnName", "PageSets", nullptr, "Имя устройства", "Имя устройства вывода (принтер или файл)"},
    {"QuitNoSv", "PageSets", nullptr, "", "Выход без сохранения текущих настроек"},
    {"QuitSave", "PageSets", nullptr, "", "Выход с сохранением текущих настроек"},
    {"RadioButton1", "PageSets", nullptr, kSettings, kSettings},
    {"RadioButton2", "PageSets", nullptr, kSettings, kSettings},
    {"RadioButton3", "PageSets", nullptr, kSettings, kSettings},
    {"InitCrLf", "PageSets", nullptr, kSettings, kSettings},
    {"edTextFN", "pgTxtEdt", nullptr, "Имя файла", "Имя файла текущего текста"},
    {"mmText", "pgTxtEdt", nullptr, kAll, kAll},
    {"pnTextBt", "pgTxtEdt", nullptr, kAll, kAll},
    {"btLoadTx", "pgTxtEdt", nullptr, kAll, kAll},
    {"btMergTx", "pgTxtEdt", nullptr, kAll, kAll},
    {"btPrinTx", "pgTxtEdt", nullptr, kAll, kAll},
    {"bbNxPage", "pgTxtEdt", nullptr, kAll, kAll},
    {"lbLnTx", "pgTxtEdt", nullptr, kAll, kAll},
    {"edLnTx", "pgTxtEdt", nullptr, kAll, kAll},
    {"lbPgTx", "pgTxtEdt", nullptr, kAll, kAll},
    {"edPgTx", "pgTxtEdt", nullptr, kAll, kAll},
    {"lbLPtx", "pgTxtEdt", nullptr, kAll, kAll},
    {"edLPtx", "pgTxtEdt", nullptr, kAll, kAll},
    {"lbCurXps", "pgTxtEdt", nullptr, kAll, kAll},
    {"edCurXps", "pgTxtEdt", nullptr, kAll, kAll},
    {"lbCurYps", "pgTxtEdt", nullptr, kAll, kAll},
    {"edCurYps", "pgTxtEdt", nullptr, kAll, kAll},
    {"cbLfCrTx", "pgTxtEdt", nullptr, kAll, kAll},
    {"cbNxPage", "pgTxtEdt", nullptr, kAll, kAll},
    {"PageSymb", "PageSymb", nullptr, kAll, kAll},
    {"PageGraf", "PageGraf", nullptr, kAll, kAll},
    {"PageCtrA", "PageCtrA", nullptr, kAll, kAll},
    {"Empty4", "Empty4", nullptr, kAll, kAll},
    {"Empty5", "Empty5", nullptr, kAll, kAll},
};

}  // namespace

class HintsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TPL4120_1> window_;

  QString Status() const { return window_->StatusBar1->currentMessage(); }

  void ShowPage(const char* page) {
    window_->pcFeauts->setCurrentWidget(Find(window_.get(), page));
    Settle();
  }

  // Moves the pointer onto a free point of the control (the first or the second one found).
  void MoveOnto(QWidget* control, int which = 0) {
    const std::vector<QPoint> points = FreePoints(control);
    QVERIFY2(points.size() == 2, qPrintable(u"no free point on "_s + control->objectName()));
    QTest::mouseMove(control, points[static_cast<std::size_t>(which)]);
  }
  void MoveOnto(const char* name, int which = 0) { MoveOnto(Find(window_.get(), name), which); }

  // Rests on WidElite until its tooltip shows: from then on hint-active is set.
  void ShowFirstTooltip(TipWatch& tips) {
    MoveOnto("WidElite");
    QVERIFY(tips.WaitShown(3000));
    QVERIFY(Hints().HintActive());
  }

 private slots:
  void init() {
    QCursor::setPos(kOutside);
    Hints().CancelHint();
    Hints().SetOnHint({});
    Hints().SetHint(QString());
    window_ = std::make_unique<TPL4120_1>();
    window_->showMaximized();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    ShowPage("PageSets");
  }

  void cleanup() {
    Hints().SetOnHint({});
    window_.reset();
    QCursor::setPos(kOutside);
    Settle();
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
    QTest::mouseMove(window_->WidElite, QPoint(3, 3));
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
      window_->ShowApplicationHint();
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

  void eachMouseMoveHandlerWritesItsFixedText_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < 21; ++i) {
      QTest::addRow("%d", i) << i;
    }
  }
  void eachMouseMoveHandlerWritesItsFixedText() {
    using H = void (TPL4120_1::*)(QMouseEvent*);
    struct Entry {
      H handler;
      const char* text;
    };
    const Entry handlers[21] = {
        {&TPL4120_1::StatusBar1MouseMove, "Статусная строка"},
        {&TPL4120_1::pcFeautsMouseMove, "Полный ассортимент работ"},
        {&TPL4120_1::PageSetsMouseMove, "Вкладка \"Установки принтера\""},
        {&TPL4120_1::WidthSetMouseMove, "Установка ширины символов"},
        {&TPL4120_1::WidExtenMouseMove, "Двойная печать"},
        {&TPL4120_1::WidEliteMouseMove, "Уплотнённая печать"},
        {&TPL4120_1::Wid12smbMouseMove, "Ширина 12 символов на дюйм"},
        {&TPL4120_1::Wid10smbMouseMove, "Ширина 10 символов на дюйм"},
        {&TPL4120_1::StyleSetMouseMove, "Стиль (качество) печати"},
        {&TPL4120_1::StDoubleMouseMove, "Двупроходная печать"},
        {&TPL4120_1::StQuantyMouseMove, "Качественная печать"},
        {&TPL4120_1::LangAltMMouseMove, "Альтернативная кодировка ГОСТа"},
        {&TPL4120_1::LangKoi8MouseMove, "Кодировка КОИ-8  (UNIX-тексты)"},
        {&TPL4120_1::LangComnMouseMove, "Совмещённая кодовая таблица"},
        {&TPL4120_1::StrOutPrMouseMove, "Пробный текст при инициализации"},
        {&TPL4120_1::SetPrint1MouseMove, "Применить настройки принтера"},
        {&TPL4120_1::InstrucMouseMove, "Получение помощи"},
        {&TPL4120_1::HeighSetMouseMove, "Установка вертикальной плотности"},
        {&TPL4120_1::Hei2spiMouseMove, "Межстрочный интервал 2,54 mm"},
        {&TPL4120_1::Hei3spiMouseMove, "Межстрочный интервал 3,175 mm"},
        {&TPL4120_1::Hei4spiMouseMove, "Межстрочный интервал 4,23 mm"},
    };
    QFETCH(int, index);
    const Entry& e = handlers[index];
    QSignalSpy changed(window_->StatusBar1, &QStatusBar::messageChanged);
    (window_.get()->*e.handler)(nullptr);
    QCOMPARE(Status(), U(e.text));
    QCOMPARE(changed.count(), 1);
    // The same text again changes nothing and repaints nothing.
    (window_.get()->*e.handler)(nullptr);
    window_->ShowApplicationHint();  // the application hint is empty: this writes ""
    QCOMPARE(Status(), QString());
    QCOMPARE(changed.count(), 2);
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
    window_->WidEliteMouseMove(nullptr);
    RunLoop(60);
    window_->StatusBar1->installEventFilter(&count);
    QSignalSpy changed(window_->StatusBar1, &QStatusBar::messageChanged);
    for (int i = 0; i < 5; ++i) {
      window_->WidEliteMouseMove(nullptr);
    }
    RunLoop(60);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(count.paints, 0);
    window_->StDoubleMouseMove(nullptr);
    RunLoop(60);
    QCOMPARE(changed.count(), 1);
    QVERIFY(count.paints > 0);  // the counter does see a real change
  }

  void statusAndTooltipControlByControl() {
    TipWatch tips;
    ShowFirstTooltip(tips);
    const char* currentPage = "PageSets";
    for (const TableRow& row : kTable) {
      const QString name = QString::fromUtf8(row.control);
      if (qstrcmp(row.page, currentPage) != 0) {
        ShowPage(row.page);
        currentPage = row.page;
      }
      // Come from a control with another long hint.
      MoveOnto(qstrcmp(row.control, "StatusBar1") == 0 ? "pcFeauts" : "StatusBar1");
      Settle();
      if (QTest::currentTestFailed()) {
        return;
      }
      MoveOnto(row.control, 0);
      Settle();
      if (QTest::currentTestFailed()) {
        return;
      }
      QVERIFY2(Status() == U(row.longHint), qPrintable(name + u": status "_s + Status()));
      if (*row.tip) {
        // Hint-active is set: the tooltip follows without the show delay.
        QVERIFY2(tips.WaitShown(400), qPrintable(name + u": no tooltip"_s));
        QVERIFY2(QToolTip::text() == U(row.tip),
                 qPrintable(name + u": tooltip "_s + QToolTip::text()));
      } else {
        RunLoop(60);
        QVERIFY2(!QToolTip::isVisible(), qPrintable(name + u": unexpected tooltip"_s));
      }
      MoveOnto(row.control, 1);
      Settle();
      const QString second = U(row.fixed ? row.fixed : row.longHint);
      QVERIFY2(Status() == second, qPrintable(name + u": status after a move "_s + Status()));
    }
  }

  void menuBarShowsTheWindowsLongHintAndNoTooltip() {
    TipWatch tips;
    ShowFirstTooltip(tips);
    MoveOnto(window_->mnMain);
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
    QTest::mouseClick(window_->imMyPrnt, Qt::LeftButton, {}, QPoint(2, 2));
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
      QTest::keyClick(window_.get(), Qt::Key_Shift);
    } else if (cancel == u"click") {
      QTest::mouseClick(window_->imMyPrnt, Qt::LeftButton, {}, QPoint(2, 2));
    } else if (cancel == u"wheel") {
      const QPoint local(2, 2);
      QWheelEvent wheel(local, window_->imMyPrnt->mapToGlobal(local), QPoint(), QPoint(0, 120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(window_->imMyPrnt, &wheel);
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
    QMenuBar* bar = window_->mnMain;
    QMenu* menu = window_->File2;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    RunLoop(100);
    QVERIFY(menu->isVisible());
    QVERIFY(!QToolTip::isVisible());
    QVERIFY(!Hints().HintActive());
    QCOMPARE(Status(), QString());
    QTest::mouseMove(menu, menu->actionGeometry(window_->Save4).center());
    RunLoop(100);
    QCOMPARE(menu->activeAction(), window_->Save4);
    QCOMPARE(Status(), QString());
    // Put the pointer over a control and close the menu: the next idle step writes its hint.
    QCursor::setPos(window_->StDouble->mapToGlobal(FreePoints(window_->StDouble).front()));
    RunLoop(60);
    QCOMPARE(Status(), QString());
    QTest::keyClick(menu, Qt::Key_Escape);
    RunLoop(100);
    QVERIFY(!menu->isVisible());
    QCOMPARE(Status(), U("Двупроходная печать"));
  }

  void menuCommandChangesNothing() {
    QLineEdit* device = window_->PrnName;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    device->setText(dir.filePath(u"out.prn"_s));
    QMenu* menu = window_->File1;
    QMenuBar* bar = window_->mnMain;
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    RunLoop(100);
    QVERIFY(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(window_->Save1).center());
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
    window_->PrnName->setText(device);
    auto snapshot = [this] {
      QStringList state;
      for (QAbstractButton* b : window_->PageSets->findChildren<QAbstractButton*>()) {
        state << b->objectName() + (b->isChecked() ? u"+"_s : u"-"_s);
      }
      for (QLineEdit* e : window_->findChildren<QLineEdit*>()) {
        state << e->objectName() + u"="_s + e->text();
      }
      state << window_->pcFeauts->currentWidget()->objectName();
      return state;
    };
    const QStringList before = snapshot();
    TipWatch tips;
    ShowFirstTooltip(tips);
    for (const TableRow& row : kTable) {
      if (qstrcmp(row.page, "PageSets") == 0) {
        MoveOnto(row.control, 0);
        MoveOnto(row.control, 1);
        RunLoop(20);
      }
    }
    RunLoop(200);
    QCOMPARE(snapshot(), before);
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(!QFile::exists(device));
  }

  void qtOwnTooltipsStaySilent() {
    window_->Instruc->setToolTip(u"foreign"_s);
    TipWatch tips;
    MoveOnto("Instruc");
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), window_->Instruc->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(window_->Instruc, &help);
    RunLoop(100);
    QCOMPARE(tips.shows, 0);
    QVERIFY(tips.WaitShown(3000));
    QCOMPARE(QToolTip::text(), U("Получение помощи"));
  }
};

PL4120_TEST_MAIN(HintsTest)
#include "test_hints.moc"
