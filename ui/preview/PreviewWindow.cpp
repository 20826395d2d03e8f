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

#include "printer/DeviceErrors.h"
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

// A PDF page is drawn at this many dots an inch; the text in it stays vector text.
constexpr int kPdfDpi = 720;
// Writing more sheets than this shows its progress and can be cancelled.
constexpr int kProgressFromSheets = 200;

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

// The characters [from, to) of a document as the print command reads a selection: raw glyphs,
// U+2029 between lines.
QString TextOf(QTextDocument* document, int from, int to) {
  if (document == nullptr || to <= from) {
    return {};
  }
  QTextCursor cursor(document);
  cursor.setPosition(from);
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  return cursor.selectedText();
}

TPreviewSubject SubjectOf(TPreviewSource& source) {
  TPreviewSubject subject;
  subject.formFeed = source.formFeed;
  subject.init = std::move(source.init);
  subject.initError = std::move(source.initError);
  return subject;
}

QToolButton* ToolButton(const char* name, const char* caption, QToolBar* bar) {
  auto* button = new QToolButton(bar);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(Utf8(caption));
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  bar->addWidget(button);
  return button;
}

// Puts `data` at `path` through a new file beside it that is renamed over the path once it is
// complete, so that the path never holds part of a file; on any failure the new file goes
// again. Empty when written, else the reason.
std::string ReplaceFile(const QString& path, const QByteArray& data) {
  const QFileInfo info(path);
  const QByteArray target = QFile::encodeName(info.absoluteFilePath());
  QByteArray temporary = QFile::encodeName(info.absolutePath()) + "/." +
                         QFile::encodeName(info.fileName()) + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    return pl4120::RussianErrorText(errno);
  }
  const auto fail = [&](int error, bool open) {
    if (open) {
      ::close(fd);
    }
    ::unlink(temporary.constData());
    return pl4120::RussianErrorText(error);
  };
  const char* p = data.constData();
  qsizetype left = data.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, p, static_cast<std::size_t>(left));
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return fail(errno, true);
    }
    p += written;
    left -= written;
  }
  // The new file gets the permissions an ordinary new file would get.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  if (::fchmod(fd, 0666 & ~mask) != 0 || (::fsync(fd) != 0 && errno != EINVAL)) {
    return fail(errno, true);
  }
  if (::close(fd) != 0) {
    return fail(errno, false);
  }
  if (::rename(temporary.constData(), target.constData()) != 0) {
    return fail(errno, false);
  }
  return {};
}

}  // namespace

TPreviewWindow::TPreviewWindow(Source source, QWidget* parent)
    : QMainWindow(parent), source_(std::move(source)) {
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

  follow_.setSingleShot(true);
  follow_.setInterval(kFollowDelayMs);
  connect(&follow_, &QTimer::timeout, this, [this] { Guarded([this] { Refresh(); }); });
  reader_.setSingleShot(true);
  reader_.setInterval(0);
  connect(&reader_, &QTimer::timeout, this, [this] { Guarded([this] { ReadOn(); }); });
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
  StopReading();  // the places it was copying from may have moved
  follow_.start();
}

bool TPreviewWindow::Pending() const {
  return shown_ != requested_ || follow_.isActive();
}

void TPreviewWindow::SetPaper(PaperKind paper) {
  for (int i = 0; i < static_cast<int>(std::size(kPapers)); ++i) {
    if (kPapers[i].kind == paper && cmPaper_->currentIndex() != i) {
      const QSignalBlocker blocker(cmPaper_);
      cmPaper_->setCurrentIndex(i);
    }
  }
  if (paper != paper_) {
    paper_ = paper;
    Refresh();
  }
}

void TPreviewWindow::Refresh() {
  follow_.stop();
  StopReading();
  TPreviewSource source = source_();
  const int generation = ++requested_;
  const pl4120::escp::Paper paper = pl4120::escp::Paper::Of(paper_);
  TPreviewSubject subject = SubjectOf(source);
  if (source.to - source.from <= kAtOnceChars) {
    subject.text = TextOf(source.document, source.from, source.to);
    Show(MakePreviewDocument(subject, paper), generation);
    return;
  }
  // A long text: its first sheets at once when nothing of this paper is on show, so that the
  // window never waits for the whole text; the former sheets stay until the new ones are known.
  subject.text = TextOf(source.document, source.from, source.from + kAtOnceChars);
  const TPreviewDocumentPtr& shown = view_->Document();
  if (!shown || shown->index.paper != paper) {
    if (TPreviewDocumentPtr head = MakeHeadSheets(subject, paper)) {
      Show(std::move(head), generation);
    }
  }
  subject.text.reserve(source.to - source.from);
  reading_ = Reading{source.document, source.from + kAtOnceChars, source.to, std::move(subject)};
  reader_.start();
}

