#pragma once
// decor-cli quote --xlsx / --pdf: the quotation saved as files beside the printed rows.
#include <iosfwd>
#include <optional>
#include <string>

#include "quotation/quotation_session.h"

namespace decor::cli {

// A build without Qt (the Windows command-line build of CI) cannot draw PDF pages.
inline constexpr const char* kNoPdfInThisBuild = "此版本的 decor-cli 不能保存 PDF，--pdf 文件未保存";

struct QuoteFiles {
  std::optional<std::string> xlsx;
  std::optional<std::string> pdf;
};

// Saves the files asked for, dated today, with the compiled-in company data. Reports each
// failure on `err`; returns false when any file could not be saved.
bool saveQuoteFiles(const QuotationSession& session, const QuoteFiles& files, std::ostream& err);

}  // namespace decor::cli
