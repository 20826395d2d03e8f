// Russian throughout and the program's own help: Qt's texts (standard buttons, the open
// dialog, the editor's context menu) read Russian in the running application; the manual
// opens beside the window without blocking it and explains every setting, the device names,
// the file format and the counters; the box "О программе" names the program, its version and
// its licence.

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTranslator>
#include <memory>

#include "WindowTest.h"
#include "app/ProgramInfo.h"
#include "ui/widgets/HelpWindow.h"

using namespace Qt::StringLiterals;

namespace {

// A text of the interface reads Russian: Cyrillic letters and no Latin ones, once the
// mnemonic marks and the shortcut after a tab are taken away.
bool ReadsRussian(const QString& text) {
  const QString shown = text.section(u'\t', 0, 0).remove(u'&');
  static const QRegularExpression latin(u"[A-Za-z]"_s);
  static const QRegularExpression cyrillic(u"[\u0400-\u04FF]"_s);
  return shown.contains(cyrillic) && !shown.contains(latin);
}

// Where Qt's Russian texts are installed the application object must have loaded them;
// without their package the checks of Qt's texts are skipped. (A macro: QSKIP and QVERIFY
// end the test function that uses them.)
bool QtRussianInstalled() {
  return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + u"/qtbase_ru.qm"_s);
}
#define REQUIRE_QT_RUSSIAN()                                                              \
  do {                                                                                    \
    if (!QtRussianInstalled())                                                            \
      QSKIP("Qt's Russian translation (package qt6-translations-l10n) is not installed"); \
    QVERIFY(TApplication::Instance()->QtTranslationLoaded());                             \
  } while (false)

QString HelpPlainText(THelpWindow* help) {
  return help->Browser()->toPlainText().simplified();
}

}  // namespace

class TestHelp : public QObject {
  Q_OBJECT

 private slots:
  void standardButtonsReadRussian_data() {
    QTest::addColumn<int>("button");
    QTest::newRow("OK") << int(QMessageBox::Ok);
    QTest::newRow("Cancel") << int(QMessageBox::Cancel);
    QTest::newRow("Yes") << int(QMessageBox::Yes);
    QTest::newRow("No") << int(QMessageBox::No);
    QTest::newRow("Save") << int(QMessageBox::Save);
    QTest::newRow("Close") << int(QMessageBox::Close);
  }

  void standardButtonsReadRussian() {
    REQUIRE_QT_RUSSIAN();
    QFETCH(int, button);
    QMessageBox box(QMessageBox::Information, u"t"_s, u"x"_s, QMessageBox::StandardButton(button));

    const QString text = box.button(QMessageBox::StandardButton(button))->text();

    QVERIFY2(ReadsRussian(text), qPrintable(text));
  }

