#include "ui/preview/PreviewView.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kScreenDpi = 96;
constexpr double kMargin = 20;  // around the column of sheets
constexpr double kGap = 16;     // between two sheets
constexpr std::size_t kKeptSheets = 8;

const QColor kBackground(0x80, 0x80, 0x80);
const QColor kPaperEdge(0x30, 0x30, 0x30);
const QColor kShadow(0, 0, 0, 70);

}  // namespace

TPreviewView::TPreviewView(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName(QStringLiteral("pvSheets"));
  // Always there, so that fitting the width does not make the bar come and go.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFocusPolicy(Qt::StrongFocus);
  verticalScrollBar()->setSingleStep(40);
  horizontalScrollBar()->setSingleStep(40);
}

void TPreviewView::SetDocument(TPreviewDocumentPtr document) {
  const bool otherPaper =
      !document_ || !document || document_->index.paper != document->index.paper;
  document_ = std::move(document);
  sheets_.clear();
  if (fitWidth_ && document_) {
    zoom_ = FitZoom();
    emit zoomChanged(zoom_);
  }
  UpdateScrollBars();
  const int last = std::max(0, SheetCount() - 1);
  if (otherPaper || current_ > last) {
    ShowSheet(std::min(current_, last));
  }
  viewport()->update();
  emit currentSheetChanged(current_);  // the number of sheets may have changed
}

const pl4120::escp::Page& TPreviewView::Sheet(int index) const {
  for (auto it = sheets_.begin(); it != sheets_.end(); ++it) {
    if (it->first == index) {
      sheets_.splice(sheets_.begin(), sheets_, it);
      return sheets_.front().second;
    }
  }
  sheets_.emplace_front(index, pl4120::escp::LayoutPage(document_->bytes, document_->index,
                                                        static_cast<std::size_t>(index)));
  if (sheets_.size() > kKeptSheets) {
    sheets_.pop_back();
  }
  return sheets_.front().second;
}

void TPreviewView::ShowSheet(int index) {
  if (!document_ || SheetCount() == 0) {
    return;
  }
  index = std::clamp(index, 0, SheetCount() - 1);
  jumping_ = true;
  verticalScrollBar()->setValue(static_cast<int>(std::lround(index * SheetStep())));
  jumping_ = false;
  SetCurrent(index);
}

QRectF TPreviewView::SheetRect(int index) const {
  const QSizeF size = SheetSize();
  const double width = viewport()->width();
  const double x = ContentWidth() <= width ? std::floor((width - size.width()) / 2)
                                           : kMargin - horizontalScrollBar()->value();
  const double y = std::floor(kMargin + index * SheetStep()) - verticalScrollBar()->value();
  return {x, y, size.width(), size.height()};
}

void TPreviewView::SetZoom(double zoom) {
  fitWidth_ = false;
  ApplyZoom(zoom, QPointF(viewport()->width() / 2.0, viewport()->height() / 2.0));
}

void TPreviewView::SetFitWidth(bool on) {
  fitWidth_ = on;
  if (on && document_) {
    ApplyZoom(FitZoom(), QPointF(viewport()->width() / 2.0, 0));
  } else {
    emit zoomChanged(zoom_);
  }
}

QSizeF TPreviewView::SheetSize() const {
  if (!document_) {
    return {};
  }
  const pl4120::escp::Paper& paper = document_->index.paper;
  return {paper.width / 360.0 * kScreenDpi * zoom_, paper.height / 216.0 * kScreenDpi * zoom_};
}

double TPreviewView::SheetStep() const {
  return SheetSize().height() + kGap;
}

double TPreviewView::ContentWidth() const {
  return SheetSize().width() + 2 * kMargin;
}

double TPreviewView::ContentHeight() const {
  const int sheets = SheetCount();
  return sheets == 0 ? 0 : sheets * SheetStep() - kGap + 2 * kMargin;
}

double TPreviewView::FitZoom() const {
  const double fullWidth = document_->index.paper.width / 360.0 * kScreenDpi;
  const double room = viewport()->width() - 2 * kMargin;
  return std::clamp(room / fullWidth, kMinZoom, kMaxZoom);
}

