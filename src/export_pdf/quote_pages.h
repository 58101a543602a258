#pragma once
// The quotation drawn on pages: the same painting fills a PDF file and a printer. A running
// head with the company's name, the title and the date on the first page, the column header
// on every page, the rows with headings and totals in bold, and a footer with the hotline,
// the website and "第 N 页 / 共 M 页".
#include <QByteArray>
#include <string>

#include "export/page_plan.h"
#include "export/quote_document.h"

class QPagedPaintDevice;

namespace decor {

// Paints every page onto `device`, which has its page size and orientation set; the layout
// keeps its own margins whatever the device's are. A QGuiApplication must exist. False when
// the device cannot be painted on.
bool paintQuotePages(QPagedPaintDevice& device, const QuoteDocument& document);

// The PDF file's bytes; empty when it could not be made.
QByteArray renderQuotePdf(const QuoteDocument& document);

// The pages planned for the device's page size.
PageGeometry pageGeometryFor(const QPagedPaintDevice& device);

// Writes an A4 PDF to `path`. Returns the reason for a failure, empty on success.
std::string writeQuotePdf(const QuoteDocument& document, const std::string& path);

// Through a temporary file, as saveQuoteWorkbook. Returns a message for the user.
std::string saveQuotePdf(const QuoteDocument& document, const std::string& path);

}  // namespace decor
