// The window's events end to end: the settings page sends its sequence through the device
// field, a failed send shows the error box and keeps the window, the exits close it, "Помощь"
// and the menu "Help" open the manual and the box "О программе", and an exception in a handler
// is shown and survived.

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QAbstractButton>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

#include "WindowTest.h"
#include "printer/DeviceErrors.h"
#include "ui/widgets/ErrorBox.h"
#include "ui/widgets/HelpWindow.h"
#include "ui/widgets/OemMemo.h"

using namespace Qt::StringLiterals;

namespace {

// Counts the close requests that reach the window.
class CloseWatch : public QObject {
 public:
  int requests = 0;
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    requests += event->type() == QEvent::Close ? 1 : 0;
    return false;
  }
};

class Thrower : public QObject {
 public:
  bool event(QEvent* /*event*/) override { throw std::runtime_error("Boom"); }
};

}  // namespace

class TestWiring : public TWindowTest {
  Q_OBJECT

 public:
  TestWiring() : TWindowTest(Start::Shown, "PageSets") {}

 private:
  void PressInit() {
    QPushButton* button = Get<QPushButton>("SetPrint1");
    QVERIFY(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    // The send goes on in the background; its end (and error box) comes through the loop.
    QVERIFY(SendsDone());
  }

 private slots:
  void initSequenceThroughTheControls_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("testLine");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("defaults") << QStringList{} << QString()
                              << QByteArray::fromHex("1B401B520F12141B4D1B301B461B480D");
    QTest::newRow("full example") << QStringList{u"RadioButton1"_s, u"Wid10smb"_s, u"Hei4spi"_s,
                                                 u"WidElite"_s,     u"WidExten"_s, u"StQuanty"_s,
                                                 u"StDouble"_s,     u"InitCrLf"_s}
                                  << u"abc"_s
                                  << QByteArray::fromHex("1B400F0E1B501B321B451B476162630D0A0D");
    QTest::newRow("KOI-8 sends the same table code")
        << QStringList{u"LangKoi8"_s} << QString()
        << QByteArray::fromHex("1B401B520F12141B4D1B301B461B480D");
    QTest::newRow("x 0,353 mm: ESC A with the n of SpinEdit1")
        << QStringList{u"Hei0353"_s} << QString()
        << QByteArray::fromHex("1B401B520F12141B4D1B41081B461B480D");
    QTest::newRow("x 0,118 mm and 2,54 mm: the last choice counts")
        << QStringList{u"Hei0118"_s, u"Hei2spi"_s} << QString()
        << QByteArray::fromHex("1B401B520F12141B4D1B311B461B480D");
    QTest::newRow("Cyrillic test line as code page 866")
        << QStringList{} << u"Привет ё"_s
        << QByteArray::fromHex("1B401B520F12141B4D1B301B461B48") +
               QByteArray::fromHex("8FE0A8A2A5E220F1") + QByteArray::fromHex("0D");
    QTest::newRow("a box ticked twice is clear again")
        << QStringList{u"StQuanty"_s, u"StQuanty"_s} << u"x"_s
        << QByteArray::fromHex("1B401B520F12141B4D1B301B461B48780D");
  }

  void initSequenceThroughTheControls() {
    QFETCH(QStringList, clicks);
    QFETCH(QString, testLine);
    QFETCH(QByteArray, expected);
    for (const QString& name : clicks) {
      Click(name.toLatin1().constData());
    }
    QLineEdit* line = Get<QLineEdit>("StrOutPr");
    line->setFocus();
    Type(line, testLine);
    QCOMPARE(line->text(), testLine);
    const QString out = TempPath(u"out.prn"_s);
    SetDevice(out);
    PressInit();
    QCOMPARE(ReadFile(out).toHex(' '), expected.toHex(' '));
  }

  void deviceNameIsReadAtEveryPress() {
    const QString first = TempPath(u"first.prn"_s);
    const QString second = TempPath(u"second.prn"_s);
    SetDevice(first);
    PressInit();
    SetDevice(second);
    Click("StQuanty");
    PressInit();
    QCOMPARE(ReadFile(first).toHex(' '),
             QByteArray::fromHex("1B401B520F12141B4D1B301B461B480D").toHex(' '));
    QCOMPARE(ReadFile(second).toHex(' '),
             QByteArray::fromHex("1B401B520F12141B4D1B301B451B480D").toHex(' '));
    // A second press to the same file replaces what the first one left there.
    Click("StQuanty");
    PressInit();
    QCOMPARE(ReadFile(second).toHex(' '),
             QByteArray::fromHex("1B401B520F12141B4D1B301B461B480D").toHex(' '));
  }

