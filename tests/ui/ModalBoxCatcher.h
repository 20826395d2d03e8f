#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <utility>

/// Answers the modal boxes that an action opens, without blocking: arm() before the action,
/// settle() after it. A box is noticed when it is shown; once its own event loop runs, its
/// text is recorded (empty when it is not a message box), `whileOpen` runs while it is still
/// up, and its first button is pressed.
class TModalBoxCatcher : public QObject {
 public:
  explicit TModalBoxCatcher(std::function<void()> whileOpen = {})
      : whileOpen_(std::move(whileOpen)) {}
  ~TModalBoxCatcher() override { settle(); }

  void arm() {
    texts.clear();
    if (!armed_)
      qApp->installEventFilter(this);
    armed_ = true;
  }

  /// Lets pending answers run, then stops watching.
  void settle() {
    if (!armed_)
      return;
    QCoreApplication::processEvents();
    qApp->removeEventFilter(this);
    armed_ = false;
  }

  QStringList texts;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(watched);
      if (widget->isWindow() && widget->isModal()) {
        QPointer<QWidget> box(widget);
        // Queued: it runs inside the box's own loop, after the box has started it.
        QTimer::singleShot(0, this, [this, box] { Answer(box); });
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Answer(QPointer<QWidget> modal) {
    if (!modal || !modal->isVisible())
      return;
    if (auto* box = qobject_cast<QMessageBox*>(modal.data())) {
      texts << box->text();
      if (whileOpen_)
        whileOpen_();
      const auto buttons = box->buttons();
      if (!buttons.isEmpty()) {
        buttons.first()->click();
      } else {
        box->done(0);
      }
      return;
    }
    texts << QString();
    if (whileOpen_)
      whileOpen_();
    if (auto* dialog = qobject_cast<QDialog*>(modal.data())) {
      dialog->reject();
    } else {
      modal->close();
    }
  }

  std::function<void()> whileOpen_;
  bool armed_ = false;
};
