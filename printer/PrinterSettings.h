#pragma once

#include <cstdint>
#include <string>

namespace pl4120 {

/// The printer's character table. The three buttons of the settings page that carry no table
/// (RadioButton1 to RadioButton3) select none: the initialisation then sends no table code.
enum class CharTable : std::uint8_t {
  Alternative,  ///< "Альтернативная кодировка ГОСТа" (LangAltM)
  Koi8,         ///< "Кодировка КОИ-8  (UNIX-тексты)" (LangKoi8)
  Combined,     ///< "Совмещённая кодовая таблица" (LangComn)
  NoTable1,     ///< no table (RadioButton1)
  NoTable2,     ///< no table (RadioButton2)
  NoTable3,     ///< no table (RadioButton3)
};

/// Characters per inch.
enum class Pitch : std::uint8_t {
  Cpi12,  ///< "12 символов на дюйм" (Wid12smb)
  Cpi10,  ///< "10 символов на дюйм" (Wid10smb)
};

/// The distance from one line to the next.
enum class LineSpacing : std::uint8_t {
  Tenth,     ///< 1/10 inch, "2,54 mm" (Hei2spi)
  Eighth,    ///< 1/8 inch, "3,175 mm" (Hei3spi)
  Sixth,     ///< 1/6 inch, "4,23 mm" (Hei4spi)
  Units72,   ///< n/72 inch, "x 0,353 mm" (Hei0353), n = units72
  Units216,  ///< n/216 inch, "x 0,118 mm" (Hei0118), n = units216
};

/// The limits of the two spacing values as the settings page offers them (its spin edits).
/// Equal limits mean no limit at all.
inline constexpr std::int32_t kUnits72Min = 0;
inline constexpr std::int32_t kUnits72Max = 85;
inline constexpr std::int32_t kUnits216Min = 0;
inline constexpr std::int32_t kUnits216Max = 0;

/// Everything the settings page holds, as one value. Its defaults are the window's defaults:
/// the window builds its initial state from a default-constructed record.
struct PrinterSettings {
  CharTable charTable = CharTable::Alternative;
  bool condensed = false;    ///< "Уплотнённая печать"
  bool doubleWidth = false;  ///< "Двойная ширина"
  Pitch pitch = Pitch::Cpi12;
  LineSpacing spacing = LineSpacing::Eighth;
  std::int32_t units72 = 8;        ///< the n of n/72 inch
  std::int32_t units216 = 24;      ///< the n of n/216 inch
  bool emphasised = false;         ///< "Качественная печать"
  bool doubleStrike = false;       ///< "Двупроходная печать"
  std::string testLine;            ///< printed after the codes: raw bytes of code page 866
  bool crLfAfterTestLine = false;  ///< CR LF after the test line
  std::string device = "PRN";      ///< the output device or file, as the user typed it (UTF-8)

  /// The n of the chosen spacing (units72 for Units72, units216 for Units216); 0 for the fixed
  /// spacings.
  std::int32_t SpacingUnits() const noexcept {
    return spacing == LineSpacing::Units72    ? units72
           : spacing == LineSpacing::Units216 ? units216
                                              : 0;
  }

  bool operator==(const PrinterSettings&) const = default;
};

}  // namespace pl4120
