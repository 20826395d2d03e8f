#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>
#include <string>

class QEvent;
class QMenu;
class QAction;

/// The application-wide hint state: the application hint shown in the status line, and the
/// tooltip of the control under the pointer.
///
/// The manager watches every event of the application (an event filter on the application
/// object): it keeps the tooltip bookkeeping of mouse moves, cancels the tooltip on keys,
/// mouse buttons, the wheel, menus and (de)activation, swallows Qt's own tooltip and
/// status-tip events, and runs the idle step once the event queue has drained.
///
/// Idle detection: any event other than its own arms one idle event, posted with low priority
/// so that it is queued behind every ordinary posted event. When it is delivered and nothing
/// else has been delivered since it was posted, the queue has drained and the idle step runs;
/// otherwise it is posted again (a bounded number of times, so a steady stream of events
/// cannot starve the step). Unlike QAbstractEventDispatcher::aboutToBlock, which the glib
/// dispatcher emits before delivering pending posted events and which a nested
/// processEvents() never emits, this runs after the queue has drained under any loop, and it
/// does not spin: a step that changes nothing causes no further events.
class THintManager : public QObject {
  Q_OBJECT

 public:
  /// Rest time before a tooltip is shown.
  static constexpr std::chrono::milliseconds kShowDelay{500};
  /// Wait before the next control's tooltip while hint-active is set.
  static constexpr std::chrono::milliseconds kFollowOnDelay{0};
  /// A shown tooltip hides after this time.
  static constexpr std::chrono::milliseconds kDisplayTime{2500};

  explicit THintManager(QObject* parent = nullptr);
  ~THintManager() override;

  /// The hint event: called each time the application hint changes.
  void SetOnHint(std::function<void()> handler);
  /// The application hint: the long hint of the control under the pointer at the last idle step.
  const QString& Hint() const { return hint_; }

  /// Stores a new application hint and calls the hint event when it differs from the old one.
  void SetHint(const QString& hint);

  /// The idle step: the long hint of the control under the pointer becomes the application
  /// hint; with no control there, the tooltip is cancelled. Skipped while a popup menu or a
  /// modal dialog is up (they run a loop of their own).
  void IdleStep();

  /// Cancels the tooltip: hides it, forgets the hint control, clears hint-active and stops
  /// the tooltip timer.
  void CancelHint();

  /// The control whose tooltip is pending or showing; nullptr in the idle state.
  QWidget* HintControl() const { return hintControl_; }
  /// True once a tooltip has been shown since the last cancel.
  bool HintActive() const { return hintActive_; }
  /// True while the tooltip timer runs.
  bool TimerActive() const { return timer_.isActive(); }

  /// The window whose controls have hints, and the composite controls in it whose inner
  /// widgets count as parts of them (the spin edits). Until a window is attached, no widget is
  /// a control of ours.
  void Attach(QWidget* window, QList<QWidget*> composites);

  /// The control of ours at a screen point: the widget there, moved up to the nearest control
  /// of the main window; the window itself for its frame and menu bar (nonClient).
  struct Hit {
    QWidget* control = nullptr;
    bool nonClient = false;
  };
  Hit ControlAt(const QPoint& globalPos) const;

 signals:
  /// Emitted after each idle step that ran.
  void IdleStepRan();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void customEvent(QEvent* event) override;

 private:
  /// What the tooltip timer does when it expires.
  enum class TimerMode { Show, Hide };

  void ArmIdle();
  void MouseMoved(const QPoint& globalPos);
  void StartTimer(std::chrono::milliseconds delay, TimerMode mode);
  void TimerExpired();
  void WatchMenu(QMenu* menu);
  void MenuHighlighted(QAction* action);
  static void HideTip();
  bool IsMainWindow(const QWidget* w) const;
  bool IsControl(const QWidget* w) const;

  QString hint_;
  std::function<void()> onHint_;
  QPointer<QWidget> window_;
  QList<QPointer<QWidget>> composites_;

  QPointer<QWidget> hintControl_;
  bool hintActive_ = false;
  QRect cursorRect_;
  QTimer timer_;
  TimerMode mode_ = TimerMode::Show;
  bool tipShown_ = false;

  bool idlePending_ = false;
  quint64 activity_ = 0;
  quint64 activityAtPost_ = 0;
  int reposts_ = 0;
};