TPreviewSubject TPreviewWindow::WholeSubject() {
  TPreviewSource source = source_();
  TPreviewSubject subject = SubjectOf(source);
  subject.text = TextOf(source.document, source.from, source.to);
  return subject;
}

void TPreviewWindow::ReadOn() {
  if (!reading_ || reading_->document.isNull()) {
    reading_.reset();
    return;
  }
  QElapsedTimer slice;
  slice.start();
  while (reading_->next < reading_->to && slice.elapsed() < kSliceMs) {
    const int end = std::min(reading_->to, reading_->next + kAtOnceChars);
    reading_->subject.text += TextOf(reading_->document, reading_->next, end);
    reading_->next = end;
  }
  if (reading_->next < reading_->to) {
    reader_.start();
    return;
  }
  TPreviewSubject subject = std::move(reading_->subject);
  reading_.reset();
  StartLayout(std::move(subject));
}

void TPreviewWindow::StopReading() {
  reader_.stop();
  reading_.reset();
}

void TPreviewWindow::StartLayout(TPreviewSubject subject) {
  const int generation = requested_;
  const pl4120::escp::Paper paper = pl4120::escp::Paper::Of(paper_);
  auto promise = std::make_shared<QPromise<TPreviewDocumentPtr>>();
  auto* watcher = new QFutureWatcher<TPreviewDocumentPtr>(this);
  connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
    const QFuture<TPreviewDocumentPtr> future = watcher->future();
    // A result that a later look at the source has overtaken is dropped.
    if (generation == requested_ && future.resultCount() > 0) {
      Show(future.result(), generation);
    }
    watcher->deleteLater();
  });
  watcher->setFuture(promise->future());
  promise->start();
  QThreadPool::globalInstance()->start([promise, subject = std::move(subject), paper] {
    try {
      promise->addResult(MakePreviewDocument(subject, paper));
    } catch (...) {
      // No result: the sheets on show stay.
    }
    promise->finish();
  });
}

void TPreviewWindow::Show(TPreviewDocumentPtr document, int generation) {
  const bool complete = document->complete;
  const QString initError = document->initError;
  view_->SetDocument(std::move(document));
  lbInitErr_->setText(QStringLiteral("Строка инициализации с вкладки «Установки» не показана: ") +
                      initError);
  lbInitErr_->setVisible(!initError.isEmpty());
  if (complete) {
    shown_ = generation;
  }
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
  if (Pending() || !view_->Document()) {
    // What the window is about to show is what gets written.
    follow_.stop();
    StopReading();
    const int generation = ++requested_;
    Show(MakePreviewDocument(WholeSubject(), pl4120::escp::Paper::Of(paper_)), generation);
  }
  const TPreviewDocumentPtr document = view_->Document();
  const pl4120::escp::Paper& paper = document->index.paper;
  const int sheets = document->SheetCount();

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
      ShowErrorMessage("Файл PDF \"" + path.toStdString() + "\" не записан: не удалось начать PDF");
      return false;
    }
    std::unique_ptr<QProgressDialog> progress;
    if (sheets > kProgressFromSheets) {
      progress = std::make_unique<QProgressDialog>(QStringLiteral("Запись PDF…"),
                                                   QStringLiteral("Отмена"), 0, sheets, this);
      progress->setWindowModality(Qt::WindowModal);
    }
    const TSheetPainter sheetPainter;
    const QRectF sheet(0, 0, paper.width / 360.0 * kPdfDpi, paper.height / 216.0 * kPdfDpi);
    for (int i = 0; i < sheets; ++i) {
      if (i > 0) {
        writer.newPage();
      }
      const pl4120::escp::Page page =
          pl4120::escp::LayoutPage(document->bytes, document->index, static_cast<std::size_t>(i));
      sheetPainter.Draw(painter, sheet, page, document->bytes, paper);
      if (progress) {
        progress->setValue(i + 1);
        if (progress->wasCanceled()) {
          painter.end();
          return false;  // nothing has been written yet
        }
      }
    }
    painter.end();
  }
  const std::string error = ReplaceFile(path, pdf.data());
  if (!error.empty()) {
    ShowErrorMessage("Файл PDF \"" + path.toStdString() + "\" не записан: " + error);
    return false;
  }
  return true;
}
