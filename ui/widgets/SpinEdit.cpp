#include "ui/widgets/SpinEdit.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QResizeEvent>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <limits>

#include "text/IntConv.h"

namespace {

constexpr int kArrowWidth = 15;

QToolButton* MakeArrow(QWidget* parent, Qt::ArrowType arrow, const char* name) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setArrowType(arrow);
  button->setFocusPolicy(Qt::NoFocus);
  button->setAutoRaise(false);
  return button;
}

}  // namespace

TSpinEdit::TSpinEdit(QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit(this)),
      up_(MakeArrow(this, Qt::UpArrow, "up")),
      down_(MakeArrow(this, Qt::DownArrow, "down")),
      repeat_(new QTimer(this)) {
  edit_->setObjectName(QStringLiteral("edit"));
  edit_->setText(QStringLiteral("0"));
  edit_->setTextMargins(0, 0, kArrowWidth, 0);
  edit_->installEventFilter(this);
  setFocusPolicy(Qt::StrongFocus);
  setFocusProxy(edit_);
  up_->raise();
  down_->raise();

  repeat_->setObjectName(QStringLiteral("repeat"));
  repeat_->setTimerType(Qt::PreciseTimer);
  connect(repeat_, &QTimer::timeout, this, &TSpinEdit::RepeatTimeout);
  for (auto [button, delta] : {std::pair{up_, 1}, std::pair{down_, -1}}) {
    connect(button, &QToolButton::pressed, this, [this, delta = delta] { ArrowPressed(delta); });
    connect(button, &QToolButton::released, repeat_, &QTimer::stop);
    connect(button, &QToolButton::clicked, this, [this, delta = delta] { ArrowClicked(delta); });
  }
}

std::int32_t TSpinEdit::Value() const {
  return pl4120::TryStrToInt(edit_->text().toStdString()).value_or(min_);
}

void TSpinEdit::SetValue(std::int32_t value) {
  edit_->setText(QString::number(Limited(value)));
}

void TSpinEdit::SetMinValue(std::int32_t value) {
  min_ = value;
}
void TSpinEdit::SetMaxValue(std::int32_t value) {
  max_ = value;
}
QString TSpinEdit::text() const {
  return edit_->text();
}

std::int32_t TSpinEdit::Limited(std::int64_t value) const {
  // A step past the 32-bit range stops at its end instead of wrapping round to the other end.
  value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                   std::numeric_limits<std::int32_t>::max());
  if (min_ != max_) {
    if (value < min_) {
      value = min_;
    } else if (value > max_) {
      value = max_;
    }
  }
  return static_cast<std::int32_t>(value);
}

void TSpinEdit::Step(int delta) {
  edit_->setText(QString::number(Limited(static_cast<std::int64_t>(Value()) + delta)));
}

void TSpinEdit::ArrowPressed(int delta) {
  if (!edit_->hasFocus())
    edit_->setFocus(Qt::MouseFocusReason);
  repeatDelta_ = delta;
  repeated_ = false;
  repeat_->start(kRepeatDelayMs);
}

void TSpinEdit::RepeatTimeout() {
  // The button is up while the pointer is dragged off it: no steps then, until it comes back.
  const QToolButton* button = repeatDelta_ > 0 ? up_ : down_;
  if (button->isDown()) {
    Step(repeatDelta_);
    repeated_ = true;
  }
  repeat_->start(kRepeatIntervalMs);
}

void TSpinEdit::ArrowClicked(int delta) {
  if (!repeated_)
    Step(delta);
  repeated_ = false;
}

bool TSpinEdit::IsRefusedKey(const QKeyEvent* event) const {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
    return true;
  const Qt::KeyboardModifiers mods = event->modifiers();
  // Ctrl+C, Ctrl+V, Ctrl+A... are control keys; Ctrl+Alt is AltGr typing a character.
  if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier)) {
    return false;
  }
  const QString decimal = QLocale().decimalPoint();
  for (const QChar c : event->text()) {
    const char16_t u = c.unicode();
    const bool control = u < 0x20 || u == 0x7F;  // Backspace, Escape, Delete
    const bool allowed = (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || decimal == c;
    if (!control && !allowed)
      return true;
  }
  return false;
}

bool TSpinEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched != edit_)
    return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::KeyPress: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
        Step(key->key() == Qt::Key_Up ? 1 : -1);
        return true;
      }
      if (IsRefusedKey(key)) {
        QApplication::beep();
        emit keyRefused();
        return true;
      }
      break;
    }
    case QEvent::FocusIn: {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
          reason == Qt::ShortcutFocusReason) {
        edit_->selectAll();
      }
      break;
    }
    case QEvent::FocusOut: {
      // A popup menu or another window taking the focus does not leave the edit.
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
      if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
        const std::int32_t value = Value();
        if (Limited(value) != value)
          edit_->setText(QString::number(Limited(value)));
      }
      break;
    }
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const QRect all = rect();
  edit_->setGeometry(all);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit_);
  const int inner = std::max(2, all.height() - 2 * frame);
  const int x = all.width() - frame - kArrowWidth;
  up_->setGeometry(x, frame, kArrowWidth, inner / 2);
  down_->setGeometry(x, frame + inner / 2, kArrowWidth, inner - inner / 2);
}
