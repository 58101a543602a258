#pragma once
// Shared by the quote tests: readable failure output for table rows and short row builders.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "quotation_rows/quote_table.h"
#include "quotation_rows/room_list.h"

namespace decor {

inline void PrintTo(const QuoteItem& row, std::ostream* os) {
  *os << "{" << row.number << " | " << row.name << " | " << row.unit << " | " << row.quantity << " | "
      << row.unitPrice << " | " << row.total << "}";
}

inline void PrintTo(const RoomEntry& room, std::ostream* os) {
  *os << "{" << room.roomType << " | " << room.size << " | " << room.window << " | " << room.doorType << " | "
      << room.doorLeaves << " | " << room.wallCount << "}";
}

namespace test {

inline QuoteItem header(const std::string& name) { return QuoteItem{"", name, "", "", "", ""}; }
inline QuoteItem blank() { return QuoteItem{}; }

// The fee block and project total as the build writes them.
inline std::vector<QuoteItem> feeBlock(const std::string& transport, const std::string& rubbish,
                                       const std::string& management, const std::string& projectTotal) {
  return {header("其它的"),
          {"", "材料搬运费", "户", "1", "2%", transport},
          {"", "垃圾清理费用", "户", "1", "1%", rubbish},
          {"", "工程管理费", "项", "1", "8%", management},
          blank(),
          {"", "工程总造价", "", "", "", projectTotal}};
}

inline std::vector<QuoteItem> concat(std::vector<QuoteItem> first, const std::vector<QuoteItem>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

}  // namespace test
}  // namespace decor
