#include "cli/quote_files.h"

#include <ostream>
#include <utility>

#include "export/quote_document.h"
#include "deployment/endpoints.h"
#ifdef DECOR_HAVE_PDF
#include "export_pdf/gui_application.h"
#include "export_pdf/quote_file.h"
#else
#include "export/xlsx_export.h"
#endif

namespace decor::cli {

bool saveQuoteFiles(const QuotationSession& session, const QuoteFiles& files, std::ostream& err) {
  const QuoteDocument document = session.document(CompanyContact::from(Endpoints::compiledIn()), todayIsoDate());
  std::vector<std::pair<QuoteFileFormat, std::string>> wanted;
  if (files.xlsx) wanted.emplace_back(QuoteFileFormat::Excel, *files.xlsx);
  if (files.pdf) wanted.emplace_back(QuoteFileFormat::Pdf, *files.pdf);
#ifdef DECOR_HAVE_PDF
  // Text on pages needs Qt's font machinery; it runs headless, no display wanted.
  const auto application = files.pdf ? startHeadlessGuiApplication() : nullptr;
#endif
  bool saved = true;
  for (const auto& [format, path] : wanted) {
#ifdef DECOR_HAVE_PDF
    const std::string failure = saveQuoteFile(document, format, path);
#else
    const std::string failure = format == QuoteFileFormat::Excel ? saveQuoteWorkbook(document, path) : kNoPdfInThisBuild;
#endif
    if (!failure.empty()) {
      err << "decor-cli quote: " << failure << '\n';
      saved = false;
    }
  }
  return saved;
}

}  // namespace decor::cli
