#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPlainTextEdit>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

#include "app/Application.h"
#include "ui/session/SendSession.h"
#include "ui/session/TextFile.h"
#include "ui/window/Unit1.h"

class QFileDialog;
class TOemMemo;

/// Finds a widget or object below `root` by objectName; fails the test when it is missing.
template <class T = QWidget>
T* Find(QObject* root, const char* name) {
  T* found = root->findChild<T*>(QString::fromLatin1(name));
  if (!found) {
    QTest::qFail(qPrintable(QStringLiteral("no control named ") + QString::fromLatin1(name)),
                 __FILE__, __LINE__);
  }
  return found;
}

/// What a modal window showed before it was answered (the texts are empty for a window that
/// is not a message box).
struct TShownBox {
  QString objectName;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  bool applicationModal = false;
};

/// Answers every modal window that opens while it is armed, without blocking: it notices the
/// window when it is shown and answers from inside the window's own event loop. A file dialog
/// goes to `onFileDialog` (rejected when that is empty); any other modal window is recorded
/// in `boxes`, `whileOpen` runs while it is still up, and then the next button queued in
/// `presses` is pressed, or its first button when none is queued (a dialog without buttons is
/// rejected).
class TModalAnswers : public QObject {
 public:
  ~TModalAnswers() override { Disarm(); }

  void Arm();
  /// Lets the answers still queued run, then stops watching.
  void Disarm();
  /// Lets the events still pending run, then returns the texts of the boxes answered since the
  /// last call, oldest first, and forgets them.
  QStringList TakeTexts();

  QList<TShownBox> boxes;
  /// The buttons to press in the next message boxes, oldest first.
  QList<QMessageBox::StandardButton> presses;
  std::function<void(QFileDialog*)> onFileDialog;
  std::function<void()> whileOpen;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Answer(QWidget* modal);

  bool armed_ = false;
};

/// The base of the window's test suites. Each test gets a fresh window (shown as the suite
/// asks, on the page it names), a fresh temporary folder and a configuration folder of its own
/// in it (XDG_CONFIG_HOME), where the window's settings file is looked for; modal windows are
/// answered by `modals` throughout. The helpers do what a user does: click a control, type
/// (Cyrillic included), name the output device, and read what reached it.
class TWindowTest : public QObject {
  Q_OBJECT

 public:
  enum class Start {
    Hidden,  ///< built, not shown
    Shown,   ///< shown (maximised, as the window opens) and exposed
    Active,  ///< shown and the active window, so that it has the keyboard focus
  };

 protected:
  explicit TWindowTest(Start start = Start::Hidden, const char* page = nullptr)
      : start_(start), page_(page) {}

  /// Runs after the window is built and shown, before each test.
  virtual void SetUp() {}
  /// Runs before the window is destroyed, after each test.
  virtual void TearDown() {}

  TPL4120_1* window() const { return window_.get(); }
  /// A control of the window by name (fails the test when there is none).
  template <class T = QWidget>
  T* Get(const char* name) const {
    return Find<T>(window_.get(), name);
  }

  void ShowPage(const char* page);
  /// Clicks a button near its left edge, where the box of a check box or radio button is.
  void Click(const char* name);
  /// Types text into a widget one character at a time (the test library's string typing
  /// cannot type Cyrillic).
  static void Type(QWidget* widget, const QString& text);
  /// Replaces the device name with `path`, typed.
  void SetDevice(const QString& path);
  /// Lets the window's events run until every send has ended (its error box answered); false
  /// when sends still wait or run after `timeoutMs`.
  [[nodiscard]] bool SendsDone(int timeoutMs = 20000) const;

  /// A path in this test's own temporary folder.
  QString TempPath(const QString& name) const { return dir_->filePath(name); }
  /// The whole content of a file; "<missing>" when it cannot be read.
  static QByteArray ReadFile(const QString& path);
  /// Writes a file of the test's folder and returns its path.
  QString WriteFile(const QString& name, const std::string& bytes) const;

  TModalAnswers modals;

 private slots:
  void init();
  void cleanup();

 private:
  Start start_;
  const char* page_;
  std::unique_ptr<TPL4120_1> window_;
  std::unique_ptr<QTemporaryDir> dir_;
  QByteArray suiteConfig_;  // the configuration folder of the whole test program
};

/// While it lives, no file this process writes may grow beyond `bytes` (as on a full disk): a
/// write past the limit fails with EFBIG instead of ending the process.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(long bytes);
  ~TFileSizeLimit();
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

 private:
  unsigned long long saved_ = 0;  // the limit before, as rlim_t
  void (*savedHandler_)(int) = nullptr;
};

/// Selects in an editor by character positions (a line end is one position there).
void SelectChars(QPlainTextEdit* editor, int anchor, int position);

/// The start of the editor's selection (the caret when nothing is selected) in bytes of its
/// byte view, where every line end counts two.
qint64 SelectionStartInBytes(const TOemMemo* editor);

/// A test program's main: the real application object, offscreen when no display is set,
/// a private runtime folder so that Qt keeps quiet about it, and a private configuration folder
/// (XDG_CONFIG_HOME) so that nothing reads or writes the user's own configuration.
int RunWindowTests(int argc, char** argv, const std::function<std::unique_ptr<QObject>()>& make);

#define PL4120_TEST_MAIN(TestClass)                                                  \
  int main(int argc, char** argv) {                                                  \
    QTEST_SET_MAIN_SOURCE_PATH                                                       \
    return RunWindowTests(argc, argv, [] { return std::make_unique<TestClass>(); }); \
  }
