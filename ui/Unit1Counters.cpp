#include "ui/Unit1.h"

void TPL4120_1::btPrinTxClick() {}
void TPL4120_1::bbNxPageClick() {}
void TPL4120_1::mmTextChange() {}
void TPL4120_1::mmTextMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::mmTextMouseDown(QMouseEvent* /*event*/) {}
void TPL4120_1::mmTextMouseUp(QMouseEvent* /*event*/) {}
void TPL4120_1::mmTextKeyUp(QKeyEvent* /*event*/) {}
void TPL4120_1::edLPtxChange() {}
void TPL4120_1::UpdateTextCounters() {}
void TPL4120_1::UpdateCaretPosition() {}
