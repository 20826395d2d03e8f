#include "ui/preview/SheetPainter.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "text/Cp866.h"

namespace {

namespace escp = pl4120::escp;

// The font's reference size; every character is scaled from it to its cell.
constexpr int kReferencePx = 100;
constexpr const char* kFamily = "DejaVu Sans Mono";

// A character line in 1/216 inch: nine dots of 1/72", capitals on the upper seven (a little
// under, so that the accents of Ё and Й stay inside the line), descenders on the last two.
constexpr qreal kBaseline = 21;
constexpr qreal kCapHeight = 19;
constexpr qreal kMiddle = 13.5;  // the middle dot, where box lines run
constexpr qreal kUnderlineTop = 24;
constexpr qreal kUnderlineHeight = 2.5;
// Double strike prints the line a second time this far lower (one third of a dot).
constexpr qreal kStrikeOffset = 1;
// A frame continues on the next line only when that line is this close below.
constexpr int kJoinBelow = 2 * escp::kLineHeight;

// Box-drawing strokes, in inches: a line about a dot wide, double lines a little apart.
constexpr qreal kStroke = 0.012;
constexpr qreal kDoubleOffset = 0.021;
constexpr qreal kEmphasizedStroke = 1.4;

QColor Ink(std::uint8_t flags) {
  // Emphasised and double-struck characters get more ink than the others.
  return (flags & (escp::kEmphasized | escp::kDoubleStrike)) != 0 ? QColor(0, 0, 0)
                                                                  : QColor(0x33, 0x33, 0x33);
}

// ---- The box-drawing and block characters of code page 866 --------------------------------

enum Line : std::uint8_t { kNoLine, kLight, kDouble };

enum class Block : std::uint8_t {
  None,
  Upper,
  Lower,
  Full,
  LeftHalf,
  RightHalf,
  Light,
  Medium,
  Dark
};

struct Shape {
  bool drawn = false;  // a box or block character: drawn here, not by the font
  bool blank = false;  // nothing to draw (the blank and the no-break blank)
  Line left = kNoLine;
  Line right = kNoLine;
  Line up = kNoLine;
  Line down = kNoLine;
  Block block = Block::None;

