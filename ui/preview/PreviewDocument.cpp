#include "ui/preview/PreviewDocument.h"

#include <QStringView>
#include <string_view>
#include <utility>

#include "text/Cp866.h"
#include "text/PrintPayload.h"

namespace {

std::u16string_view View(QStringView text) {
  return {text.utf16(), static_cast<std::size_t>(text.size())};
}

std::string Bytes(const TPreviewSubject& subject, QStringView text, bool formFeed) {
  std::string bytes = subject.init;
  bytes.reserve(bytes.size() + static_cast<std::size_t>(text.size()) + 1);
  pl4120::EncodeCp866Text(View(text), bytes);
  // The payload after the initialisation, as printing makes it.
  return pl4120::PrintPayload(std::move(bytes), formFeed);
}

}  // namespace

std::string PreviewBytes(const TPreviewSubject& subject) {
  return Bytes(subject, subject.text, subject.formFeed);
}

TPreviewDocumentPtr MakePreviewDocument(const TPreviewSubject& subject,
                                        const pl4120::escp::Paper& paper) {
  auto document = std::make_shared<TPreviewDocument>();
  document->bytes = PreviewBytes(subject);
  document->index = pl4120::escp::IndexPages(document->bytes, paper);
  document->initError = subject.initError;
  return document;
}

TPreviewDocumentPtr MakeHeadSheets(const TPreviewSubject& head, const pl4120::escp::Paper& paper) {
  // A sheet that ends within the head is laid out from it exactly as from the whole; the last
  // sheet of the head may go on past it and is left out.
  auto document = std::make_shared<TPreviewDocument>();
  document->bytes = Bytes(head, head.text, false);
  document->index = pl4120::escp::IndexPages(document->bytes, paper);
  document->index.pages.pop_back();
  if (document->index.pages.empty()) {
    return nullptr;
  }
  document->complete = false;
  document->initError = head.initError;
  return document;
}