  void openDialogReadsRussian() {
    REQUIRE_QT_RUSSIAN();
    TPL4120_1 window;
    auto* dialog = Find<QFileDialog>(&window, "odOpenTx");
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);

    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir(u"sub"_s));
    dialog->setDirectory(folder.path());

    dialog->show();
    QStringList texts;
    for (const char* label : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
      texts << Find<QLabel>(dialog, label)->text();
    }
    auto* buttons = Find<QDialogButtonBox>(dialog, "buttonBox");
    for (QAbstractButton* button : buttons->buttons()) {
      texts << button->text();
    }
    auto* files = dialog->findChild<QFileSystemModel*>();
    QVERIFY(files);
    for (int column = 0; column < files->columnCount(); ++column) {
      texts << files->headerData(column, Qt::Horizontal).toString();
    }
    const QModelIndex sub = files->index(folder.path() + u"/sub"_s, 2);  // its type
    QTRY_VERIFY(!files->data(sub).toString().isEmpty());
    texts << files->data(sub).toString();
    dialog->hide();

    // three labels, "Open" and "Cancel", four column titles, the type of a folder
    QCOMPARE(texts.size(), 10);
    for (const QString& text : texts) {
      QVERIFY2(ReadsRussian(text), qPrintable(text));
    }
  }

  void editorContextMenuReadsRussian() {
    REQUIRE_QT_RUSSIAN();
    TPL4120_1 window;
    auto* editor = Find<QPlainTextEdit>(&window, "mmText");
    editor->setPlainText(u"абв"_s);
    SelectChars(editor, 0, 1);

    std::unique_ptr<QMenu> menu(editor->createStandardContextMenu());

    QStringList texts;
    for (QAction* action : menu->actions()) {
      if (!action->isSeparator()) {
        texts << action->text();
      }
    }
    QCOMPARE(texts.size(), 7);  // undo, redo, cut, copy, paste, delete, select all
    for (const QString& text : texts) {
      QVERIFY2(ReadsRussian(text), qPrintable(text));
    }
  }

  void missingTranslationIsNoError() {
    QTemporaryDir empty;
    QTranslator translator;

    QVERIFY(!LoadQtRussian(translator, empty.path()));
    QVERIFY(translator.isEmpty());
    QVERIFY(!LoadQtRussian(translator, empty.path() + u"/absent"_s));
  }

  void helpOpensBesideTheWindowWithoutBlockingIt() {
    TPL4120_1 window;
    window.show();

    QPointer<THelpWindow> first = ShowHelp(&window);

    QVERIFY(first);
    QVERIFY(first->isVisible());
    QVERIFY(first->isWindow());
    QVERIFY(!first->isModal());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QVERIFY(first->windowTitle().startsWith(u"Помощь"_s));
    // One window: a second call brings the open one back; once closed, it is gone.
    QCOMPARE(ShowHelp(&window), first.data());
    QCOMPARE(window.findChildren<THelpWindow*>().size(), 1);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QPointer<THelpWindow> second = ShowHelp(&window);
    QVERIFY(second && second->isVisible());
    QCOMPARE(window.findChildren<THelpWindow*>().size(), 1);
  }

  void helpExplains_data() {
    QTest::addColumn<QString>("text");
    // What the settings send.
    for (const char* code : {"ESC @",
                             "1B 40",
                             "ESC R 15",
                             "1B 52 0F",
                             "SI / DC2",
                             "0F / 12",
                             "SO / DC4",
                             "0E / 14",
                             "ESC M",
                             "1B 4D",
                             "ESC P",
                             "1B 50",
                             "ESC 1",
                             "1B 31",
                             "ESC 0",
                             "1B 30",
                             "ESC 2",
                             "1B 32",
                             "ESC A n",
                             "1B 41 n",
                             "ESC 3 n",
                             "1B 33 n",
                             "ESC E / ESC F",
                             "1B 45 / 1B 46",
                             "ESC G / ESC H",
                             "1B 47 / 1B 48",
                             "CR LF",
                             "0D 0A",
                             "1B 40 1B 52 0F 12 14 1B 4D 1B 30 1B 46 1B 48 0D"}) {
      QTest::newRow(code) << QString::fromUtf8(code);
    }
    // The output device.
    for (const char* name : {"PRN", "LPT1", "LPT9", "/dev/usb/lp0", "/dev/lp0", "COM1",
                             "/dev/ttyS0", "NUL", "/dev/null", "socket://ХОСТ[:ПОРТ]", "9100",
                             "ipp://", "ipps://", "cups:ИМЯ", "cups:", "обычный файл"}) {
      QTest::newRow(name) << QString::fromUtf8(name);
    }
    // Why a device refuses, the format, the counters, the preview, the command line.
    for (const char* fact : {"группе lp", "sudo usermod -aG lp $USER", "войдите снова", "866",
                             "CR LF (0D 0A)", "Ничего не перекодируется", "«Строк»", "«Страниц»",
                             "делённые нацело", "«Строк/Стран»", "плюс один", "«Столбец X=»",
                             "«Строка Y=»", "«Просмотр»", "pl4120 --help", "pl4120 --version"}) {
      QTest::newRow(fact) << QString::fromUtf8(fact);
    }
  }

  void helpExplains() {
    QFETCH(QString, text);
    TPL4120_1 window;

    const QString help = HelpPlainText(ShowHelp(&window));

    QVERIFY2(help.contains(text), qPrintable(text));
  }

  // The manual names each setting by the caption the window shows, so the two cannot drift.
  void helpNamesEverySettingByItsCaption() {
    TPL4120_1 window;
    const QString help = HelpPlainText(ShowHelp(&window));

    for (const char* name :
         {"LangAltM",  "LangKoi8", "LangComn", "WidElite", "WidExten", "Wid12smb", "Wid10smb",
          "Hei2spi",   "Hei3spi",  "Hei4spi",  "Hei0353",  "Hei0118",  "StQuanty", "StDouble",
          "SetPrint1", "btLoadTx", "btMergTx", "btPrinTx", "bbNxPage", "cbNxPage", "Instruc"}) {
      const QString caption = Find<QAbstractButton>(&window, name)->text().simplified();
      QVERIFY2(help.contains(u"«"_s + caption + u"»"_s), qPrintable(caption));
    }
  }

  void helpLinksLeadToItsSections() {
    QFile source(u":/help/index.html"_s);
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(source.readAll());

    QSet<QString> anchors;
    for (const auto& match : QRegularExpression(uR"re(<a name="([^"]+)")re"_s).globalMatch(html)) {
      anchors << match.captured(1);
    }
    int links = 0;
    for (const auto& match : QRegularExpression(uR"re(href="#([^"]+)")re"_s).globalMatch(html)) {
      ++links;
      QVERIFY2(anchors.contains(match.captured(1)), qPrintable(match.captured(1)));
    }
    QCOMPARE(links, anchors.size());
  }

  void aboutNamesProgramVersionAndLicence() {
    TPL4120_1 window;
    QString title, text, details, button;
    TModalAnswers modals;
    modals.whileOpen = [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      title = box->windowTitle();
      text = box->text();
      details = box->detailedText();
      button = box->buttons().first()->text();
    };
    modals.Arm();

    ShowAbout(&window);
    const QStringList texts = modals.TakeTexts();
    modals.Disarm();

    QCOMPARE(texts.size(), 1);
    QCOMPARE(title, u"О программе"_s);
    QVERIFY(text.contains(u"Работа с принтером &quot;ПЛ 4120&quot;"_s));
    QVERIFY(text.contains(u"версия "_s + ProgramVersion()));
    QVERIFY(QRegularExpression(u"^\\d+\\.\\d+\\.\\d+$"_s).match(ProgramVersion()).hasMatch());
    QVERIFY(text.contains(u"лицензией MIT"_s));
    QVERIFY(text.contains(u"2026 the ПЛ 4120 utility developers"_s));
    QVERIFY(details.startsWith(u"MIT License"_s));
    QVERIFY(details.contains(u"Permission is hereby granted, free of charge"_s));
    if (TApplication::Instance()->QtTranslationLoaded()) {
      QVERIFY2(ReadsRussian(button), qPrintable(button));
    }
  }
};

PL4120_TEST_MAIN(TestHelp)
#include "test_help.moc"
