#pragma once

#include <QAbstractScrollArea>
#include <QRectF>
#include <list>
#include <utility>

#include "ui/preview/PreviewDocument.h"
#include "ui/preview/SheetPainter.h"

/// The sheets of a preview document one below another on a grey background, each with its
/// paper edge, scrolled and zoomed. Only the sheets in sight are laid out (a few are kept) and
/// drawn. Page Up and Page Down go from sheet to sheet, Home and End to the first and the last;
/// Ctrl with the wheel zooms about the pointer. Zoom 1 shows a sheet at its real size on a
/// 96 dpi screen; "fit width" makes the sheet as wide as the view and keeps it so on resizing.
class TPreviewView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static constexpr double kMinZoom = 0.2;
  static constexpr double kMaxZoom = 5.0;
  static constexpr double kZoomStep = 1.25;

  explicit TPreviewView(QWidget* parent = nullptr);

  /// Shows a document. The sheet in sight stays in sight; on another paper the view goes to
  /// the top of that sheet.
  void SetDocument(TPreviewDocumentPtr document);
  const TPreviewDocumentPtr& Document() const { return document_; }
  int SheetCount() const { return document_ ? document_->SheetCount() : 0; }
  /// A sheet laid out from the document (0-based); the last few asked for are kept.
  const pl4120::escp::Page& Sheet(int index) const;

  /// The sheet in sight, 0-based: the one at the middle of the view, or the one the view was
  /// last sent to.
  int CurrentSheet() const { return current_; }
  /// Scrolls the top of a sheet to the top of the view.
  void ShowSheet(int index);
  /// Where a sheet is in the viewport's coordinates.
  QRectF SheetRect(int index) const;

  double Zoom() const { return zoom_; }
  /// Sets the zoom (within kMinZoom..kMaxZoom) and leaves "fit width".
  void SetZoom(double zoom);
  void ZoomIn() { SetZoom(zoom_ * kZoomStep); }
  void ZoomOut() { SetZoom(zoom_ / kZoomStep); }
  bool FitsWidth() const { return fitWidth_; }
  void SetFitWidth(bool on);

 signals:
  void currentSheetChanged(int index);
  void zoomChanged(double zoom);
  /// A sheet was drawn on the screen.
  void sheetPainted(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QSizeF SheetSize() const;  ///< pixels at the current zoom
  double SheetStep() const;  ///< from the top of one sheet to the top of the next
  double ContentWidth() const;
  double ContentHeight() const;
  double FitZoom() const;
  /// Zooms keeping the content under `anchor` (viewport coordinates) where it is.
  void ApplyZoom(double zoom, QPointF anchor);
  void UpdateScrollBars();
  void SetCurrent(int index);

  TPreviewDocumentPtr document_;
  TSheetPainter painter_;
  mutable std::list<std::pair<int, pl4120::escp::Page>> sheets_;  // most recent first
  double zoom_ = 1.0;
  bool fitWidth_ = true;
  int current_ = 0;
  bool jumping_ = false;  // a scroll made by ShowSheet sets the current sheet itself
};
