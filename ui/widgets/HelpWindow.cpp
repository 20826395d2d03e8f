#include "ui/widgets/HelpWindow.h"

#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QKeySequence>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "app/ProgramInfo.h"

namespace {

const QString kHelpSource = QStringLiteral("qrc:/help/index.html");
const QString kProgramTitle = QStringLiteral("Работа с принтером \"ПЛ 4120\"");

QIcon ProgramIcon(const QWidget* parent) {
  if (parent != nullptr && !parent->windowIcon().isNull()) {
    return parent->windowIcon();
  }
  return QIcon(QStringLiteral(":/assets/pl4120.ico"));
}

QString LicenceText() {
  QFile licence(QStringLiteral(":/LICENSE"));
  if (!licence.open(QIODevice::ReadOnly)) {
    return {};
  }
  return QString::fromUtf8(licence.readAll());
}

}  // namespace

THelpWindow::THelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(QStringLiteral("Помощь: ") + kProgramTitle);
  setWindowIcon(ProgramIcon(parent));

  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpText"));
  browser_->setOpenLinks(true);
  browser_->setSource(QUrl(kHelpSource));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);

  // A reading window: Escape puts it away, as it does a dialog.
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);

  QSize size(720, 640);
  if (const QScreen* screen =
          parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableSize() * 9 / 10);
  }
  resize(size);
}

QTextBrowser* THelpWindow::Browser() const {
  return browser_;
}

THelpWindow* ShowHelp(QWidget* parent) {
  // A window without an owner is remembered here; one with an owner is found among its children.
  static QPointer<THelpWindow> unowned;
  THelpWindow* help = parent != nullptr
                          ? parent->findChild<THelpWindow*>(QString(), Qt::FindDirectChildrenOnly)
                          : unowned.data();
  if (help == nullptr) {
    help = new THelpWindow(parent);
    help->setAttribute(Qt::WA_DeleteOnClose);
    if (parent == nullptr) {
      unowned = help;
    }
  }
  if (!help->isVisible() && parent != nullptr) {
    help->move(parent->frameGeometry().center() - help->rect().center());
  }
  help->show();
  help->raise();
  help->activateWindow();
  return help;
}

QString AboutText() {
  return QStringLiteral("<h3>") + kProgramTitle.toHtmlEscaped() + QStringLiteral("</h3>") +
         QStringLiteral("<p>Программа ") + ProgramName() + QStringLiteral(", версия ") +
         ProgramVersion() + QStringLiteral(".</p>") +
         QStringLiteral(
             "<p>Настройка матричного принтера «ПЛ 4120» кодами ESC/P и печать текстов в "
             "кодировке 866 байт в байт.</p>") +
         QStringLiteral("<p>") + ProgramCopyright().toHtmlEscaped() + QStringLiteral("<br>") +
         QStringLiteral(
             "Свободная программа под лицензией MIT: её можно использовать, изменять и "
             "распространять; гарантий нет. Полный текст лицензии — в подробностях.</p>");
}

void ShowAbout(QWidget* parent) {
  QMessageBox box(parent);
  box.setObjectName(QStringLiteral("AboutBox"));
  box.setWindowTitle(QStringLiteral("О программе"));
  box.setTextFormat(Qt::RichText);
  box.setText(AboutText());
  box.setIconPixmap(ProgramIcon(parent)
                        .pixmap(QSize(32, 32))
                        .scaled(64, 64, Qt::KeepAspectRatio, Qt::FastTransformation));
  box.setDetailedText(LicenceText());
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}
