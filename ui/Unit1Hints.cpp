#include "ui/Unit1.h"

void TPL4120_1::StatusBar1MouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::pcFeautsMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::PageSetsMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::WidthSetMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::WidExtenMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::WidEliteMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::Wid12smbMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::Wid10smbMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::StyleSetMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::StDoubleMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::StQuantyMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::LangAltMMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::LangKoi8MouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::LangComnMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::StrOutPrMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::SetPrint1MouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::InstrucMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::HeighSetMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::Hei2spiMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::Hei3spiMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::Hei4spiMouseMove(QMouseEvent* /*event*/) {}
void TPL4120_1::ShowApplicationHint() {}
