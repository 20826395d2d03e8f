// Sending in the background, through the window and real destinations: the bytes of each kind
// of destination, the order of the jobs, the progress window with its counts, the stall
// message and "Отмена", a window that stays responsive, the error boxes, closing while
// printing, and the device field's list of printers.

#include <sys/stat.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCompleter>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>
#include <string>

#include "WindowTest.h"
#include "printer/DeviceErrors.h"
#include "printer/InitSequence.h"
#include "printer/PrintService.h"
#include "tests/printer/JobTestSupport.h"
#include "tests/support/PrintRig.h"
#include "ui/printing/PrintProgress.h"
#include "ui/printing/PrintQueue.h"
#include "ui/printing/PrinterFinder.h"
#include "ui/widgets/ErrorBox.h"
#include "ui/widgets/OemMemo.h"
#include "ui/widgets/SpinEdit.h"

using namespace Qt::StringLiterals;
namespace rig = pl4120::rig;

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// How late a 10 ms timer of the window's thread runs while the test waits.
class TimerWatch : public QObject {
 public:
  TimerWatch() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, [this] {
      const qint64 now = clock_.nsecsElapsed();
      const double late = (now - last_) / 1000000.0 - 10.0;
      if (late > worstMs_) {
        worstMs_ = late;
        worstAtMs_ = now / 1000000;
      }
      last_ = now;
      ++ticks_;
    });
    clock_.start();
    last_ = clock_.nsecsElapsed();
    timer_.start();
  }
  double worstMs() const { return worstMs_; }
  /// When the latest tick came, in ms after the watch started.
  qint64 worstAtMs() const { return worstAtMs_; }
  int ticks() const { return ticks_; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  double worstMs_ = 0;
  qint64 worstAtMs_ = 0;
  int ticks_ = 0;
};

// The byte counts of "Отправлено N из M байт" or "отправлено N из M байт".
bool SentCounts(const QString& text, quint64* sent, quint64* total) {
  static const QRegularExpression counts(u"[оО]тправлено (\\d+) из (\\d+) байт"_s);
  const QRegularExpressionMatch match = counts.match(text);
  if (!match.hasMatch()) {
    return false;
  }
  *sent = match.captured(1).toULongLong();
  *total = match.captured(2).toULongLong();
  return true;
}

// A text of `size` bytes in lines of 80, as a printer text is.
std::string Lines(std::size_t size, char letter) {
  std::string text;
  while (text.size() < size) {
    text += std::string(78, letter) + "\r\n";
  }
  text.resize(size);
  return text;
}

}  // namespace

class TestSending : public TWindowTest {
  Q_OBJECT

 public:
  TestSending() : TWindowTest(Start::Shown, "pgTxtEdt") {}

 private:
  TOemMemo* memo = nullptr;
  QPushButton* print = nullptr;
  TPrintProgress* progress = nullptr;

  void SetUp() override {
    memo = Get<TOemMemo>("mmText");
    print = Get<QPushButton>("btPrinTx");
    progress = Get<TPrintProgress>("PrintProgress");
    Get<QCheckBox>("cbNxPage")->setChecked(true);
  }
  void TearDown() override { qunsetenv("CUPS_SERVER"); }

  void UseDevice(const std::string& name) { Get<QLineEdit>("PrnName")->setText(Q(name)); }

  /// A FIFO in the test's folder.
  std::string MakeFifo(const char* name) const {
    const std::string path = QFile::encodeName(TempPath(QString::fromLatin1(name))).toStdString();
    if (mkfifo(path.c_str(), 0600) != 0) {
      qFatal("cannot make a FIFO");
    }
    return path;
  }

  /// Starts a private print service with the queues `names`, all to `sink`; the program finds
  /// it through CUPS_SERVER, as it would a configured one. Empty, or why it could not start.
  std::string StartService(rig::PrivateCupsd& service, const rig::TcpSink& sink,
                           const std::vector<std::string>& names) {
    std::string problem = service.Start();
    for (const std::string& name : names) {
      if (problem.empty()) {
        problem = service.AddQueue(name, sink.uri());
      }
    }
    if (problem.empty()) {
      qputenv("CUPS_SERVER", QByteArray::fromStdString(service.server()));
    }
    return problem;
  }

  /// Shortens the stall delay of the jobs that start from now on.
  void SetStallDelay(int ms) {
    pl4120::JobOptions options = window()->Sending().Queue().Options();
    options.stallDelay = std::chrono::milliseconds(ms);
    window()->Sending().Queue().SetOptions(options);
  }

