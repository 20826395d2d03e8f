#include "ui/preview/PdfExport.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressDialog>
#include <memory>
#include <string_view>

#include "text/ReplaceFile.h"
#include "ui/preview/SheetPainter.h"
#include "ui/widgets/ErrorBox.h"

namespace {

// A PDF page is drawn at this many dots an inch; the text in it stays vector text.
constexpr int kPdfDpi = 720;
// Writing more sheets than this shows its progress and can be cancelled.
constexpr int kProgressFromSheets = 200;

}  // namespace

std::string WritePdf(const QString& path, const TPreviewDocument& document, QWidget* owner,
                     bool& cancelled) {
  cancelled = false;
  const pl4120::escp::Paper& paper = document.index.paper;
  const int sheets = document.SheetCount();

  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&pdf);
    writer.setResolution(kPdfDpi);
    writer.setCreator(ApplicationTitle());
    writer.setTitle(QFileInfo(path).completeBaseName());
    writer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(paper.width / 360.0 * 25.4, paper.height / 216.0 * 25.4),
                              QPageSize::Millimeter),
                    QPageLayout::Portrait, QMarginsF()));
    QPainter painter;
    if (!painter.begin(&writer)) {
      return "не удалось начать PDF";
    }
    std::unique_ptr<QProgressDialog> progress;
    if (sheets > kProgressFromSheets) {
      progress = std::make_unique<QProgressDialog>(QStringLiteral("Запись PDF…"),
                                                   QStringLiteral("Отмена"), 0, sheets, owner);
      progress->setWindowModality(Qt::WindowModal);
    }
    const TSheetPainter sheetPainter;
    const QRectF sheet(0, 0, paper.width / 360.0 * kPdfDpi, paper.height / 216.0 * kPdfDpi);
    for (int i = 0; i < sheets; ++i) {
      if (i > 0) {
        writer.newPage();
      }
      const pl4120::escp::Page page =
          pl4120::escp::LayoutPage(document.bytes, document.index, static_cast<std::size_t>(i));
      sheetPainter.Draw(painter, sheet, page, document.bytes, paper);
      if (progress) {
        progress->setValue(i + 1);
        if (progress->wasCanceled()) {
          painter.end();
          cancelled = true;
          return {};  // nothing has been written yet
        }
      }
    }
    painter.end();
  }
  return pl4120::ReplaceFile(
      QFile::encodeName(path).toStdString(),
      std::string_view(pdf.data().constData(), static_cast<std::size_t>(pdf.data().size())));
}
