// Saving the text, and never losing it without a word: "Save Text" writes the editor's bytes
// back to the current file and "Save Text As ..." asks for a name first, both in one step that
// leaves the old file whole when it fails; "Чтение текста" and every way of closing the window
// ask about a text edited since it was read or saved, and about no other; the menu "Text" does
// what the buttons do.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <optional>
#include <string>

#include "WindowTest.h"
#include "ui/widgets/OemMemo.h"

using namespace Qt::StringLiterals;
using namespace std::string_literals;

Q_DECLARE_METATYPE(std::string)

namespace {

const QString kQuestion = u"Текст изменён. Сохранить изменения?"_s;

// Every byte value but the line ends, in lines ended by CR LF (Ctrl-Z not at a line's start,
// where it would end the file), an empty line among them.
std::string EveryByteText() {
  std::string first = "\x00 NUL, Ctrl-Z \x1A inside:"s;
  std::string second;
  for (int b = 1; b < 0x80; ++b) {
    if (b != '\r' && b != '\n') {
      first += static_cast<char>(b);
    }
  }
  for (int b = 0x80; b < 0x100; ++b) {
    second += static_cast<char>(b);
  }
  return first + "\r\n" + second + "\r\n\r\nend\r\n";
}

}  // namespace

class TestTextSaving : public TWindowTest {
  Q_OBJECT

 public:
  TestTextSaving() : TWindowTest(Start::Shown, "pgTxtEdt") {}

 private:
  TOemMemo* memo = nullptr;
  QStringList dialogs;  // the file dialogs shown, by name

  void SetUp() override {
    memo = Get<TOemMemo>("mmText");
    dialogs.clear();
    AnswerFileDialogs(QString());
  }

  // Answers the file dialogs from now on with `path`; an empty path cancels them.
  void AnswerFileDialogs(const QString& path) {
    modals.onFileDialog = [this, path](QFileDialog* dialog) {
      dialogs << dialog->objectName();
      if (path.isEmpty()) {
        dialog->reject();
        return;
      }
      dialog->selectFile(path);
      dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(path);
      static_cast<QDialog*>(dialog)->accept();
    };
  }

  // Reads a file into the editor with "Чтение текста", then types into it.
  QString ReadAndEdit(const std::string& content) {
    const QString path = WriteFile(u"text.txt"_s, content);
    AnswerFileDialogs(path);
    QTest::mouseClick(Get<QPushButton>("btLoadTx"), Qt::LeftButton);
    AnswerFileDialogs(QString());
    dialogs.clear();
    Type(memo, u"Новое "_s);
    return path;
  }

  bool Closed() const { return !window()->isVisible(); }

  void Act(const QString& action) {
    if (action == u"close box") {
      window()->close();
    } else if (action == u"Quit1" || action == u"Save1") {
      window()->findChild<QAction*>(action)->trigger();
    } else {
      window()->findChild<QPushButton*>(action)->click();
    }
  }

 private slots:
  void saveAsAndReadRoundTripByteForByte() {
    const std::string text = EveryByteText();
    memo->setBytes(text);
    const QString path = TempPath(u"every byte.txt"_s);
    AnswerFileDialogs(path);

    Get<QAction>("Save2")->trigger();

    QCOMPARE(dialogs, QStringList{u"sdSaveTx"_s});
    QCOMPARE(ReadFile(path), QByteArray::fromStdString(text));
    QCOMPARE(Get<QLineEdit>("edTextFN")->text(), path);
    QCOMPARE(window()->TextFile().Name(), QFile::encodeName(path).toStdString());
    QVERIFY(!memo->document()->isModified());

    memo->setBytes("other");
    QTest::mouseClick(Get<QPushButton>("btLoadTx"), Qt::LeftButton);

    QCOMPARE(memo->bytes(), text);
    QCOMPARE(modals.TakeTexts(), QStringList());
  }