void TPreviewView::ApplyZoom(double zoom, QPointF anchor) {
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  if (!document_) {
    zoom_ = zoom;
    emit zoomChanged(zoom_);
    return;
  }
  // The point under the anchor, in sheets down and sheet widths across, stays under it.
  const double down = (verticalScrollBar()->value() + anchor.y() - kMargin) / SheetStep();
  const double across = (anchor.x() - SheetRect(0).left()) / SheetSize().width();
  zoom_ = zoom;
  UpdateScrollBars();
  verticalScrollBar()->setValue(
      static_cast<int>(std::lround(down * SheetStep() + kMargin - anchor.y())));
  if (ContentWidth() > viewport()->width()) {
    horizontalScrollBar()->setValue(
        static_cast<int>(std::lround(kMargin + across * SheetSize().width() - anchor.x())));
  }
  viewport()->update();
  emit zoomChanged(zoom_);
}

void TPreviewView::UpdateScrollBars() {
  const QSize room = viewport()->size();
  verticalScrollBar()->setRange(
      0, std::max(0, static_cast<int>(std::ceil(ContentHeight())) - room.height()));
  verticalScrollBar()->setPageStep(room.height());
  horizontalScrollBar()->setRange(
      0, std::max(0, static_cast<int>(std::ceil(ContentWidth())) - room.width()));
  horizontalScrollBar()->setPageStep(room.width());
}

void TPreviewView::SetCurrent(int index) {
  if (index != current_) {
    current_ = index;
    emit currentSheetChanged(current_);
  }
}

void TPreviewView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), kBackground);
  if (!document_ || SheetCount() == 0) {
    return;
  }
  const double top = verticalScrollBar()->value();
  const int first = std::max(0, static_cast<int>(std::floor((top - kMargin) / SheetStep())));
  const int last =
      std::min(SheetCount() - 1,
               static_cast<int>(std::floor((top + viewport()->height() - kMargin) / SheetStep())));
  for (int i = first; i <= last; ++i) {
    const QRectF sheet = SheetRect(i);
    if (!sheet.intersects(event->rect())) {
      continue;
    }
    painter.fillRect(sheet.translated(3, 3), kShadow);
    painter.fillRect(sheet, Qt::white);
    painter.setPen(kPaperEdge);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(sheet.toAlignedRect().adjusted(-1, -1, 0, 0));
    painter.save();
    painter.setClipRect(sheet);
    painter_.Draw(painter, sheet, Sheet(i), document_->bytes, document_->index.paper);
    painter.restore();
    emit sheetPainted(i);
  }
}

void TPreviewView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (fitWidth_ && document_) {
    ApplyZoom(FitZoom(), QPointF(viewport()->width() / 2.0, 0));
  } else {
    UpdateScrollBars();
  }
}

void TPreviewView::scrollContentsBy(int /*dx*/, int dy) {
  viewport()->update();
  if (jumping_ || dy == 0 || !document_) {
    return;
  }
  const double middle = verticalScrollBar()->value() + viewport()->height() / 2.0;
  const int index = static_cast<int>(std::floor((middle - kMargin + kGap / 2) / SheetStep()));
  SetCurrent(std::clamp(index, 0, std::max(0, SheetCount() - 1)));
}

void TPreviewView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_PageDown:
      ShowSheet(current_ + 1);
      break;
    case Qt::Key_PageUp:
      // From inside a sheet, first to its own top.
      ShowSheet(SheetRect(current_).top() < kMargin - 1 ? current_ : current_ - 1);
      break;
    case Qt::Key_Home:
      ShowSheet(0);
      break;
    case Qt::Key_End:
      ShowSheet(SheetCount() - 1);
      break;
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  event->accept();
}

void TPreviewView::wheelEvent(QWheelEvent* event) {
  if ((event->modifiers() & Qt::ControlModifier) == 0) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  const double steps = event->angleDelta().y() / 120.0;
  if (steps != 0) {
    fitWidth_ = false;
    ApplyZoom(zoom_ * std::pow(kZoomStep, steps), event->position());
  }
  event->accept();
}