  void failedSendShowsTheBoxAndKeepsTheWindow_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("message");
    // <dir> stands for the test's temporary folder.
    QTest::newRow("open fails") << u"<dir>/no such folder/out.prn"_s
                                << u"Не удалось открыть устройство \"<dir>/no such folder/"
                                   u"out.prn\": Нет такого файла или каталога."_s;
    QTest::newRow("a folder") << u"<dir>"_s
                              << u"Не удалось открыть устройство \"<dir>\": Это каталог."_s;
    if (QFile::exists(u"/dev/full"_s)) {
      QTest::newRow("write fails")
          << u"/dev/full"_s
          << u"Не удалось записать в устройство \"/dev/full\": На устройстве не осталось "
             u"свободного места."_s;
    }
  }

  void failedSendShowsTheBoxAndKeepsTheWindow() {
    QFETCH(QString, device);
    QFETCH(QString, message);
    const QString dir = QFileInfo(TempPath(u"x"_s)).path();
    device.replace(u"<dir>"_s, dir);
    message.replace(u"<dir>"_s, dir);
    TOemMemo* memo = Get<TOemMemo>("mmText");
    memo->setBytes("typed by the user\r\n\x8F\xE0\xA8\xA2\xA5\xE2");
    Click("WidElite");
    QLineEdit* line = Get<QLineEdit>("StrOutPr");
    QTest::keyClicks(line, u"abc"_s);
    SetDevice(device);

    PressInit();

    QCOMPARE(modals.boxes.size(), 1);
    const TShownBox seen = modals.boxes.takeFirst();
    QCOMPARE(seen.text, message);
    QCOMPARE(seen.title, ApplicationTitle());
    QCOMPARE(seen.title, u"test_ui_wiring"_s);
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(seen.applicationModal);
    QCOMPARE(seen.objectName, u"ErrorBox"_s);
    // The program goes on with everything as the user left it.
    QVERIFY(window()->isVisible());
    QCOMPARE(memo->bytes(), std::string("typed by the user\r\n\x8F\xE0\xA8\xA2\xA5\xE2"));
    QCOMPARE(Get<QLineEdit>("PrnName")->text(), device);
    QCOMPARE(line->text(), u"abc"_s);
    QVERIFY(Get<QCheckBox>("WidElite")->isChecked());
    // And the next press works once the name is right.
    const QString out = TempPath(u"after.prn"_s);
    SetDevice(out);
    PressInit();
    QCOMPARE(ReadFile(out).size(), 19);
  }

  void exitButtonsCloseTheWindow_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("without saving") << u"QuitNoSv"_s;
    QTest::newRow("with saving") << u"QuitSave"_s;
  }

  void exitButtonsCloseTheWindow() {
    QFETCH(QString, button);
    const QString out = TempPath(u"exit.prn"_s);
    SetDevice(out);
    CloseWatch closes;
    window()->installEventFilter(&closes);
    QTest::mouseClick(Get<QPushButton>(button.toLatin1().constData()), Qt::LeftButton);
    QCOMPARE(closes.requests, 1);
    QVERIFY(!window()->isVisible());
    QVERIFY2(QApplication::activeModalWidget() == nullptr, "closing must ask nothing");
    QVERIFY2(!QFile::exists(out), "an exit must send nothing");
  }

  void onlyTheSendingCommandsReachTheDevice() {
    // Help and every menu command (their dialogs cancelled, their boxes closed) send nothing;
    // only "Quit" closes the window.
    const QString out = TempPath(u"none.prn"_s);
    SetDevice(out);
    QTest::mouseClick(Get<QPushButton>("Instruc"), Qt::LeftButton);
    QStringList triggered;
    for (QAction* entry : Get<QMenuBar>("mnMain")->actions()) {
      QVERIFY(entry->menu() != nullptr);
      for (QAction* command : entry->menu()->actions()) {
        if (command != Get<QAction>("Quit1")) {
          command->trigger();
          triggered << command->objectName();
        }
      }
    }
    QCOMPARE(triggered.size(), 9);
    QVERIFY(window()->isVisible());
    QVERIFY(!QFile::exists(out));

    Get<QAction>("Quit1")->trigger();

    QVERIFY(!window()->isVisible());
    QVERIFY(!QFile::exists(out));
  }

  void helpOpensFromTheButtonAndTheMenu_data() {
    QTest::addColumn<bool>("button");
    QTest::newRow("Помощь") << true;
    QTest::newRow("Help, Index") << false;
  }

  void helpOpensFromTheButtonAndTheMenu() {
    QFETCH(bool, button);

    if (button) {
      QTest::mouseClick(Get<QPushButton>("Instruc"), Qt::LeftButton);
    } else {
      Get<QAction>("About1")->trigger();
    }

    auto* help = window()->findChild<THelpWindow*>();
    QVERIFY(help != nullptr && help->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
  }

  void aboutShowsTheProgramBox() {
    Get<QAction>("About2")->trigger();

    QCOMPARE(modals.boxes.size(), 1);
    QCOMPARE(modals.boxes.first().objectName, u"AboutBox"_s);
    QVERIFY(modals.boxes.first().text.contains(u"MIT"_s));
    QVERIFY(window()->isVisible());
  }

  void exceptionInAGuardedHandlerIsShown_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("conversion") << 0 << u"'' is not a valid integer value."_s;
    QTest::newRow("division") << 1 << u"Division by zero."_s;
    QTest::newRow("not a std exception") << 2 << u"Unknown exception."_s;
  }

  void exceptionInAGuardedHandlerIsShown() {
    QFETCH(int, kind);
    QFETCH(QString, message);
    bool after = false;
    Guarded([kind] {
      if (kind == 0) {
        throw std::runtime_error("'' is not a valid integer value");
      }
      if (kind == 1) {
        throw std::runtime_error("Division by zero");
      }
      throw 42;
    });
    after = true;
    QCOMPARE(modals.boxes.size(), 1);
    const TShownBox seen = modals.boxes.takeFirst();
    QCOMPARE(seen.text, message);
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QVERIFY(after);
  }

  void exceptionEscapingAnEventIsCaughtByTheApplication() {
    Thrower thrower;
    QEvent event(QEvent::User);
    const bool handled = QCoreApplication::sendEvent(&thrower, &event);
    QVERIFY(!handled);
    QCOMPARE(modals.TakeTexts(), QStringList{u"Boom."_s});
    QVERIFY(window()->isVisible());
    // The window still works afterwards.
    const QString out = TempPath(u"still.prn"_s);
    SetDevice(out);
    PressInit();
    QCOMPARE(ReadFile(out).size(), 16);
  }

  void mouseMoveRunsOnlyTheHandlerOfTheControlUnderThePointer_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("root");
    QTest::addColumn<QPoint>("at");  // in root; (-1,-1) for its centre
    QTest::addColumn<QString>("under");
    QTest::addColumn<bool>("tracking");
    QTest::addColumn<QString>("status");  // empty: no handler may run
    const QPoint centre(-1, -1);
    const QString sets = u"PageSets"_s;
    QTest::newRow("free area of the page")
        << sets << sets << QPoint(250, 380) << sets << false << u"Вкладка \"Установки принтера\""_s;
    QTest::newRow("button") << sets << u"SetPrint1"_s << centre << u"SetPrint1"_s << false
                            << u"Применить настройки принтера"_s;
    QTest::newRow("free area of a group")
        << sets << u"WidthSet"_s << QPoint(182, 92) << u"WidthSet"_s << false
        << u"Установка ширины символов"_s;
    QTest::newRow("radio button in a group") << sets << u"Wid10smb"_s << centre << u"Wid10smb"_s
                                             << false << u"Ширина 10 символов на дюйм"_s;
    QTest::newRow("tab row") << sets << u"qt_tabwidget_tabbar"_s << QPoint(20, 8)
                             << u"qt_tabwidget_tabbar"_s << false << u"Полный ассортимент работ"_s;
    QTest::newRow("status line") << sets << u"StatusBar1"_s << centre << u"StatusBar1"_s << false
                                 << u"Статусная строка"_s;
    for (const bool tracking : {false, true}) {
      const char* how = tracking ? " (tracking)" : "";
      QTest::addRow("picture%s", how)
          << sets << u"imMyPrnt"_s << centre << u"imMyPrnt"_s << tracking << QString();
      QTest::addRow("frame without handler%s", how)
          << sets << sets << QPoint(250, 100) << u"Language"_s << tracking << QString();
      QTest::addRow("radio button without handler%s", how)
          << sets << u"RadioButton1"_s << centre << u"RadioButton1"_s << tracking << QString();
      QTest::addRow("radio button in a group, no handler%s", how)
          << sets << u"Hei0353"_s << centre << u"Hei0353"_s << tracking << QString();
      QTest::addRow("device name%s", how)
          << sets << u"PrnName"_s << centre << u"PrnName"_s << tracking << QString();
      QTest::addRow("empty page%s", how)
          << u"PageSymb"_s << u"PageSymb"_s << centre << u"PageSymb"_s << tracking << QString();
      QTest::addRow("label on the text page%s", how)
          << u"pgTxtEdt"_s << u"lbLnTx"_s << centre << u"lbLnTx"_s << tracking << QString();
    }
  }

  void mouseMoveRunsOnlyTheHandlerOfTheControlUnderThePointer() {
    QFETCH(QString, page);
    QFETCH(QString, root);
    QFETCH(QPoint, at);
    QFETCH(QString, under);
    QFETCH(bool, tracking);
    QFETCH(QString, status);
    ShowPage(page.toLatin1().constData());
    QWidget* from = Get(root.toLatin1().constData());
    QVERIFY(from->isVisible());
    const QPoint point = at == QPoint(-1, -1) ? from->rect().center() : at;
    QWidget* target = from->childAt(point) != nullptr ? from->childAt(point) : from;
    // The move goes where the window system sends it: to the deepest widget at the point; a
    // named control may hold unnamed parts of its own (the inner edit of a spin edit).
    QWidget* named = target;
    while (named->objectName().isEmpty() && named->parentWidget() != nullptr) {
      named = named->parentWidget();
    }
    QCOMPARE(named->objectName(), under);
    if (tracking) {
      target->setMouseTracking(true);
    }
    QStatusBar* bar = Get<QStatusBar>("StatusBar1");
    bar->showMessage(u"-"_s);
    const QPoint local = target->mapFrom(from, point);
    QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    // Read before the event loop runs again: the idle step may write the status line too.
    QCOMPARE(bar->currentMessage(), status.isEmpty() ? u"-"_s : status);
  }

  void finalPeriodRule_data() {
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("letter") << QByteArray("abc") << QByteArray("abc.");
    QTest::newRow("period") << QByteArray("abc.") << QByteArray("abc.");
    QTest::newRow("exclamation") << QByteArray("abc!") << QByteArray("abc!");
    QTest::newRow("parenthesis") << QByteArray("abc)") << QByteArray("abc)");
    QTest::newRow("blank") << QByteArray("abc ") << QByteArray("abc ");
    QTest::newRow("comma") << QByteArray("abc,") << QByteArray("abc,");
    QTest::newRow("slash sorts after the period") << QByteArray("a/") << QByteArray("a/.");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
    QTest::newRow("division") << QByteArray("Division by zero") << QByteArray("Division by zero.");
    QTest::newRow("digit") << QByteArray("I/O error 5") << QByteArray("I/O error 5.");
    QTest::newRow("quote") << QByteArray("'x' is not a valid integer value")
                           << QByteArray("'x' is not a valid integer value.");
    QTest::newRow("Cyrillic") << QByteArray("Отказано") << QByteArray("Отказано.");
  }

  void finalPeriodRule() {
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, shown);
    QCOMPARE(QByteArray::fromStdString(WithFinalPeriod(message.toStdString())), shown);
  }

  void titleRule_data() {
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("title");
    QTest::newRow("installed") << QByteArray("/usr/bin/pl4120") << QByteArray("pl4120");
    QTest::newRow("two dots") << QByteArray("/x/MY.TOOL.EXE") << QByteArray("My");
    QTest::newRow("upper case") << QByteArray("/a/b/PL4120.exe") << QByteArray("Pl4120");
    QTest::newRow("backslashes") << QByteArray("C:\\dir\\Prog.Exe") << QByteArray("Prog");
    QTest::newRow("mixed separators") << QByteArray("/a/b\\c/DeMo") << QByteArray("Demo");
    QTest::newRow("dot in a folder") << QByteArray("/opt/v1.2/tool") << QByteArray("tool");
    QTest::newRow("bare name") << QByteArray("pl4120") << QByteArray("pl4120");
    QTest::newRow("Cyrillic") << QByteArray("/bin/ПРИНТЕР.bin") << QByteArray("Принтер");
    QTest::newRow("leading dot") << QByteArray("/home/.hidden") << QByteArray("");
    QTest::newRow("empty") << QByteArray("") << QByteArray("");
  }

  void titleRule() {
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, title);
    QCOMPARE(QByteArray::fromStdString(TitleFromProgramPath(path.toStdString())), title);
  }

  void deviceErrorTexts_data() {
    using S = pl4120::WriteResult::Status;
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("error");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("DOS name") << int(S::OpenFailed) << ENOENT << QByteArray("PRN")
                              << QByteArray("/dev/lp0")
                              << QByteArray(
                                     "Не удалось открыть устройство \"PRN\" (/dev/lp0): "
                                     "Нет такого файла или каталога.");
    QTest::newRow("busy") << int(S::OpenFailed) << EWOULDBLOCK << QByteArray("out")
                          << QByteArray("out")
                          << QByteArray(
                                 "Не удалось открыть устройство \"out\": Устройство "
                                 "занято другой программой.");
    QTest::newRow("no device") << int(S::OpenFailed) << ENXIO << QByteArray("LPT2")
                               << QByteArray("/dev/lp1")
                               << QByteArray(
                                      "Не удалось открыть устройство \"LPT2\" (/dev/lp1): "
                                      "Нет такого устройства или адреса.");
    QTest::newRow("read-only") << int(S::OpenFailed) << EROFS << QByteArray("/m/f")
                               << QByteArray("/m/f")
                               << QByteArray(
                                      "Не удалось открыть устройство \"/m/f\": Файловая "
                                      "система доступна только для чтения.");
    QTest::newRow("empty name") << int(S::OpenFailed) << ENOENT << QByteArray() << QByteArray()
                                << QByteArray(
                                       "Не удалось открыть устройство: не указано имя "
                                       "устройства.");
    QTest::newRow("write error") << int(S::WriteFailed) << EIO << QByteArray("COM1")
                                 << QByteArray("/dev/ttyS0")
                                 << QByteArray(
                                        "Не удалось записать в устройство \"COM1\" "
                                        "(/dev/ttyS0): Ошибка ввода/вывода.");
    QTest::newRow("short write") << int(S::WriteFailed) << 0 << QByteArray("x") << QByteArray("x")
                                 << QByteArray(
                                        "Не удалось записать в устройство \"x\": "
                                        "устройство приняло не все данные.");
    QTest::newRow("no rights, no such file")
        << int(S::OpenFailed) << EACCES << QByteArray("/nonexistent/x")
        << QByteArray("/nonexistent/x")
        << QByteArray("Не удалось открыть устройство \"/nonexistent/x\": Отказано в доступе.");
  }

  void deviceErrorTexts() {
    QFETCH(int, status);
    QFETCH(int, error);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, message);
    pl4120::WriteResult result;
    result.status = static_cast<pl4120::WriteResult::Status>(status);
    result.error = error;
    result.path = path.toStdString();
    QCOMPARE(QByteArray::fromStdString(pl4120::DeviceErrorMessage(name.toStdString(), result)),
             message);
  }

  void untranslatedErrorFallsBackToTheSystemText() {
    QVERIFY(!pl4120::RussianErrorText(EPROTONOSUPPORT).empty());
    QCOMPARE(QByteArray::fromStdString(pl4120::RussianErrorText(EPROTONOSUPPORT)),
             QByteArray(std::strerror(EPROTONOSUPPORT)));
  }

  void noRightsNamesTheGroupThatMayWrite() {
    const QString file = TempPath(u"device"_s);
    QFile(file).open(QIODevice::WriteOnly);
    const std::string path = QFile::encodeName(file).toStdString();
    // A group that may write: joining it is the way in.
    if (geteuid() == 0 && ::chown(path.c_str(), 0, 7) == 0 && ::chmod(path.c_str(), 0660) == 0) {
      pl4120::WriteResult result;
      result.status = pl4120::WriteResult::Status::OpenFailed;
      result.error = EACCES;
      result.path = path;
      const QString text = QString::fromStdString(pl4120::DeviceErrorMessage(path, result));
      QVERIFY2(text.contains(u"Отказано в доступе. Право записи"_s), qPrintable(text));
      const QString group = QString::fromLocal8Bit(getgrgid(7)->gr_name);
      QVERIFY2(text.contains(u"группы \""_s + group + u"\""_s), qPrintable(text));
      QVERIFY2(text.contains(u"usermod -aG "_s + group), qPrintable(text));
    }
    // Only the owner may write: the administrator has to help.
    ::chmod(path.c_str(), 0600);
    const QString ownerOnly = QString::fromStdString(pl4120::AccessAdvice(path));
    QVERIFY2(ownerOnly.contains(u"администратор"_s), qPrintable(ownerOnly));
    QVERIFY(!ownerOnly.contains(u"usermod"_s));
    // Nothing to advise about a path that does not exist.
    QVERIFY(pl4120::AccessAdvice(QFile::encodeName(TempPath(u"missing"_s)).toStdString()).empty());
  }
};

PL4120_TEST_MAIN(TestWiring)
#include "test_wiring.moc"
