#include "ui/hints/HintManager.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTextDocument>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

#include "ui/hints/HintTexts.h"

namespace {

// The idle event: posted to the manager itself, never seen by anyone else.
const QEvent::Type kIdleEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

// Consecutive re-posts of the idle event after which the step runs anyway.
constexpr int kMaxIdleReposts = 256;

// Qt's plain-text check: a hint that looks like markup is shown as the characters it holds.
QString TipText(const QString& text) {
  if (Qt::mightBeRichText(text)) {
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
  }
  return text;
}

}  // namespace

THintManager::THintManager(QObject* parent) : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &THintManager::TimerExpired);
  if (QCoreApplication* app = QCoreApplication::instance()) {
    app->installEventFilter(this);
  }
}

THintManager::~THintManager() {
  if (QCoreApplication* app = QCoreApplication::instance()) {
    app->removeEventFilter(this);
  }
}

void THintManager::SetOnHint(std::function<void()> handler) {
  onHint_ = std::move(handler);
}

void THintManager::SetHint(const QString& hint) {
  if (hint == hint_) {
    return;
  }
  hint_ = hint;
  if (onHint_) {
    onHint_();
  }
}

void THintManager::Attach(QWidget* window, QList<QWidget*> composites) {
  window_ = window;
  composites_.clear();
  for (QWidget* composite : composites) {
    composites_.append(composite);
  }
}

bool THintManager::IsMainWindow(const QWidget* w) const {
  return w != nullptr && w == window_;
}

// A control is a widget of the window's own; the parts of a composite control (the edit and
// arrow buttons of a spin edit) belong to it.
bool THintManager::IsControl(const QWidget* w) const {
  if (!IsOwnControl(w)) {
    return false;
  }
  const QWidget* parent = w->parentWidget();
  return std::none_of(composites_.begin(), composites_.end(), [parent](const QPointer<QWidget>& c) {
    return parent != nullptr && c == parent;
  });
}

THintManager::Hit THintManager::ControlAt(const QPoint& globalPos) const {
  QWidget* w = QApplication::widgetAt(globalPos);
  if (!w) {
    // No widget: the title bar and borders of our window, drawn by the window manager.
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (IsMainWindow(top) && top->isVisible() && top->frameGeometry().contains(globalPos)) {
        return {top, true};
      }
    }
    return {};
  }
  // A window that is not ours (a dialog, a popup menu): go up through the windows that own it.
  while (w && !IsMainWindow(w->window())) {
    w = w->window()->parentWidget();
  }
  if (!w) {
    return {};
  }
  QWidget* window = w->window();
  for (QWidget* p = w; p != window; p = p->parentWidget()) {
    if (qobject_cast<QMenuBar*>(p)) {
      return {window, true};
    }
  }
  while (w != window && !IsControl(w)) {
    w = w->parentWidget();
  }
  return {w, false};
}

void THintManager::IdleStep() {
  // A popup menu or a modal dialog runs a loop of its own; the step waits for the main loop.
  if (QApplication::activePopupWidget() || QApplication::activeModalWidget()) {
    return;
  }
  const Hit hit = ControlAt(QCursor::pos());
  if (!hit.control || hit.nonClient) {
    // The title bar and borders send no mouse moves here, so the step stands in for them.
    CancelHint();
  }
  SetHint(hit.control ? LongHint(EffectiveHint(hit.control)) : QString());
  emit IdleStepRan();
}

void THintManager::CancelHint() {
  HideTip();
  tipShown_ = false;
  hintControl_ = nullptr;
  hintActive_ = false;
  cursorRect_ = QRect();
  timer_.stop();
}

void THintManager::HideTip() {
  if (!QToolTip::isVisible()) {
    return;
  }
  // hideText() leaves the label up for a further 300 ms; it goes now.
  QToolTip::hideText();
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->inherits("QTipLabel")) {
      top->hide();
    }
  }
}

void THintManager::StartTimer(std::chrono::milliseconds delay, TimerMode mode) {
  mode_ = mode;
  timer_.start(delay);
}

