#pragma once
// The quick estimate as the API takes and answers it: the main window's seven inputs in,
// the result window's text out, with the four prices picked out of it for the page.
#include <array>
#include <cstddef>
#include <string>
#include <variant>

#include "estimate/quick_estimate.h"
#include "json/json.h"
#include "pricing/price_table.h"
#include "server/web/api_conventions.h"

namespace decor::web {

// bedrooms, halls, kitchens, bathrooms, balconies: integers 0 to 9, as the window's lists
// offer; area: a string read by the text-to-number rule (a number is taken as its text),
// within what the estimator accepts; grade: one of the five grade texts.
std::variant<QuickEstimateInput, ApiError> readEstimateInput(const json::Value& body);

struct EstimateAnswer {
  std::string text;  // exactly what the result window shows, CR LF line ends
  // The four prices (half package wooden floor, half tiles, full wooden floor, full tiles) as
  // the text prints them, and the line of the text that carries each (counting from 0).
  std::array<std::string, 4> prices;
  std::array<std::size_t, 4> priceLines{};
};

EstimateAnswer computeEstimate(const QuickEstimateInput& input, const EstimatePrices& prices);

// {"text": …, "prices": [{"line": n, "amount": "…"}, …]}
json::Value estimateJson(const EstimateAnswer& answer);

}  // namespace decor::web
