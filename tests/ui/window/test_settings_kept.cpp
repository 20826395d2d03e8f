// Settings kept between runs: "Выход с сохранением" and "Save" store the settings page and the
// text page's options in the user's settings file, and a new window takes them back when asked;
// "Load" reads them now; the other exits store nothing; a damaged file gives the defaults and
// one line in the status line; a file that cannot be written gives the error box and keeps the
// window open.

#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <optional>
#include <string>

#include "WindowTest.h"
#include "printer/PrinterSettings.h"
#include "ui/session/StoredSettings.h"
#include "ui/widgets/SpinEdit.h"

using namespace Qt::StringLiterals;
using pl4120::CharTable;
using pl4120::LineSpacing;
using pl4120::Pitch;
using pl4120::StoredSettings;

namespace {

QString Describe(const StoredSettings& s) {
  const pl4120::PrinterSettings& p = s.printer;
  return u"Lang=%1 WidElite=%2 WidExten=%3 Wid=%4 Hei=%5 SpinEdit1=%6 SpinEdit2=%7 StQuanty=%8 "_s
             .arg(int(p.charTable))
             .arg(int(p.condensed))
             .arg(int(p.doubleWidth))
             .arg(int(p.pitch))
             .arg(int(p.spacing))
             .arg(p.units72)
             .arg(p.units216)
             .arg(int(p.emphasised)) +
         u"StDouble=%1 StrOutPr=%2 InitCrLf=%3 PrnName=%4 edLPtx=%5 cbLfCrTx=%6 cbNxPage=%7"_s
             .arg(int(p.doubleStrike))
             .arg(QString::fromLatin1(QByteArray::fromStdString(p.testLine).toHex()))
             .arg(int(p.crLfAfterTestLine))
             .arg(QString::fromStdString(p.device), s.text.edLPtx)
             .arg(int(s.text.cbLfCrTx))
             .arg(int(s.text.cbNxPage));
}

#define COMPARE_SETTINGS(actual, expected)                                           \
  QVERIFY2((actual) == (expected), qPrintable(u"\n got      "_s + Describe(actual) + \
                                              u"\n expected "_s + Describe(expected)))

// Every choice of every radio set appears in one of these; the test lines hold every byte value,
// Cyrillic in code page 866 and nothing; the device names hold what an INI file must escape or
// would read as something else.
StoredSettings Case(int row) {
  StoredSettings s;
  pl4120::PrinterSettings& p = s.printer;
  p.charTable = static_cast<CharTable>(row % 6);
  p.pitch = static_cast<Pitch>(row % 2);
  p.spacing = static_cast<LineSpacing>((row + 1) % 5);
  p.condensed = row % 2 == 0;
  p.doubleWidth = row % 3 == 0;
  p.emphasised = row % 2 == 1;
  p.doubleStrike = row % 3 != 0;
  p.crLfAfterTestLine = row % 2 == 0;
  p.units72 = row * 17;
  const std::int32_t spin2[] = {-7, 2147483647, -2147483647 - 1, 0, 216, 24};
  p.units216 = spin2[row];
  std::string everyByte;
  for (int b = 0; b < 256; ++b) {
    everyByte += static_cast<char>(b);
  }
  const std::string lines[] = {everyByte, "\x8F\xE0\xAE\xA1\xAD\xEB\xA9 \xE2\xA5\xAA\xE1\xE2", ""};
  p.testLine = lines[row % 3];
  const char* names[] = {R"(Принтер "a, b"; c=d \e [x] #y)",
                         " /dev/usb/lp0 ",
                         "",
                         "@Rect(1 2 3 4)",
                         "tab\tA\x01"
                         "a\x7F \xF0\x9F\x96\xA8",  // controls, a hex digit after one, U+1F5A8
                         "/tmp/out.prn"};
  p.device = names[row];
  const char16_t* perPage[] = {u"66", u"$10", u"1", u" 12", u"0x7FFFFFFF", u"70"};
  s.text.edLPtx = QString::fromUtf16(perPage[row]);
  s.text.cbLfCrTx = row % 2 == 0;
  s.text.cbNxPage = row % 2 == 0;
  return s;
}

}  // namespace

Q_DECLARE_METATYPE(pl4120::StoredSettings)

class TestSettingsKept : public TWindowTest {
  Q_OBJECT

 public:
  TestSettingsKept() : TWindowTest(Start::Shown, "PageSets") {}

