#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utime.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCompleter>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "WindowTest.h"
#include "tests/text/TextTestSupport.h"
#include "text/Errors.h"
#include "text/FileNames.h"
#include "ui/widgets/OemMemo.h"

using namespace std::string_literals;

namespace {

const QString kTextFilter = QStringLiteral("Текстовые файлы (*.txt)");
const QString kAllFilter = QStringLiteral("Все файлы (*)");

// Puts `path` into the open dialog's name field as a user would type it (selectFile() leaves
// the field alone while it has the focus).
void TypeFileName(QFileDialog* dialog, const QString& path) {
  dialog->selectFile(path);
  auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  QVERIFY(edit != nullptr);
  edit->setText(path);
}

// Whether this process can open the file for reading.
bool CanOpen(const QString& path) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
  if (fd >= 0) {
    ::close(fd);
  }
  return fd >= 0;
}

}  // namespace

class TestReading : public TWindowTest {
  Q_OBJECT

 public:
  TestReading() : TWindowTest(Start::Shown, "pgTxtEdt") {}

 private slots:
  void loadReplacesTheText();
  void mergeAppendsAfterTextWithoutLineEnd();
  void mergeTwiceKeepsBothFilesAndShowsTheLastPath();
  void cancelChangesNothing_data();
  void cancelChangesNothing();
  void dialogRemembersFilterAndFileOfConfirmedUses();
  void emptyFileChangesOnlyTheNameField();
  void fileThatCannotBeOpenedShowsTheErrorAndChangesNothing_data();
  void fileThatCannotBeOpenedShowsTheErrorAndChangesNothing();
  void fileDatedBefore1980Loads();
  void lfCrBoxChangesNothing();
  void nulByteSurvives();
  void oneReadIsOneChangeWhileTheEditorIsHidden();
  void largeFileArrivesWholeAsOneChange();
  void editorShownAgainWhenReadingFails();
  void typedNameAndEnterLeaveNoListBehind();

 private:
  void SetUp() override;
  QString Write(const QString& name, const std::string& bytes) const {
    return WriteFile(name, bytes);
  }
  // Presses `button` and answers the file dialog with `path` (after selecting `filter` when
  // given); an error box that follows is recorded and closed.
  void Choose(QPushButton* button, const QString& path, const QString& filter = {});
  void Cancel(QPushButton* button);
  // Presses `button` and answers its file dialog with `answer`.
  void Answer(QPushButton* button, std::function<void(QFileDialog*)> answer);
  // Error boxes shown since the last look.
  QStringList Errors() { return modals.TakeTexts(); }
  QStringList CounterTexts() const;

  TOemMemo* memo_ = nullptr;
  QLineEdit* name_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* merge_ = nullptr;
  std::function<void()> afterAccept_;  // runs between the dialog's accept and the reading
};

void TestReading::SetUp() {
  memo_ = Get<TOemMemo>("mmText");
  name_ = Get<QLineEdit>("edTextFN");
  load_ = Get<QPushButton>("btLoadTx");
  merge_ = Get<QPushButton>("btMergTx");
  afterAccept_ = nullptr;
}

void TestReading::Answer(QPushButton* button, std::function<void(QFileDialog*)> answer) {
  modals.onFileDialog = std::move(answer);
  QTest::mouseClick(button, Qt::LeftButton);
  modals.onFileDialog = nullptr;
}

void TestReading::Choose(QPushButton* button, const QString& path, const QString& filter) {
  Answer(button, [this, path, filter](QFileDialog* dialog) {
    if (!filter.isEmpty()) {
      dialog->selectNameFilter(filter);
    }
    TypeFileName(dialog, path);
    static_cast<QDialog*>(dialog)->accept();
    if (afterAccept_) {
      afterAccept_();
    }
  });
}

void TestReading::Cancel(QPushButton* button) {
  Answer(button, [](QFileDialog* dialog) { dialog->reject(); });
}

QStringList TestReading::CounterTexts() const {
  QStringList texts;
  for (const char* name : {"edLnTx", "edPgTx", "edCurXps", "edCurYps"}) {
    texts << Get<QLineEdit>(name)->text();
  }
  return texts;
}

