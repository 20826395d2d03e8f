#include "ui/preview/PreviewLoader.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QPromise>
#include <QTextCursor>
#include <QThreadPool>
#include <memory>
#include <utility>

#include "ui/widgets/ErrorBox.h"

namespace {

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

}  // namespace

TPreviewLoader::TPreviewLoader(Source source, QObject* parent)
    : QObject(parent), source_(std::move(source)) {
  follow_.setSingleShot(true);
  follow_.setInterval(kFollowDelayMs);
  connect(&follow_, &QTimer::timeout, this, [this] { Guarded([this] { Refresh(); }); });
  reader_.setSingleShot(true);
  reader_.setInterval(0);
  connect(&reader_, &QTimer::timeout, this, [this] { Guarded([this] { ReadOn(); }); });
}

void TPreviewLoader::SourceChanged() {
  StopReading();  // the places it was copying from may have moved
  follow_.start();
}

void TPreviewLoader::Refresh() {
  follow_.stop();
  StopReading();
  TPreviewSource source = source_();
  const int generation = ++requested_;
  const pl4120::escp::Paper paper = pl4120::escp::Paper::Of(paper_);
  TPreviewSubject subject = SubjectOf(source);
  if (source.to - source.from <= kAtOnceChars) {
    subject.text = TextOf(source.document, source.from, source.to);
    Deliver(MakePreviewDocument(subject, paper), generation);
    return;
  }
  // A long text: its first sheets at once when nothing of this paper is on show, so that the
  // window never waits for the whole text; the former sheets stay until the new ones are known.
  subject.text = TextOf(source.document, source.from, source.from + kAtOnceChars);
  if (deliveredPaper_ != paper) {
    if (TPreviewDocumentPtr head = MakeHeadSheets(subject, paper)) {
      Deliver(std::move(head), generation);
    }
  }
  subject.text.reserve(source.to - source.from);
  reading_ = Reading{source.document, source.from + kAtOnceChars, source.to, std::move(subject)};
  reader_.start();
}

TPreviewDocumentPtr TPreviewLoader::LoadNow() {
  follow_.stop();
  StopReading();
  const int generation = ++requested_;
  TPreviewSource source = source_();
  TPreviewSubject subject = SubjectOf(source);
  subject.text = TextOf(source.document, source.from, source.to);
  TPreviewDocumentPtr document = MakePreviewDocument(subject, pl4120::escp::Paper::Of(paper_));
  Deliver(document, generation);
  return document;
}

void TPreviewLoader::ReadOn() {
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

void TPreviewLoader::StopReading() {
  reader_.stop();
  reading_.reset();
}

void TPreviewLoader::StartLayout(TPreviewSubject subject) {
  const int generation = requested_;
  const pl4120::escp::Paper paper = pl4120::escp::Paper::Of(paper_);
  auto promise = std::make_shared<QPromise<TPreviewDocumentPtr>>();
  auto* watcher = new QFutureWatcher<TPreviewDocumentPtr>(this);
  connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
    const QFuture<TPreviewDocumentPtr> future = watcher->future();
    // A result that a later look at the source has overtaken is dropped.
    if (generation == requested_ && future.resultCount() > 0) {
      Deliver(future.result(), generation);
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

void TPreviewLoader::Deliver(TPreviewDocumentPtr document, int generation) {
  deliveredPaper_ = document->index.paper;
  if (document->complete) {
    shown_ = generation;
  }
  emit loaded(std::move(document));
}
