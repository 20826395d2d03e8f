#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <utility>

/// Answers the modal boxes that an action opens, without blocking: arm() before the action,
/// settle() after it. Each box found is recorded (its text, empty when it is not a message
/// box), `whileOpen` runs while it is still up, and its first button is pressed.
class TModalBoxCatcher {
 public:
  explicit TModalBoxCatcher(std::function<void()> whileOpen = {})
      : whileOpen_(std::move(whileOpen)) {
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
  }

  void arm() {
    texts.clear();
    timer_.start();
  }

  /// Lets a pending check run once, then disarms.
  void settle() {
    QCoreApplication::processEvents();
    timer_.stop();
  }

  QStringList texts;

 private:
  void Answer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
      return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      texts << box->text();
      if (whileOpen_)
        whileOpen_();
      const auto buttons = box->buttons();
      if (!buttons.isEmpty()) {
        buttons.first()->click();
      } else {
        box->done(0);
      }
    } else {
      texts << QString();
      if (whileOpen_)
        whileOpen_();
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
      } else {
        modal->close();
      }
    }
    timer_.start();  // a second box of the same action is answered too
  }

  std::function<void()> whileOpen_;
  QTimer timer_;
};
