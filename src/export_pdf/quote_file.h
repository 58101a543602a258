#pragma once
// Saving a quotation in the form the user chose, for the quotation window and decor-cli alike.
#include <string>

#include "export/quote_document.h"

namespace decor {

// The workbook or the PDF file at `path`, written through a temporary file so that a failure
// leaves an earlier file as it was. A PDF needs a QGuiApplication. Returns a message for the
// user, empty when the file was saved.
std::string saveQuoteFile(const QuoteDocument& document, QuoteFileFormat format, const std::string& path);

}  // namespace decor