void THintManager::MouseMoved(const QPoint& globalPos) {
  const Hit hit = ControlAt(globalPos);
  if (!hit.control || hit.nonClient) {
    CancelHint();
    return;
  }
  if (hit.control == hintControl_ && cursorRect_.contains(globalPos)) {
    return;  // the tooltip of this control has been shown; it stays or stays away
  }
  if (hit.control != hintControl_) {
    HideTip();
  }
  hintControl_ = hit.control;
  cursorRect_ = QRect();
  StartTimer(hintActive_ ? kFollowOnDelay : kShowDelay, TimerMode::Show);
}

void THintManager::TimerExpired() {
  if (mode_ == TimerMode::Hide) {
    HideTip();  // resting: hint-active and the cursor rectangle stay
    return;
  }
  QWidget* control = hintControl_;
  if (!control || QGuiApplication::applicationState() != Qt::ApplicationActive) {
    return;
  }
  const QPoint pos = QCursor::pos();
  if (ControlAt(pos).control != control) {
    return;
  }
  const QString text = ShortHint(EffectiveHint(control));
  if (text.isEmpty()) {
    return;
  }
  // The label's own expiry (a coarse timer, 10 s) is left to run out later: the precise
  // tooltip timer hides it at the display time.
  QToolTip::showText(pos, TipText(text));
  cursorRect_ = QRect(control->mapToGlobal(QPoint(0, 0)), control->size());
  hintActive_ = true;
  StartTimer(kDisplayTime, TimerMode::Hide);
}

void THintManager::WatchMenu(QMenu* menu) {
  connect(menu, &QMenu::hovered, this, &THintManager::MenuHighlighted, Qt::UniqueConnection);
  connect(menu, &QMenu::triggered, this, &THintManager::CancelHint, Qt::UniqueConnection);
}

void THintManager::MenuHighlighted(QAction* action) {
  // Menu items have hints of their own only; they inherit none.
  SetHint(action ? LongHint(OwnHint(action)) : QString());
}

void THintManager::ArmIdle() {
  ++activity_;
  if (idlePending_) {
    return;
  }
  idlePending_ = true;
  activityAtPost_ = activity_;
  QCoreApplication::postEvent(this, new QEvent(kIdleEvent), Qt::LowEventPriority);
}

void THintManager::customEvent(QEvent* event) {
  if (event->type() != kIdleEvent) {
    QObject::customEvent(event);
    return;
  }
  idlePending_ = false;
  if (activity_ != activityAtPost_ && reposts_ < kMaxIdleReposts) {
    // Something was delivered after the idle event was queued: the queue may not be empty yet.
    ++reposts_;
    idlePending_ = true;
    activityAtPost_ = activity_;
    QCoreApplication::postEvent(this, new QEvent(kIdleEvent), Qt::LowEventPriority);
    return;
  }
  reposts_ = 0;
  IdleStep();
}

bool THintManager::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == this && type == kIdleEvent) {
    return false;
  }
  ArmIdle();
  switch (type) {
    case QEvent::ToolTip:
    case QEvent::StatusTip:
      return true;  // the tooltip and the status line are ours alone
    case QEvent::MouseMove:
      if (watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        // Moves inside an open menu belong to the menu's own loop.
        if (!qobject_cast<QMenu*>(widget->window())) {
          MouseMoved(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
        }
      }
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::ApplicationStateChange:
    case QEvent::ApplicationActivate:
    case QEvent::ApplicationDeactivate:
      CancelHint();
      break;
    case QEvent::Show:
      if (auto* menu = qobject_cast<QMenu*>(watched)) {
        CancelHint();
        WatchMenu(menu);
        SetHint(LongHint(OwnHint(menu->menuAction())));
      }
      break;
    case QEvent::Hide:
      if (qobject_cast<QMenu*>(watched)) {
        SetHint(QString());
      }
      break;
    default:
      break;
  }
  return false;
}
