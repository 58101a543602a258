#pragma once
// What the quotation window shows when a row is clicked: the row's texts in the detail
// panel and the workmanship description of the item in the description label.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "quotation_rows/quote_table.h"

namespace decor {

struct ItemDescription {
  enum class Match { Name, LastCharacter };
  Match match;
  std::string_view text;  // the name, or the last character of the name
  std::string_view description;
};

// Compared in this order; a later match replaces an earlier one.
const std::vector<ItemDescription>& itemDescriptionTable();

// The description of an item name, or nothing when no entry matches.
std::optional<std::string_view> itemDescription(std::string_view itemName);

// The label text after a click on a row named `itemName`: its description, or the label
// as it was when the name has none.
std::string descriptionLabelAfterClick(std::string_view itemName, std::string_view currentLabel);

// The four texts of the detail panel: 项目名称, 单位, 数量, 单价.
struct DetailPanel {
  std::string name;
  std::string unit;
  std::string quantity;
  std::string unitPrice;

  bool operator==(const DetailPanel&) const = default;
};

DetailPanel detailPanelFor(const QuoteItem& row);

}  // namespace decor