void TestReading::loadReplacesTheText() {
  memo_->setBytes("old text\r\nmore");
  const QString path = Write(QStringLiteral("a.txt"), "a\r\nb\r\n");
  Choose(load_, path);
  QCOMPARE(memo_->bytes(), "a\r\nb\r\n"s);
  QCOMPARE(window()->TextFile().Name(), QFile::encodeName(path).toStdString());
  QCOMPARE(name_->text(), path);
  QVERIFY(memo_->textCursor().atEnd());
  QVERIFY(memo_->isVisible());
  QCOMPARE(Errors(), QStringList());
}

void TestReading::mergeAppendsAfterTextWithoutLineEnd() {
  memo_->setBytes("xyz");
  Choose(merge_, Write(QStringLiteral("ab.txt"), "a\r\nb\r\n"));
  QCOMPARE(memo_->bytes(), "xyz\r\na\r\nb"s);
  QVERIFY(memo_->textCursor().atEnd());
}

void TestReading::mergeTwiceKeepsBothFilesAndShowsTheLastPath() {
  const QString first = Write(QStringLiteral("first.txt"), "1\n2\n");
  const QString second = Write(QStringLiteral("second.txt"), "3\n");
  Choose(merge_, first);
  Choose(merge_, second);
  QCOMPARE(memo_->bytes(), "1\r\n2\r\n3\r\n"s);
  QCOMPARE(name_->text(), second);
  QCOMPARE(name_->selectedText(), second);
  QCOMPARE(window()->TextFile().Name(), QFile::encodeName(second).toStdString());
}

void TestReading::cancelChangesNothing_data() {
  QTest::addColumn<bool>("load");
  QTest::addColumn<bool>("readBefore");
  QTest::newRow("load, first use") << true << false;
  QTest::newRow("load after a read") << true << true;
  QTest::newRow("merge after a read") << false << true;
}

void TestReading::cancelChangesNothing() {
  QFETCH(bool, load);
  QFETCH(bool, readBefore);
  if (readBefore) {
    Choose(merge_, Write(QStringLiteral("before.txt"), "before\n"));
  }
  memo_->appendBytes("kept");
  const std::string text = memo_->bytes();
  const QString name = name_->text();
  const std::string current = window()->TextFile().Name();
  Cancel(load ? load_ : merge_);
  QCOMPARE(memo_->bytes(), text);
  QCOMPARE(name_->text(), name);
  QCOMPARE(window()->TextFile().Name(), current);
  if (!readBefore) {
    QCOMPARE(name_->text(), QStringLiteral("Нет текста"));
  }
}

void TestReading::dialogRemembersFilterAndFileOfConfirmedUses() {
  const QString data = Write(QStringLiteral("data.dat"), "d\n");
  QString firstFilter;
  QStringList filters;
  Answer(merge_, [&](QFileDialog* dialog) {
    firstFilter = dialog->selectedNameFilter();
    filters = dialog->nameFilters();
    dialog->selectNameFilter(kAllFilter);
    TypeFileName(dialog, data);
    static_cast<QDialog*>(dialog)->accept();
  });
  QCOMPARE(filters, QStringList({kTextFilter, kAllFilter}));
  QCOMPARE(firstFilter, kTextFilter);
  QCOMPARE(memo_->bytes(), "d\r\n"s);

  // A cancelled use that switched the filter back is forgotten.
  QString shownFilter;
  QStringList shownFiles;
  for (int use = 0; use < 2; ++use) {
    Answer(use == 0 ? load_ : merge_, [&](QFileDialog* dialog) {
      shownFilter = dialog->selectedNameFilter();
      shownFiles = dialog->selectedFiles();
      dialog->selectNameFilter(kTextFilter);
      dialog->reject();
    });
    QCOMPARE(shownFilter, kAllFilter);
    QCOMPARE(shownFiles, QStringList{data});
  }
  QCOMPARE(memo_->bytes(), "d\r\n"s);
}

