#include <QStatusBar>
#include <QString>

#include "ui/Application.h"
#include "ui/HintManager.h"
#include "ui/Unit1.h"

using namespace Qt::StringLiterals;

namespace {

// The status line repaints only when its text really changes: mouse moves write it all the
// time, mostly with the text it already shows.
void WriteStatus(QStatusBar* bar, const QString& text) {
  if (bar && bar->currentMessage() != text) {
    bar->showMessage(text);
  }
}

}  // namespace

void TPL4120_1::StatusBar1MouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Статусная строка"_s);
}
void TPL4120_1::pcFeautsMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Полный ассортимент работ"_s);
}
void TPL4120_1::PageSetsMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Вкладка \"Установки принтера\""_s);
}
void TPL4120_1::WidthSetMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Установка ширины символов"_s);
}
void TPL4120_1::WidExtenMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Двойная печать"_s);
}
void TPL4120_1::WidEliteMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Уплотнённая печать"_s);
}
void TPL4120_1::Wid12smbMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Ширина 12 символов на дюйм"_s);
}
void TPL4120_1::Wid10smbMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Ширина 10 символов на дюйм"_s);
}
void TPL4120_1::StyleSetMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Стиль (качество) печати"_s);
}
void TPL4120_1::StDoubleMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Двупроходная печать"_s);
}
void TPL4120_1::StQuantyMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Качественная печать"_s);
}
void TPL4120_1::LangAltMMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Альтернативная кодировка ГОСТа"_s);
}
void TPL4120_1::LangKoi8MouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Кодировка КОИ-8  (UNIX-тексты)"_s);
}
void TPL4120_1::LangComnMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Совмещённая кодовая таблица"_s);
}
void TPL4120_1::StrOutPrMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Пробный текст при инициализации"_s);
}
void TPL4120_1::SetPrint1MouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Применить настройки принтера"_s);
}
void TPL4120_1::InstrucMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Получение помощи"_s);
}
void TPL4120_1::HeighSetMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Установка вертикальной плотности"_s);
}
void TPL4120_1::Hei2spiMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Межстрочный интервал 2,54 mm"_s);
}
void TPL4120_1::Hei3spiMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Межстрочный интервал 3,175 mm"_s);
}
void TPL4120_1::Hei4spiMouseMove(QMouseEvent* /*event*/) {
  WriteStatus(StatusBar1, u"Межстрочный интервал 4,23 mm"_s);
}

void TPL4120_1::ShowApplicationHint() {
  if (TApplication* app = TApplication::Instance()) {
    WriteStatus(StatusBar1, app->Hints().Hint());
  }
}
