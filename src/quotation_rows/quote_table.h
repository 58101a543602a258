#pragma once
// The quotation table: rows of six texts, filled by the quote build and later edited in the
// quotation window. Every computation re-reads the texts it needs, so a figure keeps the
// digits it was printed with.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "quotation_rows/column_format.h"

namespace decor {

struct QuoteItem {
  std::string number;     // 序号
  std::string name;       // 项目名称
  std::string unit;       // 单位
  std::string quantity;   // 数量
  std::string unitPrice;  // 单价
  std::string total;      // 总计

  bool operator==(const QuoteItem&) const = default;
};

inline constexpr std::array<ColumnFormat, 6> kQuoteColumns{{
    {"序号", 50, ColumnAlignment::Left},
    {"项目名称", 200, ColumnAlignment::Left},
    {"单位", 50, ColumnAlignment::Right},
    {"数量", 80, ColumnAlignment::Right},
    {"单价", 120, ColumnAlignment::Right},
    {"总计", 120, ColumnAlignment::Right},
}};
inline constexpr std::size_t kQuoteNameColumn = 1;  // 项目名称

// A row's cells in the column order of kQuoteColumns: the one place that order is written.
std::vector<std::string_view> rowCells(const QuoteItem& row);

// How an item row writes 数量 × 单价 into 总计.
enum class TotalRule {
  WholeNumber,      // the double product truncated toward zero
  SinglePrecision,  // the product rounded to float, "%.6g"
};

class QuoteTable {
 public:
  // Called with every row as it is appended, complete, so that a window can show the rows
  // while the build is still running. It runs on the thread that appends; the table itself
  // is not shared between threads, so a window copies the row and hands the copy to its own
  // thread.
  using RowListener = std::function<void(std::size_t index, const QuoteItem& row)>;
  void setRowListener(RowListener listener) { listener_ = std::move(listener); }

  // A priced row, numbered after the row above it: one more than its 序号 when that row has
  // a name, none after a nameless row (a blank row or the start of the table).
  void appendItemRow(std::string_view name, std::string_view unit, std::string quantity, std::string unitPrice,
                     TotalRule rule);
  // A row with its name only: a room's header, the fee block's heading, a package's heading.
  void appendHeading(std::string_view name);
  void appendBlankRow();
  // Any row as it is given (fee and total rows).
  void appendRow(QuoteItem row);

  // Edits in place; the row listener hears of appends only. Like removeRow and truncate, an
  // index past the end changes nothing: the commands pass only rows they have checked, and a
  // wrong index is a fault their row-by-row tests show, not a reason to stop the program.
  void setRow(std::size_t index, QuoteItem row);
  void setTotal(std::size_t index, std::string total);
  void removeRow(std::size_t index);
  // Keeps the first `count` rows.
  void truncate(std::size_t count);

  const std::vector<QuoteItem>& rows() const { return rows_; }
  std::size_t size() const { return rows_.size(); }
  const QuoteItem& operator[](std::size_t index) const { return rows_[index]; }

 private:
  std::vector<QuoteItem> rows_;
  RowListener listener_;
};

// 总计 of an item row from its 数量 and 单价 texts.
std::string itemTotal(std::string_view quantity, std::string_view unitPrice, TotalRule rule);

// The running sum of the 总计 cells of rows [0, end): rows with an empty 总计 are skipped,
// and the sum is truncated toward zero after every addition.
std::int32_t truncatingTotalSum(const std::vector<QuoteItem>& rows, std::size_t end);

// Whether a 总计 of the table reads as 2147483647 or -2147483648 or beyond: a whole-number
// total (an item's, or a sum such as the project total) that hit the ends of the int32 range
// and stopped there, or a figure too large to be summed into one. Such figures are not true
// amounts; a caller can say so.
bool anyTotalSaturated(const std::vector<QuoteItem>& rows);

}  // namespace decor