void TestReading::emptyFileChangesOnlyTheNameField() {
  memo_->setBytes("xyz");
  const QString path = Write(QStringLiteral("empty.txt"), "");
  Choose(merge_, path);
  QCOMPARE(memo_->bytes(), "xyz"s);
  QCOMPARE(name_->text(), path);
  QCOMPARE(Errors(), QStringList());
  Choose(load_, path);  // replacing by an empty file empties the editor
  QCOMPARE(memo_->bytes(), ""s);
  QCOMPARE(Errors(), QStringList());
}

void TestReading::fileThatCannotBeOpenedShowsTheErrorAndChangesNothing_data() {
  QTest::addColumn<bool>("noRights");
  QTest::addColumn<bool>("load");
  QTest::newRow("no rights, load") << true << true;
  QTest::newRow("no rights, merge") << true << false;
  QTest::newRow("no descriptor left, load") << false << true;
}

void TestReading::fileThatCannotBeOpenedShowsTheErrorAndChangesNothing() {
  QFETCH(bool, noRights);
  QFETCH(bool, load);
  const QString before = Write(QStringLiteral("before.txt"), "before\n");
  Choose(merge_, before);
  QString path = Write(QStringLiteral("closed.txt"), "secret\n");
  rlimit saved{};
  QCOMPARE(getrlimit(RLIMIT_NOFILE, &saved), 0);
  QString expected;
  if (noRights) {
    QVERIFY(QFile::setPermissions(path, {}));
    if (CanOpen(path)) {
      // The superuser reads files without rights; a write-only attribute of the kernel is a
      // regular file that nobody can open for reading.
      path = QStringLiteral("/sys/bus/pci/rescan");
      if (!pl4120::IsExistingFile(QFile::encodeName(path).toStdString()) || CanOpen(path)) {
        QSKIP("no file here that this user cannot read");
      }
    }
    expected = QStringLiteral("File access denied.");
  } else {
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("the sanitizers' runtime needs free descriptors of its own to report errors");
#endif
    // Once the dialog has closed, the lowest free descriptor becomes the limit, so the
    // open of the chosen file is the one that fails.
    afterAccept_ = [saved] {
      const int lowestFree = ::dup(0);
      ::close(lowestFree);
      rlimit tight = saved;
      tight.rlim_cur = static_cast<rlim_t>(lowestFree);
      ::setrlimit(RLIMIT_NOFILE, &tight);
    };
    expected = QStringLiteral("Too many open files.");
  }
  const std::string text = memo_->bytes();
  Choose(load ? load_ : merge_, path);
  ::setrlimit(RLIMIT_NOFILE, &saved);
  QCOMPARE(Errors(), QStringList{expected});
  QCOMPARE(memo_->bytes(), text);
  QCOMPARE(name_->text(), before);
  QCOMPARE(window()->TextFile().Name(), QFile::encodeName(before).toStdString());
  QVERIFY(memo_->isVisible());
}

void TestReading::fileDatedBefore1980Loads() {
  memo_->setBytes("old");
  const QString path = Write(QStringLiteral("1975.txt"), "from 1975\r\n");
  utimbuf times{};
  times.actime = times.modtime = 165000000;  // March 1975
  QCOMPARE(::utime(QFile::encodeName(path).constData(), &times), 0);
  Choose(load_, path);
  QCOMPARE(memo_->bytes(), "from 1975\r\n"s);
  QCOMPARE(name_->text(), path);
}

void TestReading::lfCrBoxChangesNothing() {
  const QString path = Write(QStringLiteral("mixed.txt"), "a\nb\r\nc\rd\r\r\ne");
  QCheckBox* box = Get<QCheckBox>("cbLfCrTx");
  std::string texts[2];
  for (int ticked = 0; ticked < 2; ++ticked) {
    box->setChecked(ticked == 1);
    Choose(load_, path);
    texts[ticked] = memo_->bytes();
  }
  QCOMPARE(texts[0], "a\r\nb\r\ncd\r\ne\r\n"s);
  QCOMPARE(texts[1], texts[0]);
}

void TestReading::nulByteSurvives() {
  Choose(load_, Write(QStringLiteral("nul.txt"), "ab\0cd\r\nef"s));
  QCOMPARE(memo_->bytes(), "ab\0cd\r\nef\r\n"s);
  QCOMPARE(memo_->document()->blockCount(), 3);
}

