#pragma once

#include <QObject>
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

/// Turns the preview's source into sheets without holding up the user interface: a short text
/// is laid out at once; a long one is copied from the editor in slices of a few milliseconds
/// between other events and laid out on a worker, and meanwhile its first sheets come at once
/// when nothing of the paper is on show. Every look at the source has a number; sheets that a
/// later look overtook are dropped.
class TPreviewLoader : public QObject {
  Q_OBJECT

 public:
  using Source = std::function<TPreviewSource()>;

  /// A text of up to this many characters is laid out at once, on the user interface thread;
  /// a longer one is copied in pieces of this size.
  static constexpr int kAtOnceChars = 64 * 1024;
  /// The most the copying of a long text takes at a time before other events go on.
  static constexpr int kSliceMs = 4;
  /// The pause after the last change before the loader looks at its source again.
  static constexpr int kFollowDelayMs = 250;

  explicit TPreviewLoader(Source source, QObject* parent = nullptr);

  pl4120::escp::PaperKind Paper() const { return paper_; }
  /// Takes the paper for the next looks (Refresh() shows it).
  void SetPaper(pl4120::escp::PaperKind paper) { paper_ = paper; }

  /// The source has changed: look again after a pause.
  void SourceChanged();
  /// Looks at the source now.
  void Refresh();
  /// Looks at the source now and lays the whole of it out before returning.
  TPreviewDocumentPtr LoadNow();
  /// True until the sheets of the latest look are all delivered.
  bool Pending() const { return shown_ != requested_ || follow_.isActive(); }

 signals:
  /// Sheets of the latest look (all of them when `document->complete`).
  void loaded(TPreviewDocumentPtr document);

 private:
  void Deliver(TPreviewDocumentPtr document, int generation);
  /// Copies the next slice of a long text; the whole copied, its layout starts.
  void ReadOn();
  void StopReading();
  void StartLayout(TPreviewSubject subject);

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
  int requested_ = 0;                                  // the latest look at the source
  int shown_ = 0;                                      // the look whose sheets are all delivered
  std::optional<pl4120::escp::Paper> deliveredPaper_;  // of the last sheets delivered
};
