#pragma once

#include <QMainWindow>
#include <QString>

#include "escp/Interpreter.h"
#include "ui/preview/PreviewLoader.h"

class QComboBox;
class QLabel;
class QToolButton;
class TPreviewView;

/// The window "Просмотр печати": the sheets that printing would give now, on the paper chosen
/// in the window, with the zoom, the sheet counter "Лист N из M" and "Сохранить в PDF…". It
/// takes what to show from its source (a function of the main window) and follows it: after
/// SourceChanged() it looks again once the changes pause. Its loader keeps a long text from
/// holding up the user interface. When the settings cannot be sent, a line above the sheets
/// says why and the text shows without the initialisation.
///
/// Controls (objectName): cmPaper, btZoomOut, lbZoom, btZoomIn, btFitWid, btSavePdf, the view
/// pvSheets, lbInitErr above it and lbSheet in the status line.
class TPreviewWindow : public QMainWindow {
  Q_OBJECT

 public:
  using Source = TPreviewLoader::Source;

  explicit TPreviewWindow(Source source, QWidget* parent = nullptr);
  ~TPreviewWindow() override;

  /// The source has changed: look again after a pause.
  void SourceChanged();
  /// Looks at the source now.
  void Refresh();
  /// True until the sheets of the latest look at the source are all on show.
  bool Pending() const;

  pl4120::escp::PaperKind Paper() const { return loader_->Paper(); }
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
  void Show(TPreviewDocumentPtr document);
  /// "Сохранить в PDF…": the file dialog, then SavePdf.
  void SavePdfClick();
  void UpdateStatus();
  void UpdateZoom();

  TPreviewLoader* loader_ = nullptr;
  TPreviewView* view_ = nullptr;
  QComboBox* cmPaper_ = nullptr;
  QToolButton* btFitWid_ = nullptr;
  QLabel* lbZoom_ = nullptr;
  QLabel* lbSheet_ = nullptr;
  QLabel* lbInitErr_ = nullptr;
  QString pdfFolder_;  // where the last PDF was written
};
