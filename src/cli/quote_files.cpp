#include "cli/quote_files.h"

#include <ostream>

#include "export/quote_document.h"
#include "export/xlsx_export.h"
#include "net/endpoints.h"
#ifdef DECOR_HAVE_PDF
#include "export_pdf/gui_application.h"
#include "export_pdf/quote_pages.h"
#endif

namespace decor::cli {

bool saveQuoteFiles(const QuoteTable& table, const std::string& caption, const QuoteFiles& files, std::ostream& err) {
  const QuoteDocument document{.caption = caption,
                               .date = todayIsoDate(),
                               .rows = table.rows(),
                               .company = CompanyContact::from(Endpoints::compiledIn())};
  bool saved = true;
  if (files.xlsx) {
    if (const std::string failure = saveQuoteWorkbook(document, *files.xlsx); !failure.empty()) {
      err << "decor-cli quote: " << failure << '\n';
      saved = false;
    }
  }
  if (files.pdf) {
#ifdef DECOR_HAVE_PDF
    // Text on pages needs Qt's font machinery; it runs headless, no display wanted.
    const auto application = startHeadlessGuiApplication();
    if (const std::string failure = saveQuotePdf(document, *files.pdf); !failure.empty()) {
      err << "decor-cli quote: " << failure << '\n';
      saved = false;
    }
#else
    err << "decor-cli quote: " << kNoPdfInThisBuild << '\n';
    saved = false;
#endif
  }
  return saved;
}

}  // namespace decor::cli
