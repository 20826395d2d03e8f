#include "ui/preview/PreviewWindow.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProgressDialog>
#include <QPromise>
#include <QScreen>
#include <QStatusBar>
#include <QTextCursor>
#include <QThreadPool>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cerrno>
#include <memory>
#include <string>
#include <utility>

#include "ui/preview/PdfExport.h"
#include "ui/preview/PreviewView.h"
#include "ui/preview/SheetPainter.h"
#include "ui/widgets/ErrorBox.h"

namespace {

using pl4120::escp::PaperKind;

struct PaperChoice {
  PaperKind kind;
  const char* caption;
};
constexpr PaperChoice kPapers[] = {
    {PaperKind::A4, "A4, 210 × 297 мм"},
    {PaperKind::Letter, "Letter, 8½ × 11″"},
    {PaperKind::Fanfold240x12, "Фальцованная, 240 мм × 12″"},
};

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

QToolButton* ToolButton(const char* name, const char* caption, QToolBar* bar) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(Utf8(caption));
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar->addWidget(button);
  return button;
}

}  // namespace

TPreviewWindow::TPreviewWindow(Source source, QWidget* parent)
    : QMainWindow(parent), loader_(new TPreviewLoader(std::move(source), this)) {
  setObjectName(QStringLiteral("fmPreview"));
  setWindowTitle(QStringLiteral("Просмотр печати"));
  if (parent != nullptr) {
    setWindowIcon(parent->windowIcon());
  }

  auto* tools = addToolBar(QStringLiteral("Просмотр"));
  tools->setObjectName(QStringLiteral("tbPreview"));
  tools->setMovable(false);
  tools->setFloatable(false);
  tools->addWidget(new QLabel(QStringLiteral("Бумага: "), tools));
  cmPaper_ = new QComboBox(tools);
  cmPaper_->setObjectName(QStringLiteral("cmPaper"));
  for (const PaperChoice& choice : kPapers) {
    cmPaper_->addItem(Utf8(choice.caption));
  }
  tools->addWidget(cmPaper_);
  tools->addSeparator();
  QToolButton* zoomOut = ToolButton("btZoomOut", "−", tools);
  lbZoom_ = new QLabel(tools);
  lbZoom_->setObjectName(QStringLiteral("lbZoom"));
  lbZoom_->setAlignment(Qt::AlignCenter);
  lbZoom_->setMinimumWidth(lbZoom_->fontMetrics().horizontalAdvance(QStringLiteral(" 500 % ")));
  tools->addWidget(lbZoom_);
  QToolButton* zoomIn = ToolButton("btZoomIn", "+", tools);
  btFitWid_ = ToolButton("btFitWid", "По ширине", tools);
  btFitWid_->setCheckable(true);
  tools->addSeparator();
  QToolButton* savePdf = ToolButton("btSavePdf", "Сохранить в PDF…", tools);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  lbInitErr_ = new QLabel(central);
  lbInitErr_->setObjectName(QStringLiteral("lbInitErr"));
  lbInitErr_->setWordWrap(true);
  lbInitErr_->setStyleSheet(
      QStringLiteral("QLabel { background: #fff3c4; color: #5a3c00; padding: 4px 8px; }"));
  lbInitErr_->hide();
  layout->addWidget(lbInitErr_);
  view_ = new TPreviewView(central);
  layout->addWidget(view_, 1);
  setCentralWidget(central);

  lbSheet_ = new QLabel(this);
  lbSheet_->setObjectName(QStringLiteral("lbSheet"));
  statusBar()->setObjectName(QStringLiteral("sbPreview"));
  statusBar()->addWidget(lbSheet_);

  connect(loader_, &TPreviewLoader::loaded, this, &TPreviewWindow::Show);
  connect(view_, &TPreviewView::currentSheetChanged, this, &TPreviewWindow::UpdateStatus);
  connect(view_, &TPreviewView::zoomChanged, this, &TPreviewWindow::UpdateZoom);
  connect(cmPaper_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0 && index < static_cast<int>(std::size(kPapers))) {
      Guarded([&] { SetPaper(kPapers[index].kind); });
    }
  });
  connect(zoomOut, &QToolButton::clicked, view_, &TPreviewView::ZoomOut);
  connect(zoomIn, &QToolButton::clicked, view_, &TPreviewView::ZoomIn);
  connect(btFitWid_, &QToolButton::clicked, view_, &TPreviewView::SetFitWidth);
  connect(savePdf, &QToolButton::clicked, this, [this] { Guarded([this] { SavePdfClick(); }); });

  QSize size(780, 900);
  if (const QScreen* screen =
          parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen()) {
    size = size.boundedTo(screen->availableSize() * 9 / 10);
  }
  resize(size);
  UpdateZoom();
  UpdateStatus();
  view_->setFocus();
}

