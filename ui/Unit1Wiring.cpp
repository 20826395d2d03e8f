#include "ui/Unit1.h"

void TPL4120_1::WireEvents() {}

bool TPL4120_1::eventFilter(QObject* watched, QEvent* event) {
  return QMainWindow::eventFilter(watched, event);
}