  bool ReachesUp() const {
    return up != kNoLine || (block != Block::None && block != Block::Lower);
  }
  bool ReachesDown() const {
    return down != kNoLine || (block != Block::None && block != Block::Upper);
  }
};

// The lines of each box character of the code page: left, right, up, down; 1 light, 2 double.
struct BoxRow {
  char16_t code;
  const char* arms;
};
constexpr BoxRow kBoxes[] = {
    {u'\u2500', "1100"}, {u'\u2502', "0011"}, {u'\u250C', "0101"}, {u'\u2510', "1001"},
    {u'\u2514', "0110"}, {u'\u2518', "1010"}, {u'\u251C', "0111"}, {u'\u2524', "1011"},
    {u'\u252C', "1101"}, {u'\u2534', "1110"}, {u'\u253C', "1111"}, {u'\u2550', "2200"},
    {u'\u2551', "0022"}, {u'\u2552', "0201"}, {u'\u2553', "0102"}, {u'\u2554', "0202"},
    {u'\u2555', "2001"}, {u'\u2556', "1002"}, {u'\u2557', "2002"}, {u'\u2558', "0210"},
    {u'\u2559', "0120"}, {u'\u255A', "0220"}, {u'\u255B', "2010"}, {u'\u255C', "1020"},
    {u'\u255D', "2020"}, {u'\u255E', "0211"}, {u'\u255F', "0122"}, {u'\u2560', "0222"},
    {u'\u2561', "2011"}, {u'\u2562', "1022"}, {u'\u2563', "2022"}, {u'\u2564', "2201"},
    {u'\u2565', "1102"}, {u'\u2566', "2202"}, {u'\u2567', "2210"}, {u'\u2568', "1120"},
    {u'\u2569', "2220"}, {u'\u256A', "2211"}, {u'\u256B', "1122"}, {u'\u256C', "2222"},
};
constexpr std::pair<char16_t, Block> kBlocks[] = {
    {u'\u2580', Block::Upper},    {u'\u2584', Block::Lower},     {u'\u2588', Block::Full},
    {u'\u258C', Block::LeftHalf}, {u'\u2590', Block::RightHalf}, {u'\u2591', Block::Light},
    {u'\u2592', Block::Medium},   {u'\u2593', Block::Dark},
};

Shape ShapeOf(char16_t glyph) {
  Shape shape;
  shape.blank = glyph == u' ' || glyph == u'\u00A0';
  for (const BoxRow& row : kBoxes) {
    if (row.code == glyph) {
      shape.drawn = true;
      shape.left = static_cast<Line>(row.arms[0] - '0');
      shape.right = static_cast<Line>(row.arms[1] - '0');
      shape.up = static_cast<Line>(row.arms[2] - '0');
      shape.down = static_cast<Line>(row.arms[3] - '0');
    }
  }
  for (const auto& [code, block] : kBlocks) {
    if (code == glyph) {
      shape.drawn = true;
      shape.block = block;
    }
  }
  return shape;
}

// The shape of every byte, by its glyph in code page 866.
const std::array<Shape, 256>& Shapes() {
  static const std::array<Shape, 256> shapes = [] {
    std::array<Shape, 256> table{};
    for (unsigned b = 0; b < 256; ++b) {
      const std::u16string glyph = pl4120::DecodeCp866(std::string(1, static_cast<char>(b)));
      table[b] = ShapeOf(glyph.at(0));
    }
    return table;
  }();
  return shapes;
}

// Where a line of an arm stops short of the cell's middle, as an offset from the middle towards
// the arm's own edge: +offset at the near one of two crossing double lines, 0 at the middle,
// -offset at the far one.
//
// A light arm meets a single crossing line in the middle; with a double crossing line on one
// side only (a corner such as ╓) it reaches the far line of the pair; with double lines on both
// sides it stops at the near one (╟), unless the arm goes on at the other side (╫).
qreal LightStop(Line side1, Line side2, Line opposite, qreal offset) {
  const int doubles = (side1 == kDouble) + (side2 == kDouble);
  if (doubles == 0) {
    return 0;
  }
  if (doubles == 1) {
    return -offset;
  }
  return opposite != kNoLine ? 0 : offset;
}

// The same for one line of a double arm, the one on the side where `side` points: it stops at
// the near line of a double arm on its side, in the middle at a light one, and where its side
// is open it turns the outer corner (reaches the far line) when a double arm leaves on the other
// side and nothing continues the arm across (╔, ╗, ╚, ╝).
qreal DoubleStop(Line side, Line otherSide, Line opposite, qreal offset) {
  if (side == kDouble) {
    return offset;
  }
  if (side == kLight) {
    return 0;
  }
  return otherSide == kDouble && opposite == kNoLine ? -offset : 0;
}

// A character cell in the painter's coordinates, with the strokes for its size.
struct Cell {
  qreal left, right, top, bottom, midX, midY;
  qreal horizontal;  // thickness of a horizontal line
  qreal vertical;    // width of a vertical line
  qreal offsetX;     // distance of each of two vertical lines from the middle
  qreal offsetY;     // distance of each of two horizontal lines from the middle
  qreal overlap;     // how far a line or block goes on into the next cell
};

void DrawBox(QPainter& painter, const Cell& c, const Shape& s, const QColor& ink) {
  const auto horizontalLine = [&](qreal x1, qreal x2, qreal y) {
    painter.fillRect(
        QRectF(std::min(x1, x2), y - c.horizontal / 2, std::abs(x2 - x1), c.horizontal), ink);
  };
  const auto verticalLine = [&](qreal y1, qreal y2, qreal x) {
    painter.fillRect(QRectF(x - c.vertical / 2, std::min(y1, y2), c.vertical, std::abs(y2 - y1)),
                     ink);
  };
  // Each arm runs from a little past its edge of the cell (so that no seam shows between two
  // cells however the lines are rasterised) to where it meets the crossing lines; the end goes
  // on by half a stroke so that corners and junctions close.
  const qreal left = c.left - c.overlap;
  const qreal right = c.right + c.overlap;
  const qreal top = c.top - c.overlap;
  const qreal bottom = c.bottom + c.overlap;
  for (const int sign : {-1, 1}) {
    const Line arm = sign < 0 ? s.left : s.right;
    const Line opposite = sign < 0 ? s.right : s.left;
    const qreal edge = sign < 0 ? left : right;
    const auto end = [&](qreal stop) { return c.midX + sign * stop - sign * c.vertical / 2; };
    if (arm == kLight) {
      horizontalLine(edge, end(LightStop(s.up, s.down, opposite, c.offsetX)), c.midY);
    } else if (arm == kDouble) {
      horizontalLine(edge, end(DoubleStop(s.up, s.down, opposite, c.offsetX)), c.midY - c.offsetY);
      horizontalLine(edge, end(DoubleStop(s.down, s.up, opposite, c.offsetX)), c.midY + c.offsetY);
    }
  }
  for (const int sign : {-1, 1}) {
    const Line arm = sign < 0 ? s.up : s.down;
    const Line opposite = sign < 0 ? s.down : s.up;
    const qreal edge = sign < 0 ? top : bottom;
    const auto end = [&](qreal stop) { return c.midY + sign * stop - sign * c.horizontal / 2; };
    if (arm == kLight) {
      verticalLine(edge, end(LightStop(s.left, s.right, opposite, c.offsetY)), c.midX);
    } else if (arm == kDouble) {
      verticalLine(edge, end(DoubleStop(s.left, s.right, opposite, c.offsetY)), c.midX - c.offsetX);
      verticalLine(edge, end(DoubleStop(s.right, s.left, opposite, c.offsetY)), c.midX + c.offsetX);
    }
  }

  const QRectF whole(QPointF(left, top), QPointF(right, bottom));
  switch (s.block) {
    case Block::None:
      break;
    case Block::Upper:
      painter.fillRect(QRectF(QPointF(left, top), QPointF(right, c.midY)), ink);
      break;
    case Block::Lower:
      painter.fillRect(QRectF(QPointF(left, c.midY), QPointF(right, bottom)), ink);
      break;
    case Block::Full:
      painter.fillRect(whole, ink);
      break;
    case Block::LeftHalf:
      painter.fillRect(QRectF(QPointF(left, top), QPointF(c.midX, bottom)), ink);
      break;
    case Block::RightHalf:
      painter.fillRect(QRectF(QPointF(c.midX, top), QPointF(right, bottom)), ink);
      break;
    case Block::Light:
    case Block::Medium:
    case Block::Dark: {
      // Shades as an even grey of their density on the white paper (opaque, so that cells may
      // overlap): legible at any scale, and plain in a PDF.
      const int density = s.block == Block::Light ? 1 : s.block == Block::Medium ? 2 : 3;
      const auto mix = [density](int ink, int paper) {
        return paper + (ink - paper) * density / 4;
      };
      painter.fillRect(whole,
                       QColor(mix(ink.red(), 255), mix(ink.green(), 255), mix(ink.blue(), 255)));
      break;
    }
  }
}

// A box or block character of the page, in the interpreter's units.
struct BoxChar {
  int y;
  int x;
  int width;
  unsigned char byte;
  std::uint8_t flags;