  void saveTextWritesTheCurrentFileWithoutAsking() {
    const QString path = ReadAndEdit("old\r\n");

    Get<QAction>("SaveText1")->trigger();

    QCOMPARE(dialogs, QStringList());
    QCOMPARE(ReadFile(path), QByteArray::fromStdString(memo->bytes()));
    QCOMPARE(ReadFile(path), QByteArray("old\r\n\x8D\xAE\xA2\xAE\xA5 "));  // "Новое " in 866
    QVERIFY(!memo->document()->isModified());
  }

  void saveTextWithoutAFileAsksForAName() {
    Type(memo, u"typed"_s);
    const QString path = TempPath(u"new.txt"_s);
    AnswerFileDialogs(path);

    Get<QAction>("SaveText1")->trigger();

    QCOMPARE(dialogs, QStringList{u"sdSaveTx"_s});
    QCOMPARE(ReadFile(path), QByteArray("typed"));
    QCOMPARE(Get<QLineEdit>("edTextFN")->text(), path);
  }

  void failedSaveKeepsTheOldFileAndTheText_data() {
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<QString>("reason");
    QTest::newRow("full disk") << true << u"Файл слишком велик"_s;
    QTest::newRow("a file where the folder was")
        << false << u"Путь проходит через файл, который не является каталогом"_s;
  }

  void failedSaveKeepsTheOldFileAndTheText() {
    QFETCH(bool, fullDisk);
    QFETCH(QString, reason);
    const QString path = ReadAndEdit(std::string(300, 'o') + "\r\n");
    const QByteArray old = ReadFile(path);
    Type(memo, QString(400, u'ж'));
    const std::string text = memo->bytes();
    QString target = path;
    if (!fullDisk) {
      target = path + u"/inside.txt"_s;
      window()->TextFile().SetName(QFile::encodeName(target).toStdString());
    }

    {
      std::optional<TFileSizeLimit> limit;
      if (fullDisk) {
        limit.emplace(500);
      }
      Get<QAction>("SaveText1")->trigger();
    }

    QCOMPARE(modals.TakeTexts(),
             QStringList{u"Не удалось сохранить текст в файл \"%1\": %2."_s.arg(target, reason)});
    QCOMPARE(ReadFile(path), old);
    QCOMPARE(QDir(TempPath(QString())).entryList(QDir::Files), QStringList{u"text.txt"_s});
    QCOMPARE(memo->bytes(), text);
    QVERIFY(memo->document()->isModified());
    QCOMPARE(window()->TextFile().Name(), QFile::encodeName(target).toStdString());
    QCOMPARE(Get<QLineEdit>("edTextFN")->text(), path);
  }