  /// Starts a print of `size` bytes to `fifo` (whose reader may take nothing).
  void StartStalledPrint(const std::string& fifo, std::size_t size) {
    memo->setBytes(Lines(size, 'x'));
    UseDevice(fifo);
    QTest::mouseClick(print, Qt::LeftButton);
    QVERIFY(window()->Sending().Queue().Busy());
  }

 private slots:
  void eachKindOfDestinationGetsEveryByte_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("file") << u"file"_s;
    QTest::newRow("socket://") << u"socket"_s;
    QTest::newRow("ipp://") << u"ipp"_s;
    QTest::newRow("cups:Raw") << u"cups"_s;
  }

  void eachKindOfDestinationGetsEveryByte() {
    QFETCH(QString, kind);
    const std::string text = pl4120::testing::PrinterText();
    memo->setBytes(text);
    QCOMPARE(memo->bytes(), text);
    window()->TextFile().SetName(QFile::encodeName(TempPath(u"письмо.txt"_s)).toStdString());
    const std::string expected = text + '\x0C';
    rig::TcpSink sink;
    rig::IppEvePrinter ipp;
    rig::PrivateCupsd service;
    const QString file = TempPath(u"printer.out"_s);
    if (kind == u"file"_s) {
      UseDevice(QFile::encodeName(file).toStdString());
    } else if (kind == u"socket"_s) {
      UseDevice(sink.uri());
    } else if (kind == u"ipp"_s) {
      if (const std::string problem = ipp.Start(); !problem.empty()) {
        QSKIP(("no IPP printer to test with: " + problem).c_str());
      }
      UseDevice(ipp.uri());
    } else {
      if (const std::string problem = StartService(service, sink, {"Raw"}); !problem.empty()) {
        QSKIP(("no private print service to test with: " + problem).c_str());
      }
      UseDevice("cups:Raw");
    }

    QTest::mouseClick(print, Qt::LeftButton);

    QVERIFY(SendsDone());
    QCOMPARE(modals.TakeTexts(), QStringList());
    std::string got;
    if (kind == u"file"_s) {
      got = ReadFile(file).toStdString();
    } else if (kind == u"ipp"_s) {
      QVERIFY(ipp.JobBytes(1, &got));
      const pl4120::testing::JobRecord job =
          pl4120::testing::AskAboutJob("localhost", ipp.port(), ipp.uri(), 1);
      QCOMPARE(Q(job.name), u"ПЛ 4120: письмо.txt"_s);
      QCOMPARE(job.user, LoginName());
    } else {
      if (kind == u"cups"_s) {
        const int port = std::stoi(service.server().substr(service.server().rfind(':') + 1));
        const pl4120::testing::JobRecord job = pl4120::testing::AskAboutJob(
            "127.0.0.1", port, "ipp://127.0.0.1:" + std::to_string(port) + "/printers/Raw", 1);
        QCOMPARE(Q(job.name), u"ПЛ 4120: письмо.txt"_s);
        QCOMPARE(job.user, LoginName());
      }
      // A print service delivers on its own time.
      QVERIFY(sink.WaitForEnded(1, std::chrono::seconds(20)));
      got = sink.Received();
    }
    QCOMPARE(got.size(), expected.size());
    QVERIFY(got == expected);
    QCOMPARE(memo->bytes(), text);
  }

  void jobsRunInClickOrderWithTheBytesOfTheClick() {
    // The printer takes the first job's bytes but does not finish it until it reads again:
    // every click after it waits in the queue.
    rig::TcpSink sink({.stopReadingAfter = 0});
    UseDevice(sink.uri());
    memo->setBytes("a\r\nb");

    Get<QPushButton>("SetPrint1")->click();
    QTest::mouseClick(print, Qt::LeftButton);
    memo->setBytes("changed after the click");
    QVERIFY(!print->isEnabled());
    QTest::mouseClick(print, Qt::LeftButton);  // disabled: no second print
    QTest::mouseClick(Get<QPushButton>("bbNxPage"), Qt::LeftButton);
    Get<QCheckBox>("StQuanty")->setChecked(true);
    Get<QPushButton>("SetPrint1")->click();
    QCOMPARE(window()->Sending().Queue().Outstanding(), 4);
    QTest::qWait(300);
    QVERIFY(!print->isEnabled());
    QVERIFY(window()->Sending().PrintBusy());
    sink.Resume();

    QVERIFY(SendsDone());
    QCOMPARE(modals.TakeTexts(), QStringList());
    QVERIFY(print->isEnabled());
    QVERIFY(!window()->Sending().PrintBusy());
    QVERIFY(sink.WaitForEnded(4, std::chrono::seconds(5)));
    QCOMPARE(sink.Connections(), std::size_t{4});
    pl4120::PrinterSettings quality;
    quality.emphasised = true;
    QCOMPARE(QByteArray::fromStdString(sink.Received(0)).toHex(' '),
             QByteArray::fromStdString(pl4120::BuildInitSequence({})).toHex(' '));
    QCOMPARE(QByteArray::fromStdString(sink.Received(1)), QByteArray("a\r\nb\x0C"));
    QCOMPARE(QByteArray::fromStdString(sink.Received(2)), QByteArray("\x0C"));
    QCOMPARE(QByteArray::fromStdString(sink.Received(3)).toHex(' '),
             QByteArray::fromStdString(pl4120::BuildInitSequence(quality)).toHex(' '));
  }

  void slowPrinterShowsProgressAndCancelStopsEveryJob() {
    // 40 KB/s behind a pipe of 64 KB: a job of 200 KB takes seconds.
    const std::string fifo = MakeFifo("slow");
    rig::FifoSink reader(fifo, {.bytesPerSecond = 40000});
    QVERIFY(reader.opened());
    const std::string text = Lines(200000, 'p');
    memo->setBytes(text);
    UseDevice(fifo);
    QSignalSpy ended(&window()->Sending().Queue(), &TPrintQueue::jobEnded);
    TimerWatch watch;
    QElapsedTimer clock;
    clock.start();

    QTest::mouseClick(print, Qt::LeftButton);
    QTest::mouseClick(Get<QPushButton>("bbNxPage"), Qt::LeftButton);
    Get<QPushButton>("SetPrint1")->click();

    QVERIFY(clock.elapsed() < 100);  // the clicks return at once
    QVERIFY(!progress->isVisible());
    QVERIFY(QTest::qWaitFor([&] { return progress->isVisible(); }, 3000));
    const qint64 shownAfter = clock.elapsed();
    QVERIFY2(shownAfter >= 450, qPrintable(QString::number(shownAfter)));
    QCOMPARE(progress->lbPrnDest->text(), u"Печать на \""_s + Q(fifo) + u"\""_s);
    QCOMPARE(progress->lbPrnQueue->text(), u"Ждут очереди: 2"_s);
    QVERIFY(!progress->lbPrnStall->isVisible());
    quint64 first = 0, later = 0, total = 0;
    QVERIFY(SentCounts(progress->lbPrnSent->text(), &first, &total));
    QCOMPARE(total, quint64{200001});
    QVERIFY(QTest::qWaitFor(
        [&] { return SentCounts(progress->lbPrnSent->text(), &later, &total) && later > first; },
        3000));
    QVERIFY(progress->pbPrnSent->value() > 0 && progress->pbPrnSent->value() < 1000);
    QVERIFY(!print->isEnabled());
    QVERIFY2(watch.worstMs() < 100,
             qPrintable(u"timer late by "_s + QString::number(watch.worstMs()) + u" ms at "_s +
                        QString::number(watch.worstAtMs()) + u" ms"_s));
    QVERIFY(watch.ticks() > 20);

    qint64 cancelledAt = 0;
    qint64 endedAt = 0;
    connect(&window()->Sending().Queue(), &TPrintQueue::jobEnded, this,
            [&] { endedAt = clock.elapsed(); });
    cancelledAt = clock.elapsed();
    QTest::mouseClick(progress->btCancPr, Qt::LeftButton);
    QVERIFY(SendsDone(3000));

    QVERIFY2(endedAt - cancelledAt < 400,
             qPrintable(QString::number(endedAt - cancelledAt) + u" ms"_s));
    QCOMPARE(ended.size(), 1);  // the two jobs behind it never ran
    const QStringList texts = modals.TakeTexts();
    QCOMPARE(texts.size(), 1);
    quint64 sent = 0;
    QVERIFY2(SentCounts(texts[0], &sent, &total), qPrintable(texts[0]));
    QCOMPARE(texts[0], u"Печать на \""_s + Q(fifo) + u"\" прервана: отправлено "_s +
                           QString::number(sent) +
                           u" из 200001 байт. То, что принтер уже получил, он допечатает. "
                           u"Задания, ждавшие очереди, не отправлены: 2."_s);
    QVERIFY(sent > later && sent < total);
    // What the job said it sent is what the printer gets: the pipe still holds the rest.
    QVERIFY(reader.WaitForEnded(1, std::chrono::seconds(10)));
    QCOMPARE(reader.total(), static_cast<std::size_t>(sent));
    QVERIFY(reader.Received() == text.substr(0, sent));
    QVERIFY(!progress->isVisible());
    QVERIFY(print->isEnabled());
    QVERIFY(!window()->Sending().PrintBusy());
    QCOMPARE(memo->bytes(), text);
  }

  void stalledPrinterIsReportedAndCancelStaysAvailable() {
    const std::string fifo = MakeFifo("stalled");
    rig::FifoSink reader(fifo, {.stopReadingAfter = 0});
    QVERIFY(reader.opened());
    SetStallDelay(300);
    StartStalledPrint(fifo, 256 * 1024);

    QVERIFY(QTest::qWaitFor([&] { return progress->lbPrnStall->isVisible(); }, 5000));

    QCOMPARE(progress->lbPrnStall->text(), Q(pl4120::StallText()));
    QCOMPARE(progress->lbPrnStall->text(),
             u"Принтер не принимает данные (нет бумаги, выключен или занят?)"_s);
    QVERIFY(progress->isVisible());
    QVERIFY(progress->btCancPr->isEnabled());
    QVERIFY(window()->Sending().Queue().Busy());  // it waits on; nothing gives up by itself
    QTest::qWait(500);
    QVERIFY(window()->Sending().Queue().Busy());
    // The progress window's close box cancels, as "Отмена" does.
    progress->close();
    QVERIFY(SendsDone(2000));
    const QStringList texts = modals.TakeTexts();
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts[0].contains(u" прервана: отправлено "_s), qPrintable(texts[0]));
    QVERIFY(!progress->isVisible());
  }

  void failuresComeAsTheErrorBoxAndChangeNothing_data() {
    QTest::addColumn<QString>("device");  // <port>: a port where nothing listens
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("noService");
    QTest::newRow("nothing listening at socket://")
        << u"socket://127.0.0.1:<port>"_s
        << u"Не удалось подключиться к принтеру \"socket://127.0.0.1:<port>\": в соединении "
           u"отказано (по этому адресу и порту нет принтера, или он выключен)."_s
        << false;
    QTest::newRow("nothing listening at ipp://")
        << u"ipp://127.0.0.1:<port>/ipp/print"_s
        << u"Не удалось подключиться к принтеру \"ipp://127.0.0.1:<port>/ipp/print\": в "
           u"соединении отказано (по этому адресу и порту нет принтера, или он выключен)."_s
        << false;
    QTest::newRow("bad IPP address")
        << u"ipp:printer"_s
        << u"Неверный адрес принтера \"ipp:printer\": нужно ipp://компьютер[:порт]/путь или "
           u"ipps://компьютер[:порт]/путь."_s
        << false;
    QTest::newRow("no print service")
        << u"cups:Raw"_s
        << u"Не удалось отправить задание на \"cups:Raw\": служба печати не запущена или "
           u"недоступна."_s
        << true;
  }

  void failuresComeAsTheErrorBoxAndChangeNothing() {
    QFETCH(QString, device);
    QFETCH(QString, message);
    QFETCH(bool, noService);
    const QString port = QString::number(rig::FreePort());
    device.replace(u"<port>"_s, port);
    message.replace(u"<port>"_s, port);
    if (noService) {
      qputenv("CUPS_SERVER", "127.0.0.1:" + port.toLatin1());
    }
    memo->setBytes("typed\r\n\x8F\xE0\xA8\xA2\xA5\xE2");
    Get<QCheckBox>("WidElite")->setChecked(true);
    Get<QLineEdit>("PrnName")->setText(device);
    QElapsedTimer clock;
    clock.start();

    QTest::mouseClick(print, Qt::LeftButton);

    QVERIFY(SendsDone(5000));
    QVERIFY(clock.elapsed() < 3000);
    QCOMPARE(modals.TakeTexts(), QStringList{message});
    QVERIFY(window()->isVisible());
    QCOMPARE(memo->bytes(), std::string("typed\r\n\x8F\xE0\xA8\xA2\xA5\xE2"));
    QCOMPARE(Get<QLineEdit>("PrnName")->text(), device);
    QVERIFY(Get<QCheckBox>("WidElite")->isChecked());
    QVERIFY(print->isEnabled());
  }

  void settingsThePrinterCannotTakeAreRefusedBeforeQueueing() {
    const QString out = TempPath(u"out.prn"_s);
    Get<QLineEdit>("PrnName")->setText(out);
    Get<QRadioButton>("Hei0118")->setChecked(true);
    Get<TSpinEdit>("SpinEdit2")->SetValue(300);
    const std::string error = pl4120::SettingsError(window()->CurrentSettings());
    QVERIFY(!error.empty());

    Get<QPushButton>("SetPrint1")->click();

    QVERIFY(!window()->Sending().Queue().Busy());
    QCOMPARE(modals.TakeTexts(), QStringList{Q(error)});
    QVERIFY(SendsDone());
    QVERIFY(!QFile::exists(out));
  }

  void missingDeviceNamesTheServiceQueues() {
    rig::TcpSink sink;
    rig::PrivateCupsd service;
    if (const std::string problem = StartService(service, sink, {"Raw", "Second"});
        !problem.empty()) {
      QSKIP(("no private print service to test with: " + problem).c_str());
    }
    // The highest parallel port name that leads nowhere here.
    QString port;
    for (int n = 9; n >= 1 && port.isEmpty(); --n) {
      const QString node = QString::number(n - 1);
      if (!QFile::exists(u"/dev/usb/lp"_s + node) && !QFile::exists(u"/dev/lp"_s + node)) {
        port = u"LPT"_s + QString::number(n);
      }
    }
    QVERIFY(!port.isEmpty());
    Get<QLineEdit>("PrnName")->setText(port);

    QTest::mouseClick(Get<QPushButton>("bbNxPage"), Qt::LeftButton);

    QVERIFY(SendsDone());
    const QStringList texts = modals.TakeTexts();
    QCOMPARE(texts.size(), 1);
    QVERIFY2(texts[0].startsWith(u"Не удалось открыть устройство \""_s + port + u"\" (/dev/"_s),
             qPrintable(texts[0]));
    QVERIFY2(texts[0].contains(u": Нет такого файла или каталога. Принтеры службы печати: "
                               u"cups:Raw, cups:Second."_s),
             qPrintable(texts[0]));
  }

  void closingWhilePrintingAsks_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("yes");
    for (const bool yes : {true, false}) {
      const char* answer = yes ? "yes" : "no";
      QTest::addRow("QuitNoSv, %s", answer) << u"QuitNoSv"_s << yes;
      QTest::addRow("QuitSave, %s", answer) << u"QuitSave"_s << yes;
      QTest::addRow("close box, %s", answer) << u"close"_s << yes;
    }
  }

  void closingWhilePrintingAsks() {
    QFETCH(QString, how);
    QFETCH(bool, yes);
    const std::string fifo = MakeFifo("stalled");
    rig::FifoSink reader(fifo, {.stopReadingAfter = 0});
    QVERIFY(reader.opened());
    StartStalledPrint(fifo, 256 * 1024);
    QTest::mouseClick(Get<QPushButton>("bbNxPage"), Qt::LeftButton);
    modals.presses << (yes ? QMessageBox::Yes : QMessageBox::No);
    QElapsedTimer clock;
    clock.start();

    if (how == u"close"_s) {
      window()->close();
    } else {
      Get<QPushButton>(how.toLatin1().constData())->click();
    }

    QCOMPARE(modals.boxes.size(), 1);
    const TShownBox question = modals.boxes.takeFirst();
    QCOMPARE(question.text, u"Идёт печать. Прервать печать и выйти?"_s);
    QCOMPARE(question.icon, QMessageBox::Question);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.title, ApplicationTitle());
    if (yes) {
      QVERIFY(!window()->isVisible());
      QVERIFY(!progress->isVisible());
      QVERIFY(QTest::qWaitFor([&] { return !window()->Sending().Queue().Busy(); }, 1000));
      QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
      QTest::qWait(100);
      QCOMPARE(modals.TakeTexts(), QStringList());  // no message about the cancel any more
    } else {
      QVERIFY(window()->isVisible());
      QTest::qWait(200);
      QCOMPARE(window()->Sending().Queue().Outstanding(), 2);  // printing goes on
      QVERIFY(modals.TakeTexts().isEmpty());
    }
  }

  void closingWithNothingToPrintAsksNothing() {
    const QString out = TempPath(u"done.prn"_s);
    Get<QLineEdit>("PrnName")->setText(out);
    QTest::mouseClick(Get<QPushButton>("bbNxPage"), Qt::LeftButton);
    QVERIFY(SendsDone());

    window()->close();

    QVERIFY(!window()->isVisible());
    QVERIFY(modals.TakeTexts().isEmpty());
    QCOMPARE(ReadFile(out), QByteArray("\x0C"));
  }

  void deviceFieldListsDevicesAndServiceQueues() {
    rig::TcpSink sink;
    rig::PrivateCupsd service;
    if (const std::string problem = StartService(service, sink, {"Raw", "Second"});
        !problem.empty()) {
      QSKIP(("no private print service to test with: " + problem).c_str());
    }
    ShowPage("PageSets");
    window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window()));
    TPrinterFinder* finder = Get<TPrinterFinder>("PrinterFinder");
    QSignalSpy refreshed(finder, &TPrinterFinder::refreshed);
    QLineEdit* field = Get<QLineEdit>("PrnName");

    field->setFocus();

    QVERIFY(finder->gathering());
    QVERIFY(refreshed.wait(5000));
    QStringList expected;
    for (const std::string& node : pl4120::ListDeviceNodes()) {
      expected << Q(node);
    }
    expected << u"cups:Raw"_s << u"cups:Second"_s;
    QCOMPARE(finder->names(), expected);
    // Typing the start of a name offers the queues that begin with it.
    field->selectAll();
    Type(field, u"CUPS:S"_s);
    QAbstractItemView* popup = finder->completer()->popup();
    QVERIFY(QTest::qWaitFor([&] { return popup->isVisible(); }, 2000));
    QCOMPARE(finder->completer()->completionCount(), 1);
    QCOMPARE(finder->completer()->currentCompletion(), u"cups:Second"_s);
    popup->hide();
    // Down opens the whole list.
    field->selectAll();
    Type(field, u"x"_s);
    popup->hide();
    QTest::keyClick(field, Qt::Key_Down);
    QVERIFY(popup->isVisible());
    QCOMPARE(finder->completer()->completionCount(), expected.size());
    popup->hide();
    // Focus that comes back soon does not ask again; after the interval it does.
    Get<QLineEdit>("StrOutPr")->setFocus();
    field->setFocus();
    QVERIFY(!finder->gathering());
    finder->SetRefreshInterval(0);
    Get<QLineEdit>("StrOutPr")->setFocus();
    field->setFocus();
    QVERIFY(finder->gathering());
    QVERIFY(refreshed.wait(5000));
  }

  void slowOrMissingServiceNeverHoldsTheWindow() {
    // A service whose connect neither succeeds nor fails.
    rig::HangingListener hanging;
    qputenv("CUPS_SERVER", "127.0.0.1:" + QByteArray::number(hanging.port()));
    ShowPage("PageSets");
    window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window()));
    TPrinterFinder* finder = Get<TPrinterFinder>("PrinterFinder");
    QSignalSpy refreshed(finder, &TPrinterFinder::refreshed);
    TimerWatch watch;
    QElapsedTimer clock;
    clock.start();

    Get<QLineEdit>("PrnName")->setFocus();

    QVERIFY(clock.elapsed() < 100);
    QVERIFY(refreshed.wait(5000));
    QVERIFY2(watch.worstMs() < 100, qPrintable(QString::number(watch.worstMs())));
    QStringList devices;
    for (const std::string& node : pl4120::ListDeviceNodes()) {
      devices << Q(node);
    }
    QCOMPARE(finder->names(), devices);
  }

  void printJobTitles_data() {
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("a file") << QByteArray("/home/u/тексты/письмо.txt") << u"ПЛ 4120: письмо.txt"_s;
    QTest::newRow("no file") << QByteArray() << u"ПЛ 4120: без имени"_s;
    QTest::newRow("relative") << QByteArray("a.txt") << u"ПЛ 4120: a.txt"_s;
  }

  void printJobTitles() {
    QFETCH(QByteArray, path);
    QFETCH(QString, title);
    QCOMPARE(Q(PrintJobTitle(path.toStdString())), title);
  }
};

PL4120_TEST_MAIN(TestSending)
#include "test_sending.moc"
