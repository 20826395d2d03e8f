#pragma once

#include <string>

namespace pl4120 {

/// The settings page's choices, one field per control, named after the control.
/// Defaults are the window's defaults.
struct PrinterSettings {
  bool LangAltM = true;   // "Альтернативная кодировка ГОСТа"
  bool LangKoi8 = false;  // "Кодировка КОИ-8  (UNIX-тексты)"
  bool LangComn = false;  // "Совмещённая кодовая таблица"
  bool WidElite = false;  // "Уплотнённая печать"
  bool WidExten = false;  // "Двойная ширина"
  bool Wid12smb = true;   // "12 символов на дюйм"
  bool Wid10smb = false;  // "10 символов на дюйм"
  bool Hei2spi = false;   // "2,54 mm"
  bool Hei3spi = true;    // "3,175 mm"
  bool Hei4spi = false;   // "4,23 mm"
  bool StQuanty = false;  // "Качественная печать"
  bool StDouble = false;  // "Двупроходная печать"
  std::string StrOutPr;   // the test line, raw bytes of code page 866
  bool InitCrLf = false;  // CR LF after the test line
};

}  // namespace pl4120
