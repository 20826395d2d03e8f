#pragma once

#include <QString>
#include <memory>
#include <string>

#include "escp/Interpreter.h"

/// What printing would send now, as the window hands it to the preview: the text to print as
/// the editor holds it, whether a form feed follows, and the settings page's initialisation.
struct TPreviewSubject {
  QString text;           ///< glyphs of code page 866, lines separated by U+2029
  bool formFeed = false;  ///< cbNxPage: a form feed after the text
  std::string init;       ///< the initialisation sequence; empty when the settings are refused
  QString initError;      ///< why the settings cannot be sent; empty when they can
};

/// The sheets the preview shows: the bytes for the printer and where each sheet begins. Made
/// once, never changed; the view lays out a sheet from it when the sheet comes into sight.
struct TPreviewDocument {
  std::string bytes;              ///< initialisation, then the print payload
  pl4120::escp::PageIndex index;  ///< its sheets on the chosen paper
  bool complete = true;           ///< false: only the first sheets are known yet
  QString initError;              ///< see TPreviewSubject

  int SheetCount() const { return static_cast<int>(index.pages.size()); }
};

using TPreviewDocumentPtr = std::shared_ptr<const TPreviewDocument>;

/// The bytes the printer would get: the initialisation sequence, then the text's bytes (line
/// ends CR LF) and the form feed exactly as "Распечатка текста" sends them.
std::string PreviewBytes(const TPreviewSubject& subject);

/// Every sheet of the subject on the paper. Pure, for any thread.
TPreviewDocumentPtr MakePreviewDocument(const TPreviewSubject& subject,
                                        const pl4120::escp::Paper& paper);

/// The sheets that the beginning of a text decides: every sheet that ends within `head` (the
/// subject with only the text's beginning; its form feed is not looked at). Null when not even
/// the first sheet ends within it.
TPreviewDocumentPtr MakeHeadSheets(const TPreviewSubject& head, const pl4120::escp::Paper& paper);
