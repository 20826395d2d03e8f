#include "ui/OemMemo.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

TOemMemo::TOemMemo(QWidget* parent) : QPlainTextEdit(parent) {}
std::string TOemMemo::bytes() const {
  return {};
}
void TOemMemo::setBytes(std::string_view /*bytes*/) {}
void TOemMemo::appendBytes(std::string_view /*bytes*/) {}
bool TOemMemo::isEmptyText() const {
  return true;
}
bool TOemMemo::endsWithLineEnd() const {
  return false;
}
qint64 TOemMemo::selStart() const {
  return 0;
}
qint64 TOemMemo::selLength() const {
  return 0;
}
std::string TOemMemo::selectedBytes() const {
  return {};
}
qint64 TOemMemo::lineFromChar(qint64 /*byteOffset*/) const {
  return 0;
}
qint64 TOemMemo::lineIndex(qint64 /*line*/) const {
  return 0;
}
void TOemMemo::mouseMoveEvent(QMouseEvent* e) {
  QPlainTextEdit::mouseMoveEvent(e);
  emit mouseMoved(e);
}
void TOemMemo::mousePressEvent(QMouseEvent* e) {
  QPlainTextEdit::mousePressEvent(e);
  emit mousePressed(e);
}
void TOemMemo::mouseReleaseEvent(QMouseEvent* e) {
  QPlainTextEdit::mouseReleaseEvent(e);
  emit mouseReleased(e);
}
void TOemMemo::keyReleaseEvent(QKeyEvent* e) {
  QPlainTextEdit::keyReleaseEvent(e);
  emit keyReleased(e);
}
void TOemMemo::keyPressEvent(QKeyEvent* e) {
  QPlainTextEdit::keyPressEvent(e);
}
void TOemMemo::insertFromMimeData(const QMimeData* source) {
  QPlainTextEdit::insertFromMimeData(source);
}
QMimeData* TOemMemo::createMimeDataFromSelection() const {
  return QPlainTextEdit::createMimeDataFromSelection();
}