  bool operator<(const BoxChar& other) const { return y != other.y ? y < other.y : x < other.x; }
};

}  // namespace

TSheetPainter::TSheetPainter() {
  std::string every(256, '\0');
  for (unsigned b = 0; b < 256; ++b) {
    every[b] = static_cast<char>(b);
  }
  const QString glyphs = QString::fromStdU16String(pl4120::DecodeCp866(every));
  for (int i = 0; i < kFaceCount; ++i) {
    QFont font(QString::fromLatin1(kFamily));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(kReferencePx);
    font.setBold((i & 1) != 0);
    font.setItalic((i & 2) != 0);
    Face& face = faces_[static_cast<std::size_t>(i)];
    face.font = QRawFont::fromFont(font);
    const QList<quint32> indexes = face.font.glyphIndexesForString(glyphs);
    for (qsizetype b = 0; b < indexes.size() && b < 256; ++b) {
      face.glyphs[static_cast<std::size_t>(b)] = indexes[b];
    }
  }
  const QList<QPointF> advances =
      faces_[kRegular].font.advancesForGlyphIndexes(QList<quint32>{faces_[kRegular].glyphs['M']});
  advance_ = advances.isEmpty() || advances[0].x() <= 0 ? 0.6 * kReferencePx : advances[0].x();
  capHeight_ = faces_[kRegular].font.capHeight() > 0 ? faces_[kRegular].font.capHeight()
                                                     : 0.73 * kReferencePx;
}

