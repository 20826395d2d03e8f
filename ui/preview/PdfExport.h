#pragma once

#include <QString>
#include <string>

#include "ui/preview/PreviewDocument.h"

class QWidget;

/// Writes every sheet of `document` to a PDF file at `path` (a name as the user sees it),
/// replacing it in one step; the text stays vector text. Writing many sheets shows its
/// progress over `owner` and can be cancelled. Returns the reason of a failure (Russian,
/// without a final period), or an empty string; `cancelled` tells a cancel, which writes
/// nothing and is no failure.
std::string WritePdf(const QString& path, const TPreviewDocument& document, QWidget* owner,
                     bool& cancelled);
