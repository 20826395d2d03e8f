#include "ui/widgets/ErrorBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>
#include <cstdio>

std::string WithFinalPeriod(std::string message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
    message += '.';
  }
  return message;
}

std::string TitleFromProgramPath(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  const QString title = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  if (title.isEmpty()) {
    return {};
  }
  // The first character keeps its case (it may be a surrogate pair, taken whole); the rest
  // goes to lower case.
  const qsizetype head = title.at(0).isHighSurrogate() && title.size() > 1 ? 2 : 1;
  const QString result = title.left(head) + title.mid(head).toLower();
  return result.toStdString();
}

QString ApplicationTitle() {
  if (QCoreApplication::instance() == nullptr) {
    return {};
  }
  return QString::fromStdString(
      TitleFromProgramPath(QCoreApplication::applicationFilePath().toStdString()));
}

void ShowErrorMessage(const std::string& message) {
  const QString text = QString::fromStdString(WithFinalPeriod(message));
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return;
  }
  // A half-done click or drag is abandoned, and no menu stays open over the box.
  if (QWidget* grabber = QWidget::mouseGrabber()) {
    grabber->releaseMouse();
  }
  while (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
    if (QApplication::activePopupWidget() == popup) {
      break;
    }
  }
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setObjectName(QStringLiteral("ErrorBox"));
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void ShowException(const std::exception& error) {
  ShowErrorMessage(error.what());
}