void TSheetPainter::Draw(QPainter& painter, const QRectF& sheet, const escp::Page& page,
                         std::string_view bytes, const escp::Paper& paper) const {
  if (paper.width <= 0 || paper.height <= 0 || page.runs.empty()) {
    return;
  }
  const qreal sx = sheet.width() / paper.width;    // per 1/360 inch
  const qreal sy = sheet.height() / paper.height;  // per 1/216 inch
  const auto px = [&](qreal x) { return sheet.left() + x * sx; };
  const auto py = [&](qreal y) { return sheet.top() + y * sy; };
  const std::array<Shape, 256>& shapes = Shapes();

  std::vector<int> lines;
  std::vector<BoxChar> boxes;
  lines.reserve(page.runs.size());
  for (const escp::Run& run : page.runs) {
    lines.push_back(run.y);
    const std::string_view text = run.Bytes(bytes);
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (shapes[byte].drawn) {
        boxes.push_back(
            {run.y, run.x + static_cast<int>(i) * run.advance, run.advance, byte, run.flags});
      }
    }
  }
  std::sort(lines.begin(), lines.end());
  lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
  std::sort(boxes.begin(), boxes.end());

  painter.save();
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setRenderHint(QPainter::Antialiasing, false);

  // Letters and symbols: one glyph run for each run of the page, each glyph at its own place.
  const qreal scaleY = kCapHeight * sy / capHeight_;
  QList<quint32> glyphs;
  QList<QPointF> positions;
  for (const escp::Run& run : page.runs) {
    const bool bold = (run.flags & escp::kEmphasized) != 0;
    const bool italic = (run.flags & escp::kItalic) != 0;
    const Face& face = faces_[(bold ? kBold : kRegular) + (italic ? kItalic : 0)];
    const std::string_view text = run.Bytes(bytes);
    glyphs.clear();
    positions.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      if (!shapes[byte].drawn && !shapes[byte].blank) {
        glyphs.append(face.glyphs[byte]);
        positions.append(QPointF(static_cast<qreal>(i) * advance_, 0));
      }
    }
    const QColor ink = Ink(run.flags);
    if (!glyphs.isEmpty()) {
      QGlyphRun glyphRun;
      glyphRun.setRawFont(face.font);
      glyphRun.setGlyphIndexes(glyphs);
      glyphRun.setPositions(positions);
      painter.setPen(ink);
      const int strikes = (run.flags & escp::kDoubleStrike) != 0 ? 2 : 1;
      for (int strike = 0; strike < strikes; ++strike) {
        painter.save();
        painter.translate(px(run.x), py(run.y + kBaseline + strike * kStrikeOffset));
        painter.scale(run.advance * sx / advance_, scaleY);
        painter.drawGlyphRun(QPointF(0, 0), glyphRun);
        painter.restore();
      }
    }
    if ((run.flags & escp::kUnderline) != 0) {
      painter.fillRect(QRectF(px(run.x), py(run.y + kUnderlineTop), run.Width() * sx,
                              std::max<qreal>(1, kUnderlineHeight * sy)),
                       ink);
    }
  }

  // Box and block characters. A cell reaches down to the next line when that line follows
  // closely and holds, under the cell's middle, a character that continues it upwards.
  const auto reachesUpAt = [&](int y, int doubledMiddle) {
    auto it = std::upper_bound(
        boxes.begin(), boxes.end(), doubledMiddle,
        [y](int middle, const BoxChar& b) { return y != b.y ? y < b.y : middle < 2 * b.x; });
    if (it == boxes.begin()) {
      return false;
    }
    --it;
    return it->y == y && doubledMiddle < 2 * (it->x + it->width) && shapes[it->byte].ReachesUp();
  };
  for (const BoxChar& box : boxes) {
    const Shape& shape = shapes[box.byte];
    int bottom = box.y + escp::kLineHeight;
    if (shape.ReachesDown()) {
      const auto next = std::upper_bound(lines.begin(), lines.end(), box.y);
      if (next != lines.end() && *next - box.y < kJoinBelow &&
          reachesUpAt(*next, 2 * box.x + box.width)) {
        bottom = *next;
      }
    }
    const qreal strokeScale = (box.flags & escp::kEmphasized) != 0 ? kEmphasizedStroke : 1.0;
    Cell cell{};
    cell.left = px(box.x);
    cell.right = px(box.x + box.width);
    cell.top = py(box.y);
    cell.bottom = py(bottom);
    cell.midX = (cell.left + cell.right) / 2;
    cell.midY = py(box.y + kMiddle);
    cell.horizontal = std::max<qreal>(1, kStroke * 216 * sy * strokeScale);
    cell.vertical = std::max<qreal>(1, kStroke * 360 * sx * strokeScale);
    cell.offsetY = std::max(kDoubleOffset * 216 * sy, cell.horizontal);
    cell.offsetX =
        std::min(std::max(kDoubleOffset * 360 * sx, cell.vertical), (cell.right - cell.left) * 0.3);
    cell.overlap = std::min(cell.horizontal, cell.vertical) / 4;
    DrawBox(painter, cell, shape, Ink(box.flags));
  }
  painter.restore();
}