void TestReading::oneReadIsOneChangeWhileTheEditorIsHidden() {
  std::string bytes;
  for (int i = 0; i < 2000; ++i) {
    bytes += "line " + std::to_string(i) + "\r\n";
  }
  const QString path = Write(QStringLiteral("many.txt"), bytes);
  memo_->setBytes("old\r\n");
  for (QPushButton* button : {load_, merge_}) {
    int changes = 0;
    bool visibleAtChange = true;
    const auto connection = connect(memo_, &QPlainTextEdit::textChanged, this, [&] {
      ++changes;
      visibleAtChange = memo_->isVisible();
    });
    Choose(button, path);
    disconnect(connection);
    QCOMPARE(changes, 1);
    QVERIFY(!visibleAtChange);
    QVERIFY(memo_->isVisible());
    QVERIFY(memo_->textCursor().atEnd());
    // The counters written by that one change are those of the whole new text.
    const QStringList counters = CounterTexts();
    window()->mmTextChange();
    QCOMPARE(CounterTexts(), counters);
  }
  QCOMPARE(memo_->bytes(), bytes + bytes);
}

void TestReading::largeFileArrivesWholeAsOneChange() {
  // Large enough to go into the editor in several pieces; lines of many lengths, some empty.
  std::string bytes;
  std::vector<std::string> lines;
  for (int i = 0; bytes.size() < 20'000'000; ++i) {
    lines.push_back(std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)));
    bytes += lines.back() + (i % 3 == 0 ? "\n" : "\r\n");
  }
  const QString path = Write(QStringLiteral("large.txt"), bytes);
  memo_->setBytes("xyz");
  int changes = 0;
  connect(memo_, &QPlainTextEdit::textChanged, this, [&] { ++changes; });
  Choose(merge_, path);
  QCOMPARE(changes, 1);
  QVERIFY(memo_->bytes() == "xyz" + pl4120::BuildAppendPiece(lines, true));
  QVERIFY(memo_->textCursor().atEnd());
  QCOMPARE(memo_->document()->blockCount(), static_cast<int>(lines.size()) + 1);
}

void TestReading::editorShownAgainWhenReadingFails() {
  memo_->setBytes("kept");
  memo_->setFocus();
  const QString folder = TempPath(QStringLiteral("folder"));
  QVERIFY(QDir().mkpath(folder));
  window()->TextFile().SetName(QFile::encodeName(folder).toStdString());
  try {
    window()->ReadTextFileIntoEditor();
    QFAIL("a folder was read");
  } catch (const pl4120::EInOutError& e) {
    QCOMPARE(e.ErrorCode(), 5);
  }
  QVERIFY(memo_->isVisible());
  QCOMPARE(memo_->bytes(), "kept"s);
}

void TestReading::typedNameAndEnterLeaveNoListBehind() {
  const QString path = Write(QStringLiteral("typed.txt"), "typed\r\n");
  Write(QStringLiteral("typed-too.txt"), "");  // so that the completion list has two entries
  QFileDialog* shown = nullptr;
  bool listShown = false;
  Answer(load_, [&](QFileDialog* dialog) {
    shown = dialog;
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    QCompleter* completer = dialog->findChild<QCompleter*>();
    if (edit != nullptr && completer != nullptr) {
      QApplication::setActiveWindow(dialog);
      edit->setFocus();
      edit->clear();
      QTest::keyClicks(edit, path.chopped(3));
      listShown = QTest::qWaitFor([&] { return completer->popup()->isVisible(); });
      QTest::keyClicks(edit, path.right(3));
      QTest::keyClick(edit, Qt::Key_Return);
      if (dialog->isVisible()) {  // the first Enter may only take the completion
        QTest::keyClick(edit, Qt::Key_Return);
      }
    }
    if (dialog->isVisible()) {  // never leave the test waiting on the dialog
      dialog->reject();
    }
  });

  QVERIFY(listShown);
  QCOMPARE(memo_->bytes(), "typed\r\n"s);
  for (QCompleter* completer : shown->findChildren<QCompleter*>()) {
    QVERIFY(!completer->popup()->isVisible());
  }
}

PL4120_TEST_MAIN(TestReading)
#include "test_reading.moc"