  void editedTextIsAskedAbout_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("goesOn");
    const QString actions[] = {u"btLoadTx"_s, u"Save1"_s,     u"QuitNoSv"_s,
                               u"QuitSave"_s, u"close box"_s, u"Quit1"_s};
    for (const QString& action : actions) {
      const QByteArray name = action.toUtf8();
      QTest::addRow("%s, Да", name.constData()) << action << int(QMessageBox::Yes) << true << true;
      QTest::addRow("%s, Нет", name.constData()) << action << int(QMessageBox::No) << false << true;
      QTest::addRow("%s, Отмена", name.constData())
          << action << int(QMessageBox::Cancel) << false << false;
    }
  }

  void editedTextIsAskedAbout() {
    QFETCH(QString, action);
    QFETCH(int, answer);
    QFETCH(bool, saved);
    QFETCH(bool, goesOn);
    const QString path = ReadAndEdit("old\r\n");
    const std::string text = memo->bytes();
    QStringList buttons;
    modals.whileOpen = [&buttons] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      for (auto button : {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
        buttons << box->button(button)->text();
      }
    };
    modals.presses = {QMessageBox::StandardButton(answer)};

    Act(action);

    QCOMPARE(modals.TakeTexts(), QStringList{kQuestion});
    QCOMPARE(buttons, QStringList({u"Да"_s, u"Нет"_s, u"Отмена"_s}));
    QCOMPARE(ReadFile(path), saved ? QByteArray::fromStdString(text) : QByteArray("old\r\n"));
    const bool loading = action == u"btLoadTx" || action == u"Save1";
    QCOMPARE(loading ? !dialogs.isEmpty() : Closed(), goesOn);
    if (!goesOn) {
      QCOMPARE(memo->bytes(), text);
      QVERIFY(memo->document()->isModified());
    }
  }

  void yesStaysWhenTheTextIsNotSaved_data() {
    QTest::addColumn<bool>("withFile");
    QTest::newRow("the name asked for and cancelled") << false;
    QTest::newRow("the save failed") << true;
  }

  void yesStaysWhenTheTextIsNotSaved() {
    QFETCH(bool, withFile);
    if (withFile) {
      ReadAndEdit("old\r\n");
      window()->TextFile().SetName(QFile::encodeName(TempPath(u"text.txt/x"_s)).toStdString());
    } else {
      Type(memo, u"typed"_s);
    }
    modals.presses = {QMessageBox::Yes};

    window()->close();

    QVERIFY(!Closed());
    QCOMPARE(dialogs, withFile ? QStringList() : QStringList{u"sdSaveTx"_s});
    QCOMPARE(modals.TakeTexts().size(), withFile ? 2 : 1);  // the question, the error box
    QVERIFY(memo->document()->isModified());
  }

  void uneditedTextIsNotAskedAbout_data() {
    QTest::addColumn<QString>("state");
    QTest::addColumn<std::string>("text");
    QTest::newRow("a new empty editor") << u"new"_s << ""s;
    QTest::newRow("a text just read") << u"read"_s << "a\r\n"s;
    QTest::newRow("a text just saved") << u"saved"_s << "typed"s;
    QTest::newRow("a file merged into an empty editor") << u"merged"_s << "a\r\n"s;
    QTest::newRow("an edit undone") << u"undone"_s << ""s;
  }

  void uneditedTextIsNotAskedAbout() {
    QFETCH(QString, state);
    QFETCH(std::string, text);
    AnswerFileDialogs(WriteFile(u"a.txt"_s, "a\r\n"));
    if (state == u"read") {
      QTest::mouseClick(Get<QPushButton>("btLoadTx"), Qt::LeftButton);
    } else if (state == u"merged") {
      QTest::mouseClick(Get<QPushButton>("btMergTx"), Qt::LeftButton);
    } else if (state == u"saved") {
      Type(memo, u"typed"_s);
      AnswerFileDialogs(TempPath(u"saved.txt"_s));
      Get<QAction>("Save2")->trigger();
    } else if (state == u"undone") {
      Type(memo, u"t"_s);
      memo->undo();
    }
    QCOMPARE(memo->bytes(), text);
    AnswerFileDialogs(QString());

    QTest::mouseClick(Get<QPushButton>("btLoadTx"), Qt::LeftButton);
    window()->close();

    QCOMPARE(modals.TakeTexts(), QStringList());
    QVERIFY(Closed());
  }

  void textMenuDoesWhatTheButtonsDo_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<std::string>("expected");
    QTest::newRow("Load Text") << u"Save1"_s << "a\r\n"s;
    QTest::newRow("Merge Text") << u"MergeText1"_s << "xyz\r\na"s;
  }

  void textMenuDoesWhatTheButtonsDo() {
    QFETCH(QString, command);
    QFETCH(std::string, expected);
    memo->setBytes("xyz");
    const QString path = WriteFile(u"a.txt"_s, "a\r\n");
    AnswerFileDialogs(path);

    window()->findChild<QAction*>(command)->trigger();

    QCOMPARE(dialogs, QStringList{u"odOpenTx"_s});
    QCOMPARE(memo->bytes(), expected);
    QCOMPARE(Get<QLineEdit>("edTextFN")->text(), path);
  }
};

PL4120_TEST_MAIN(TestTextSaving)
#include "test_text_saving.moc"
