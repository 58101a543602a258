#pragma once
// One itemised quotation from request to document: the rooms, grade, package and floor it was
// asked for, and its table. The quotation window and `decor-cli quote` both work through it,
// so a full package always gets its main materials and every command recomputes the totals
// the way the package asks, whoever calls.
//
// A session is a plain value: copy it to compute on a worker and hand the copy back.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "export/quote_document.h"
#include "pricing/price_table.h"
#include "quotation_rows/quote_build.h"
#include "quotation_rows/quote_commands.h"
#include "quotation_rows/quote_table.h"

namespace decor {

class QuotationSession {
 public:
  explicit QuotationSession(QuoteRequest request, QuoteTable table = {});

  const QuoteRequest& request() const { return request_; }
  PackageScope scope() const { return request_.scope; }
  // The quotation window's caption and the documents' title.
  std::string_view caption() const { return quoteCaption(request_.scope); }

  const QuoteTable& table() const { return table_; }
  QuoteTable takeTable() && { return std::move(table_); }

  // Builds the table afresh: the rooms' works and the fee block, then for a full package the
  // main materials and the full-package total. Refused, leaving the table empty, when a room
  // cannot be read. `listener` hears every row as it is appended.
  QuoteBuildResult build(const ItemPrices& prices, QuoteTable::RowListener listener = {});

  // 修改, 删除此项 and 添加项 on the row `selected` (nothing selects no row).
  void modify(std::optional<std::size_t> selected, const ItemEdit& edit);
  void remove(std::optional<std::size_t> selected);
  void add(const AddedItem& item);

  // The quotation as it leaves the program, dated `date` ("2026-12-08").
  QuoteDocument document(CompanyContact company, std::string date) const;

 private:
  QuoteRequest request_;
  QuoteTable table_;
};

}  // namespace decor
