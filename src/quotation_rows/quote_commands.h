#pragma once
// The commands of the quotation window as functions on the table: 修改, 删除此项 and adding an
// item by hand. Each leaves the totals recomputed the way the window shows them.
//
// `selected` is the row the list has selected; nothing, or an index past the end, means no
// row is selected. `mode` is the quotation's package.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "quotation_rows/quote_build.h"
#include "quotation_rows/quote_table.h"

namespace decor {

// The detail panel's four boxes.
struct ItemEdit {
  std::string name;
  std::string unit;
  std::string quantity;
  std::string unitPrice;

  bool operator==(const ItemEdit&) const = default;
};

// 修改: writes the panel into the selected row with 总计 = 数量 × 单价 (for a fee row, also
// × works subtotal / 100), then in a half package recomputes the last row, in a full package
// takes off the trailing blank row and 全包总价格 and appends the full-package total anew.
// Taking off stops at a row with a name other than 全包总价格, so a main-material row left
// last by an earlier deletion is kept.
void modifyRow(QuoteTable& table, std::optional<std::size_t> selected, const ItemEdit& edit, PackageScope mode);

// 删除此项: deletes the selected row, whatever it is, then recomputes the last row.
void deleteRow(QuoteTable& table, std::optional<std::size_t> selected);

// The three boxes of the add-item window.
struct AddedItem {
  std::string name;
  std::string quantity;
  std::string unitPrice;

  bool operator==(const AddedItem&) const = default;
};

inline constexpr std::string_view kAddedItemNumber = "-";
inline constexpr std::string_view kAddedItemUnit = "增";

// 确定添加: cuts the table back to the rows above 其它的, puts the item into the block of
// hand-added items (opened after a blank row, closed by one), and appends the fee block and
// 工程总造价 anew. In a full package the main-material rows that followed the old 工程总造价
// come back after the new one, and the full-package total is appended anew.
void addItem(QuoteTable& table, const AddedItem& item, PackageScope mode);

// What the add-item window offers, in its order, and the texts its three boxes open with
// (the name and price are no item of the list; the boxes hold them as typed text).
inline constexpr std::array<std::string_view, 18> kAddItemNameChoices{
    "铲墙面",   "双包门套", "工艺鞋柜", "石膏板吊顶", "鞋柜隔断制作", "墙体拆除", "粉缺口",     "墙地砖铺贴", "包水管",
    "封门头",   "清水漆",   "防水工程", "无门衣柜",   "有门吊柜",     "地面找平", "电视背景墙", "铝扣板吊顶", "单包门套"};
inline constexpr std::array<std::string_view, 7> kAddItemQuantityChoices{"1", "2", "5", "10", "20", "50", "100"};
inline constexpr std::array<std::string_view, 8> kAddItemPriceChoices{"10",  "20",   "50",   "100",
                                                                      "200", "500", "1000", "2000"};
inline constexpr std::string_view kAddItemInitialName = "包水管";
inline constexpr std::string_view kAddItemInitialQuantity = "1";
inline constexpr std::string_view kAddItemInitialPrice = "98";

struct AddItemDefault {
  std::string_view name;
  std::string_view unitPrice;
};

// The unit prices the add-item window writes when an item is picked. 双包门套, 墙地砖铺贴 and
// 单包门套 have none.
inline constexpr std::array<AddItemDefault, 15> kAddItemDefaults{{
    {"工艺鞋柜", "550"},
    {"鞋柜隔断制作", "460"},
    {"墙体拆除", "150"},
    {"粉缺口", "80"},
    {"包水管", "75"},
    {"封门头", "150"},
    {"清水漆", "44.5"},
    {"防水工程", "45"},
    {"无门衣柜", "420"},
    {"有门吊柜", "450"},
    {"地面找平", "250"},
    {"电视背景墙", "850"},
    {"石膏板吊顶", "95"},
    {"铝扣板吊顶", "95"},
    {"铲墙面", "8"},
}};

std::optional<std::string_view> addItemDefaultPrice(std::string_view name);

}  // namespace decor
