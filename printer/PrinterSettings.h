#pragma once

#include <cstdint>
#include <string>

namespace pl4120 {

/// The character-table set of the settings page; one value per radio button, named after it.
/// The three buttons without a table select none.
enum class CharTable : std::uint8_t {
  LangAltM,      ///< "Альтернативная кодировка ГОСТа"
  LangKoi8,      ///< "Кодировка КОИ-8  (UNIX-тексты)"
  LangComn,      ///< "Совмещённая кодовая таблица"
  RadioButton1,  ///< no table
  RadioButton2,  ///< no table
  RadioButton3,  ///< no table
};

/// The pitch set: characters per inch.
enum class Pitch : std::uint8_t {
  Wid12smb,  ///< "12 символов на дюйм"
  Wid10smb,  ///< "10 символов на дюйм"
};

/// The line-spacing set.
enum class LineSpacing : std::uint8_t {
  Hei2spi,  ///< "2,54 mm"
  Hei3spi,  ///< "3,175 mm"
  Hei4spi,  ///< "4,23 mm"
  Hei0353,  ///< "x 0,353 mm": SpinEdit1 units of 1/72 inch
  Hei0118,  ///< "x 0,118 mm": SpinEdit2 units of 1/216 inch
};

/// The limits of the two spacing spin edits. Equal limits mean no limit at all.
inline constexpr std::int32_t kSpinEdit1Min = 0;
inline constexpr std::int32_t kSpinEdit1Max = 85;
inline constexpr std::int32_t kSpinEdit2Min = 0;
inline constexpr std::int32_t kSpinEdit2Max = 0;

/// Everything the settings page holds, as one value. Its defaults are the window's defaults:
/// the window builds its initial state from a default-constructed record.
struct PrinterSettings {
  CharTable Lang = CharTable::LangAltM;
  bool WidElite = false;  ///< "Уплотнённая печать": condensed
  bool WidExten = false;  ///< "Двойная ширина": double width
  Pitch Wid = Pitch::Wid12smb;
  LineSpacing Hei = LineSpacing::Hei3spi;
  std::int32_t SpinEdit1 = 8;   ///< the n of "x 0,353 mm" (n/72 inch)
  std::int32_t SpinEdit2 = 24;  ///< the n of "x 0,118 mm" (n/216 inch)
  bool StQuanty = false;        ///< "Качественная печать": emphasised
  bool StDouble = false;        ///< "Двупроходная печать": double strike
  std::string StrOutPr;         ///< the test line, raw bytes of code page 866
  bool InitCrLf = false;        ///< CR LF after the test line
  std::string PrnName = "PRN";  ///< the output device or file, as the user typed it (UTF-8)

  /// The spin value that belongs to the chosen spacing (SpinEdit1 for Hei0353, SpinEdit2 for
  /// Hei0118); 0 for the fixed spacings.
  std::int32_t SpacingUnits() const noexcept {
    return Hei == LineSpacing::Hei0353 ? SpinEdit1 : Hei == LineSpacing::Hei0118 ? SpinEdit2 : 0;
  }

  bool operator==(const PrinterSettings&) const = default;
};

}  // namespace pl4120