 private:
  QString SettingsFile() const { return pl4120::SettingsFilePath(); }
  QString Status() const { return Get<QStatusBar>("StatusBar1")->currentMessage(); }
  void WriteSettingsFile(const QByteArray& content) const {
    QVERIFY(QDir().mkpath(QFileInfo(SettingsFile()).path()));
    QFile file(SettingsFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
  }

 private slots:
  void storedSettingsComeBackInANewWindow_data() {
    QTest::addColumn<int>("row");
    for (int row = 0; row < 6; ++row) {
      QTest::addRow("%d", row) << row;
    }
  }

  void storedSettingsComeBackInANewWindow() {
    QFETCH(int, row);
    const StoredSettings stored = Case(row);
    window()->ApplyStoredSettings(stored);

    Click("QuitSave");

    QVERIFY(!window()->isVisible());
    QCOMPARE(SettingsFile(), qEnvironmentVariable("XDG_CONFIG_HOME") + u"/pl4120/pl4120.ini"_s);
    TPL4120_1 next;
    QVERIFY(next.LoadStoredSettings());
    COMPARE_SETTINGS(next.CurrentStoredSettings(), stored);
    QCOMPARE(next.findChild<QStatusBar*>(u"StatusBar1"_s)->currentMessage(),
             u"Работа с принтером \"ПЛ 4120\""_s);
    // The test line as its bytes, and nothing left beside the file.
    const QSettings file(SettingsFile(), QSettings::IniFormat);
    QCOMPARE(file.value(u"Printer/StrOutPr"_s).toByteArray(),
             QByteArray::fromStdString(stored.printer.testLine));
    QCOMPARE(QDir(QFileInfo(SettingsFile()).path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{u"pl4120.ini"_s});
  }

  void theWindowReadsTheFileOnlyWhenAsked() {
    QVERIFY(!window()->LoadStoredSettings());  // nothing stored: nothing changes, nothing said
    COMPARE_SETTINGS(window()->CurrentStoredSettings(), StoredSettings{});
    QCOMPARE(Status(), u"Работа с принтером \"ПЛ 4120\""_s);
    QVERIFY(!QFile::exists(SettingsFile()));

    QVERIFY(pl4120::WriteStoredSettings(SettingsFile(), Case(1)).isEmpty());
    TPL4120_1 next;

    COMPARE_SETTINGS(next.CurrentStoredSettings(), StoredSettings{});
  }

  void otherExitsStoreNothing_data() {
    QTest::addColumn<QString>("exit");
    QTest::newRow("close box") << QString();
    QTest::newRow("Выход без сохранения") << u"QuitNoSv"_s;
    QTest::newRow("Quit") << u"Quit1"_s;
  }

  void otherExitsStoreNothing() {
    QFETCH(QString, exit);
    Get<QAction>("Save4")->trigger();
    const QByteArray stored = ReadFile(SettingsFile());
    const QDateTime written = QFileInfo(SettingsFile()).lastModified();
    window()->ApplyStoredSettings(Case(2));

    if (exit.isEmpty()) {
      window()->close();
    } else if (exit == u"Quit1") {
      Get<QAction>("Quit1")->trigger();
    } else {
      Click(qPrintable(exit));
    }

    QVERIFY(!window()->isVisible());
    QCOMPARE(ReadFile(SettingsFile()), stored);
    QCOMPARE(QFileInfo(SettingsFile()).lastModified(), written);
  }

  void damagedFileGivesDefaultsAndOneStatusLine_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<StoredSettings>("expected");
    QTest::addColumn<QString>("status");
    StoredSettings koi8;
    koi8.printer.charTable = CharTable::Koi8;
    StoredSettings someValid;
    someValid.printer.emphasised = true;
    someValid.text.cbNxPage = false;
    StoredSettings inRange;
    inRange.printer.spacing = LineSpacing::Units216;
    inRange.text.cbLfCrTx = true;
    const QString damaged = u"повреждён; что не удалось прочитать, взято по умолчанию."_s;
    const QString wrong = u"); вместо них взяты значения по умолчанию."_s;

    QTest::newRow("cut short") << QByteArray("[Printer]\nLang=LangKoi8\nWidEli") << koi8
                               << u"Файл настроек \"%1\" "_s + damaged;
    QTest::newRow("not text") << QByteArray("\x00\xFF\x10[Printer\nLang=\x01\xFE", 16)
                              << StoredSettings{} << u"Файл настроек \"%1\" "_s + damaged;
    QTest::newRow("wrong types")
        << QByteArray(
               "[Printer]\nLang=Foo\nWidElite=maybe\nSpinEdit1=abc\nStQuanty=true\n"
               "StrOutPr=@Rect(1 2 3 4)\nPrnName=a, b\n[Text]\nedLPtx=x\ncbNxPage=false\n")
        << someValid
        << u"В файле настроек \"%1\" неверные значения (Printer/Lang, Printer/WidElite, "
           u"Printer/SpinEdit1, Printer/StrOutPr, Printer/PrnName, Text/edLPtx"_s +
               wrong;
    QTest::newRow("out of range")
        << QByteArray(
               "[Printer]\nHei=Hei0118\nSpinEdit1=86\nSpinEdit2=2147483648\n"
               "[Text]\nedLPtx=0\ncbLfCrTx=true\n")
        << inRange
        << u"В файле настроек \"%1\" неверные значения (Printer/SpinEdit1, Printer/SpinEdit2, "
           u"Text/edLPtx"_s +
               wrong;
    QTest::newRow("too big")
        << QByteArray("[Printer]\nLang=LangKoi8\n") + QByteArray(2 << 20, ';') << StoredSettings{}
        << u"Файл настроек \"%1\" слишком велик и не прочитан; взяты настройки по "
           u"умолчанию."_s;
    QTest::newRow("below range") << QByteArray("[Printer]\nSpinEdit1=-1\n") << StoredSettings{}
                                 << u"В файле настроек \"%1\" неверные значения "
                                    u"(Printer/SpinEdit1"_s +
                                        wrong;
  }

  void damagedFileGivesDefaultsAndOneStatusLine() {
    QFETCH(QByteArray, content);
    QFETCH(StoredSettings, expected);
    QFETCH(QString, status);
    WriteSettingsFile(content);

    QVERIFY(window()->LoadStoredSettings());

    COMPARE_SETTINGS(window()->CurrentStoredSettings(), expected);
    QCOMPARE(Status(), status.arg(SettingsFile()));
    QCOMPARE(modals.TakeTexts(), QStringList());  // no box
  }

  void unreadableFileChangesNothing_data() {
    QTest::addColumn<bool>("pipe");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a folder") << false << u"Это каталог"_s;
    QTest::newRow("a pipe") << true << u"Это не обычный файл"_s;
  }

  void unreadableFileChangesNothing() {
    QFETCH(bool, pipe);
    QFETCH(QString, reason);
    QVERIFY(QDir().mkpath(pipe ? QFileInfo(SettingsFile()).path() : SettingsFile()));
    if (pipe) {
      QCOMPARE(::mkfifo(QFile::encodeName(SettingsFile()).constData(), 0600), 0);
    }
    window()->ApplyStoredSettings(Case(3));

    QVERIFY(window()->LoadStoredSettings());  // returns, even from a pipe nobody writes to

    COMPARE_SETTINGS(window()->CurrentStoredSettings(), Case(3));
    QCOMPARE(Status(),
             u"Не удалось прочитать файл настроек \"%1\": %2; настройки не изменены."_s.arg(
                 SettingsFile(), reason));
    QCOMPARE(modals.TakeTexts(), QStringList());
  }

  void writeFailureShowsTheBoxAndKeepsTheWindow_data() {
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("reason");
    QTest::newRow("a file where the folder should be, exit")
        << false << u"QuitSave"_s << u"Путь проходит через файл, который не является каталогом"_s;
    QTest::newRow("a file where the folder should be, Save")
        << false << u"Save4"_s << u"Путь проходит через файл, который не является каталогом"_s;
    QTest::newRow("full disk, exit") << true << u"QuitSave"_s << u"Файл слишком велик"_s;
  }

  void writeFailureShowsTheBoxAndKeepsTheWindow() {
    QFETCH(bool, fullDisk);
    QFETCH(QString, command);
    QFETCH(QString, reason);
    const QString folder = QFileInfo(SettingsFile()).path();
    QByteArray before;
    if (fullDisk) {
      Get<QAction>("Save4")->trigger();  // an old file that must survive
      before = ReadFile(SettingsFile());
      QVERIFY(before.size() > 100);
    } else {
      QVERIFY(QDir().mkpath(QFileInfo(folder).path()));
      QFile blocker(folder);
      QVERIFY(blocker.open(QIODevice::WriteOnly));
    }
    window()->ApplyStoredSettings(Case(4));
    const QString status = Status();

    {
      std::optional<TFileSizeLimit> limit;
      if (fullDisk) {
        limit.emplace(200);
      }
      if (command == u"Save4") {
        Get<QAction>("Save4")->trigger();
      } else {
        Click(qPrintable(command));
      }
    }

    QCOMPARE(modals.TakeTexts(),
             QStringList{u"Не удалось сохранить настройки в файл \"%1\": %2."_s.arg(SettingsFile(),
                                                                                    reason)});
    QVERIFY(window()->isVisible());
    QCOMPARE(Status(), status);
    COMPARE_SETTINGS(window()->CurrentStoredSettings(), Case(4));
    if (fullDisk) {
      QCOMPARE(ReadFile(SettingsFile()), before);
      QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"pl4120.ini"_s});
    }
  }

  void loadAndSaveOfTheFileMenu() {
    window()->ApplyStoredSettings(Case(5));
    Get<QAction>("Save3")->trigger();  // nothing stored yet
    COMPARE_SETTINGS(window()->CurrentStoredSettings(), Case(5));
    QCOMPARE(Status(), u"Настройки ещё не сохранялись: нет файла \"%1\"."_s.arg(SettingsFile()));

    // A spin value typed beyond its limits is stored as the spin edit takes it on leaving.
    Get<TSpinEdit>("SpinEdit1")->editor()->setText(u"100"_s);
    Get<QAction>("Save4")->trigger();
    QCOMPARE(Status(), u"Настройки сохранены в файл \"%1\"."_s.arg(SettingsFile()));
    StoredSettings expected = Case(5);
    expected.printer.units72 = pl4120::kUnits72Max;

    window()->ApplyStoredSettings(StoredSettings{});
    Get<QAction>("Save3")->trigger();

    COMPARE_SETTINGS(window()->CurrentStoredSettings(), expected);
    QVERIFY(window()->isVisible());
  }
};

PL4120_TEST_MAIN(TestSettingsKept)
#include "test_settings_kept.moc"
