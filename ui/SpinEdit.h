#pragma once

#include <QWidget>
#include <cstdint>

class QLineEdit;

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

 private:
  QLineEdit* edit_ = nullptr;
  std::int32_t min_ = 0;
  std::int32_t max_ = 0;
};
