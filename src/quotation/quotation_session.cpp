#include "quotation/quotation_session.h"

#include <utility>

#include "full_package/main_materials.h"

namespace decor {

QuotationSession::QuotationSession(QuoteRequest request, QuoteTable table)
    : request_(std::move(request)), table_(std::move(table)) {}

QuoteBuildResult QuotationSession::build(const ItemPrices& prices, QuoteTable::RowListener listener) {
  table_ = QuoteTable{};
  table_.setRowListener(std::move(listener));
  const QuoteBuildResult result = buildRoomWorksAndFees(request_, prices, table_);
  if (result.built() && request_.scope == PackageScope::Full) appendMainMaterialPart(request_, prices, table_);
  // The listener may capture what only lives for the build.
  table_.setRowListener({});
  return result;
}

void QuotationSession::modify(std::optional<std::size_t> selected, const ItemEdit& edit) {
  modifyRow(table_, selected, edit, request_.scope);
}

void QuotationSession::remove(std::optional<std::size_t> selected) { deleteRow(table_, selected); }

void QuotationSession::add(const AddedItem& item) { addItem(table_, item, request_.scope); }

QuoteDocument QuotationSession::document(CompanyContact company, std::string date) const {
  return QuoteDocument{.caption = std::string(caption()),
                       .date = std::move(date),
                       .rows = table_.rows(),
                       .company = std::move(company),
                       .request = request_};
}

}  // namespace decor
