#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTextDocument>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>

#include "escp/Interpreter.h"
#include "ui/preview/PreviewDocument.h"

/// Where the preview finds what printing would send: the characters [from, to) of the editor's
/// document (the selection or the whole text), whether a form feed follows, and the settings
/// page's initialisation. Handing it over copies no text.
struct TPreviewSource {
  QTextDocument* document = nullptr;
  int from = 0;
  int to = 0;
  bool formFeed = false;
  std::string init;   ///< the initialisation sequence; empty when the settings are refused
  QString initError;  ///< why the settings cannot be sent; empty when they can
};

class QComboBox;
class QLabel;
class QToolButton;
class TPreviewView;

/// The window "Просмотр печати": the sheets that printing would give now, on the paper chosen
/// in the window, with the zoom, the sheet counter "Лист N из M" and "Сохранить в PDF…". It
/// takes what to show from its source (a function of the main window) and follows it: after
/// SourceChanged() it looks again once the changes pause. A long text never holds up the user
/// interface: it is copied from the editor in slices of a few milliseconds between other
/// events, and laid out off the user interface thread; meanwhile its first sheets show at once,
/// or the former sheets stay. When the settings cannot be sent, a line above the sheets says
/// why and the text shows without the initialisation.
///
/// Controls (objectName): cmPaper, btZoomOut, lbZoom, btZoomIn, btFitWid, btSavePdf, the view
/// pvSheets, lbInitErr above it and lbSheet in the status line.
class TPreviewWindow : public QMainWindow {
  Q_OBJECT

 public:
  using Source = std::function<TPreviewSource()>;

  /// A text of up to this many characters is laid out at once, on the user interface thread;
  /// a longer one is copied in pieces of this size.
  static constexpr int kAtOnceChars = 64 * 1024;
  /// The most the copying of a long text takes at a time before other events go on.
  static constexpr int kSliceMs = 4;
  /// The pause after the last change before the window looks at its source again.
  static constexpr int kFollowDelayMs = 250;

  explicit TPreviewWindow(Source source, QWidget* parent = nullptr);
  ~TPreviewWindow() override;

  /// The source has changed: look again after a pause.
  void SourceChanged();
  /// Looks at the source now.
  void Refresh();
  /// True until the sheets of the latest look at the source are all on show.
  bool Pending() const;

  pl4120::escp::PaperKind Paper() const { return paper_; }
  void SetPaper(pl4120::escp::PaperKind paper);

  TPreviewView* View() const { return view_; }

  /// Writes every sheet of what the window shows (brought up to date first) to a PDF file at
  /// `path`, replacing it in one step. On failure an error box says why, and nothing new is
  /// left in the folder. True when written.
  bool SavePdf(const QString& path);

 signals:
  /// The sheets of the latest look at the source are all on show.
  void sheetsReady();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Show(TPreviewDocumentPtr document, int generation);
  /// The source's text in one piece, and everything else it says.
  TPreviewSubject WholeSubject();
  /// Copies the next slice of a long text; the whole copied, its layout starts.
  void ReadOn();
  void StopReading();
  void StartLayout(TPreviewSubject subject);
  /// "Сохранить в PDF…": the file dialog, then SavePdf.
  void SavePdfClick();
  void UpdateStatus();
  void UpdateZoom();

  Source source_;
  pl4120::escp::PaperKind paper_ = pl4120::escp::PaperKind::A4;
  QTimer follow_;
  QTimer reader_;  // the next slice of a long text
  /// A long text being copied.
  struct Reading {
    QPointer<QTextDocument> document;
    int next = 0;
    int to = 0;
    TPreviewSubject subject;
  };
  std::optional<Reading> reading_;
  int requested_ = 0;  // the latest look at the source
  int shown_ = 0;      // the look whose sheets are all on show

  TPreviewView* view_ = nullptr;
  QComboBox* cmPaper_ = nullptr;
  QToolButton* btFitWid_ = nullptr;
  QLabel* lbZoom_ = nullptr;
  QLabel* lbSheet_ = nullptr;
  QLabel* lbInitErr_ = nullptr;
  QString pdfFolder_;  // where the last PDF was written
};