TPreviewWindow::~TPreviewWindow() = default;

void TPreviewWindow::SourceChanged() {
  loader_->SourceChanged();
}

bool TPreviewWindow::Pending() const {
  return loader_->Pending();
}

void TPreviewWindow::SetPaper(PaperKind paper) {
  for (int i = 0; i < static_cast<int>(std::size(kPapers)); ++i) {
    if (kPapers[i].kind == paper && cmPaper_->currentIndex() != i) {
      const QSignalBlocker blocker(cmPaper_);
      cmPaper_->setCurrentIndex(i);
    }
  }
  if (paper != loader_->Paper()) {
    loader_->SetPaper(paper);
    Refresh();
  }
}

void TPreviewWindow::Refresh() {
  loader_->Refresh();
}

void TPreviewWindow::Show(TPreviewDocumentPtr document) {
  const bool complete = document->complete;
  const QString initError = document->initError;
  view_->SetDocument(std::move(document));
  lbInitErr_->setText(QStringLiteral("Строка инициализации с вкладки «Установки» не показана: ") +
                      initError);
  lbInitErr_->setVisible(!initError.isEmpty());
  UpdateStatus();
  if (complete) {
    emit sheetsReady();
  }
}

void TPreviewWindow::UpdateStatus() {
  const TPreviewDocumentPtr& document = view_->Document();
  if (!document) {
    lbSheet_->setText(QStringLiteral("Листы считаются…"));
    return;
  }
  const QString count =
      document->complete ? QString::number(document->SheetCount()) : QStringLiteral("…");
  lbSheet_->setText(QStringLiteral("Лист ") + QString::number(view_->CurrentSheet() + 1) +
                    QStringLiteral(" из ") + count);
}

void TPreviewWindow::UpdateZoom() {
  lbZoom_->setText(QString::number(qRound(view_->Zoom() * 100)) + QStringLiteral(" %"));
  const QSignalBlocker blocker(btFitWid_);
  btFitWid_->setChecked(view_->FitsWidth());
}

void TPreviewWindow::keyPressEvent(QKeyEvent* event) {
  if ((event->modifiers() & Qt::ControlModifier) != 0) {
    switch (event->key()) {
      case Qt::Key_Plus:
      case Qt::Key_Equal:
        view_->ZoomIn();
        return;
      case Qt::Key_Minus:
        view_->ZoomOut();
        return;
      case Qt::Key_0:
        view_->SetFitWidth(true);
        return;
      default:
        break;
    }
  }
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QMainWindow::keyPressEvent(event);
}

void TPreviewWindow::SavePdfClick() {
  // The dialog of the toolkit itself, as for reading texts.
  QFileDialog dialog(this, QStringLiteral("Сохранить в PDF"));
  dialog.setObjectName(QStringLiteral("sdSavePdf"));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("Документы PDF (*.pdf)"));
  dialog.setDefaultSuffix(QStringLiteral("pdf"));
  dialog.setDirectory(pdfFolder_.isEmpty() ? QDir::homePath() : pdfFolder_);
  dialog.selectFile(QStringLiteral("Просмотр печати.pdf"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return;
  }
  const QString path = dialog.selectedFiles().constFirst();
  pdfFolder_ = QFileInfo(path).absolutePath();
  SavePdf(path);
}

bool TPreviewWindow::SavePdf(const QString& path) {
  // What the window is about to show is what gets written.
  const TPreviewDocumentPtr document =
      Pending() || !view_->Document() ? loader_->LoadNow() : view_->Document();
  bool cancelled = false;
  const std::string error = WritePdf(path, *document, this, cancelled);
  if (!error.empty()) {
    ShowErrorMessage("Файл PDF \"" + path.toStdString() + "\" не записан: " + error);
    return false;
  }
  return !cancelled;
}
