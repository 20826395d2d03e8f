#include "ui/Unit1.h"

TPL4120_1::TPL4120_1(QWidget* parent) : QMainWindow(parent) {
  BuildLayout();
  WireEvents();
  FormCreate();
}

TPL4120_1::~TPL4120_1() = default;

void TPL4120_1::BuildLayout() {}
