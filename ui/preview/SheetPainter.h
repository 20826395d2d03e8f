#pragma once

#include <QRawFont>
#include <QRectF>
#include <array>
#include <string_view>

#include "escp/Interpreter.h"

class QPainter;

/// Draws what the printer puts on one sheet: the runs of a page laid out by the interpreter,
/// each character at its own place (the interpreter's x and line, never the font's advance).
/// The same drawing serves the screen and a PDF page, so both show the same sheet.
///
/// Characters are the glyphs of code page 866. Letters and symbols come from a monospaced font
/// stretched to the character's width (condensed narrower, double width twice as wide), with
/// the capital height of the 9-pin head's seven upper dots; emphasised prints bold, double
/// strike a second time a dot lower, both in a darker ink; italic slants; underline is a line
/// under the whole run. The box-drawing and block characters (U+2500..U+259F) are drawn as
/// lines and rectangles in their cell, so a frame joins up across characters of any pitch, and
/// a vertical line reaches the line below when that line follows within two head heights and
/// continues it.
///
/// The painter draws nothing of the paper itself: the caller fills the sheet (the screen gives
/// it an edge and a shadow, a PDF page is the sheet).
class TSheetPainter {
 public:
  TSheetPainter();

  /// Draws the page's print into `sheet`, the rectangle that the whole sheet of `paper` takes
  /// in the painter's coordinates. `bytes` are the bytes the page was laid out from.
  void Draw(QPainter& painter, const QRectF& sheet, const pl4120::escp::Page& page,
            std::string_view bytes, const pl4120::escp::Paper& paper) const;

 private:
  /// One face of the font at the reference size, with the glyph of every byte of the code page.
  struct Face {
    QRawFont font;
    std::array<quint32, 256> glyphs{};
  };
  enum FaceIndex { kRegular, kBold, kItalic, kBoldItalic, kFaceCount };

  std::array<Face, kFaceCount> faces_;
  qreal advance_ = 0;    ///< the font's advance at the reference size
  qreal capHeight_ = 0;  ///< its capital height at the reference size
};
