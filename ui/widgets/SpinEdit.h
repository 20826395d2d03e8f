#pragma once

#include <QWidget>
#include <cstdint>

class QKeyEvent;
class QLineEdit;
class QTimer;
class QToolButton;

/// A single-line edit holding a decimal integer, with up and down arrow buttons at its right
/// edge. Value() is the text converted by the shared integer rules; a text that does not
/// convert reads as MinValue(). When MinValue() == MaxValue() there is no limit; otherwise the
/// limits apply when an arrow button or the Up/Down key steps the value and when the focus
/// leaves the edit. Typing accepts digits, '+', '-', the decimal separator and control keys
/// other than Enter; other keys beep. Holding an arrow steps after 400 ms, then every 100 ms; a
/// short click steps once, on release. Entering the edit with the keyboard selects its text.
class TSpinEdit : public QWidget {
  Q_OBJECT

 public:
  /// How long an arrow button must be held before it steps the first time.
  static constexpr int kRepeatDelayMs = 400;
  /// The interval of the further steps while the arrow button stays down.
  static constexpr int kRepeatIntervalMs = 100;

  explicit TSpinEdit(QWidget* parent = nullptr);

  std::int32_t Value() const;
  void SetValue(std::int32_t value);
  std::int32_t MinValue() const { return min_; }
  std::int32_t MaxValue() const { return max_; }
  void SetMinValue(std::int32_t value);
  void SetMaxValue(std::int32_t value);

  /// The edit inside (its text is the spin edit's text).
  QLineEdit* editor() const { return edit_; }
  QString text() const;

 signals:
  /// A typed key was refused (the platform's beep has sounded) and the text did not change.
  void keyRefused();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  /// The value limited to MinValue..MaxValue, unless the two are equal.
  std::int32_t Limited(std::int64_t value) const;
  /// Steps the value by delta (+1 or -1) and limits it.
  void Step(int delta);
  void ArrowPressed(int delta);
  void RepeatTimeout();
  void ArrowClicked(int delta);
  /// True when the key event is a typed character the edit does not accept.
  bool IsRefusedKey(const QKeyEvent* event) const;

  QLineEdit* edit_ = nullptr;
  QToolButton* up_ = nullptr;
  QToolButton* down_ = nullptr;
  QTimer* repeat_ = nullptr;
  int repeatDelta_ = 0;    // the step of the arrow being held
  bool repeated_ = false;  // the held arrow has stepped by itself, so its release does not step
  std::int32_t min_ = 0;
  std::int32_t max_ = 0;
};
