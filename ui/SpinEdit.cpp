#include "ui/SpinEdit.h"

#include <QLineEdit>

TSpinEdit::TSpinEdit(QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this)) {}
std::int32_t TSpinEdit::Value() const {
  return min_;
}
void TSpinEdit::SetValue(std::int32_t /*value*/) {}
void TSpinEdit::SetMinValue(std::int32_t value) {
  min_ = value;
}
void TSpinEdit::SetMaxValue(std::int32_t value) {
  max_ = value;
}
QString TSpinEdit::text() const {
  return edit_->text();
}
