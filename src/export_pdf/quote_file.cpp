#include "export_pdf/quote_file.h"

#include "export/xlsx_export.h"
#include "export_pdf/quote_pages.h"

namespace decor {

std::string saveQuoteFile(const QuoteDocument& document, QuoteFileFormat format, const std::string& path) {
  switch (format) {
    case QuoteFileFormat::Excel: return saveQuoteWorkbook(document, path);
    case QuoteFileFormat::Pdf: return saveQuotePdf(document, path);
  }
  return {};
}

}  // namespace decor
