#pragma once

#include <QPlainTextEdit>
#include <string>
#include <string_view>

class QKeyEvent;
class QMouseEvent;

/// The text page's editor. Its text is a byte string of code page 866: each byte shows as its
/// code page 866 glyph, and what the user types or pastes becomes the 866 byte of each
/// character ('?' where the code page has none; the glyphs of CR and LF typed or pasted become
/// '?' too, so a line never holds a line-end byte). In the byte view lines end with CR LF; a lone
/// CR or LF handed to setBytes()/appendBytes() ends a line as well (the editor holds no line
/// end other than its own line structure). Long lines never wrap; Tab moves the focus on.
///
/// Offsets and lengths are in bytes of the byte view (a line end counts two).
class TOemMemo : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit TOemMemo(QWidget* parent = nullptr);

  /// The whole text, lines joined by CR LF.
  std::string bytes() const;
  /// Replaces the whole text in one step.
  void setBytes(std::string_view bytes);
  /// Inserts bytes at the end of the text in one insertion (one change notification); any
  /// selection collapses and the caret stands after the inserted piece.
  void appendBytes(std::string_view bytes);

  /// True when the text is empty.
  bool isEmptyText() const;
  /// True when the text ends with a line end (the last line is empty and is not the only one).
  bool endsWithLineEnd() const;

  /// Length of the selection in bytes; 0 when nothing is selected.
  qint64 selLength() const;
  /// The selected bytes.
  std::string selectedBytes() const;

 signals:
  /// Emitted after the editor's own handling of the event.
  void mouseMoved(QMouseEvent* event);
  void mousePressed(QMouseEvent* event);
  void mouseReleased(QMouseEvent* event);
  void keyReleased(QKeyEvent* event);

 protected:
  bool viewportEvent(QEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  QMimeData* createMimeDataFromSelection() const override;
};
