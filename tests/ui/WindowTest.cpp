#include "WindowTest.h"

#include <sys/resource.h>

#include <csignal>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include "ui/printing/PrintQueue.h"
#include "ui/session/SendSession.h"
#include "ui/widgets/OemMemo.h"

void TModalAnswers::Arm() {
  if (!armed_) {
    qApp->installEventFilter(this);
  }
  armed_ = true;
}

void TModalAnswers::Disarm() {
  if (!armed_) {
    return;
  }
  QCoreApplication::processEvents();
  qApp->removeEventFilter(this);
  armed_ = false;
}

QStringList TModalAnswers::TakeTexts() {
  QCoreApplication::processEvents();
  QStringList texts;
  for (const TShownBox& box : boxes) {
    texts << box.text;
  }
  boxes.clear();
  return texts;
}

bool TModalAnswers::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->isWindow() && widget->isModal()) {
      // Queued: it runs inside the window's own loop, once that has started.
      QTimer::singleShot(0, this, [this, modal = QPointer<QWidget>(widget)] {
        if (modal && modal->isVisible()) {
          Answer(modal);
        }
      });
    }
  }
  return QObject::eventFilter(watched, event);
}

void TModalAnswers::Answer(QWidget* modal) {
  if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
    if (onFileDialog) {
      onFileDialog(dialog);
    } else {
      dialog->reject();
    }
    return;
  }
  TShownBox seen;
  seen.objectName = modal->objectName();
  seen.title = modal->windowTitle();
  seen.applicationModal = modal->windowModality() == Qt::ApplicationModal;
  auto* box = qobject_cast<QMessageBox*>(modal);
  if (box != nullptr) {
    seen.text = box->text();
    seen.icon = box->icon();
    seen.buttons = box->standardButtons();
  }
  boxes << seen;
  if (whileOpen) {
    whileOpen();
  }
  QAbstractButton* queued =
      box != nullptr && !presses.isEmpty() ? box->button(presses.takeFirst()) : nullptr;
  if (queued != nullptr) {
    queued->click();
  } else if (box != nullptr && !box->buttons().isEmpty()) {
    box->buttons().first()->click();
  } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
    dialog->reject();
  } else {
    modal->close();
  }
}

void TWindowTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  QVERIFY(dir_->isValid());
  suiteConfig_ = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_->filePath(QStringLiteral("config"))));
  modals.boxes.clear();
  modals.presses.clear();
  modals.onFileDialog = nullptr;
  modals.whileOpen = nullptr;
  modals.Arm();
  window_ = std::make_unique<TPL4120_1>();
  if (start_ != Start::Hidden) {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  if (start_ == Start::Active) {
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  if (page_ != nullptr) {
    ShowPage(page_);
  }
  SetUp();
}

void TWindowTest::cleanup() {
  TearDown();
  window_.reset();
  modals.Disarm();
  qputenv("XDG_CONFIG_HOME", suiteConfig_);
  dir_.reset();
}

void TWindowTest::ShowPage(const char* page) {
  Get<QTabWidget>("pcFeauts")->setCurrentWidget(Get(page));
}

void TWindowTest::Click(const char* name) {
  auto* button = Get<QAbstractButton>(name);
  QVERIFY2(button != nullptr && button->isVisible(), name);
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

void TWindowTest::Type(QWidget* widget, const QString& text) {
  for (const QChar ch : text) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), {});
  }
}

void TWindowTest::SetDevice(const QString& path) {
  QLineEdit* device = Get<QLineEdit>("PrnName");
  device->selectAll();
  Type(device, path);
  QCOMPARE(device->text(), path);
}

bool TWindowTest::SendsDone(int timeoutMs) const {
  return QTest::qWaitFor([this] { return !window_->Sending().Busy(); }, timeoutMs);
}

QByteArray TWindowTest::ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return "<missing>";
  }
  return file.readAll();
}

QString TWindowTest::WriteFile(const QString& name, const std::string& bytes) const {
  const QString path = TempPath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
          static_cast<qint64>(bytes.size())) {
    qFatal("cannot write the test file");
  }
  return path;
}

TFileSizeLimit::TFileSizeLimit(long bytes) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) {
    qFatal("cannot read the file size limit");
  }
  saved_ = limit.rlim_cur;
  savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = static_cast<rlim_t>(bytes);
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
    qFatal("cannot limit the file size");
  }
}

TFileSizeLimit::~TFileSizeLimit() {
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = static_cast<rlim_t>(saved_);
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, savedHandler_);
}

void SelectChars(QPlainTextEdit* editor, int anchor, int position) {
  QTextCursor cursor = editor->textCursor();
  cursor.setPosition(anchor);
  cursor.setPosition(position, QTextCursor::KeepAnchor);
  editor->setTextCursor(cursor);
}

qint64 SelectionStartInBytes(const TOemMemo* editor) {
  const int start = editor->textCursor().selectionStart();
  return start + editor->document()->findBlock(start).blockNumber();
}

int RunWindowTests(int argc, char** argv, const std::function<std::unique_ptr<QObject>()>& make) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  const QByteArray runtime = QDir::tempPath().toLocal8Bit() + "/pl4120-xdg-" +
                             QByteArray::number(QCoreApplication::applicationPid());
  QDir().mkpath(QString::fromLocal8Bit(runtime));
  QFile::setPermissions(QString::fromLocal8Bit(runtime),
                        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  qputenv("XDG_RUNTIME_DIR", runtime);
  // Set before the application object exists: QSettings takes its folders once, at its first
  // use (Qt's file dialog keeps its history there too).
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  TApplication app(argc, argv);
  app.setAttribute(Qt::AA_Use96Dpi, true);
  const std::unique_ptr<QObject> test = make();
  return QTest::qExec(test.get(), argc, argv);
}
