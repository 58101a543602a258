#pragma once
// The 客厅 example that the quote-building and the window tests both check against.
#include <vector>

#include "quotation_rows/quote_table.h"
#include "quotation_rows/room_list.h"

namespace decor::test {

// 客厅 3200*2800*2920, window 800*1500, 实木门 with 1 leaf, 4 walls.
inline RoomEntry livingRoom() { return RoomEntry{"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"}; }

// Its section of the quotation under 舒适型装修 with a wooden floor and the default prices:
// the heading, the work rows and the blank row that closes it.
inline std::vector<QuoteItem> livingRoomSection() {
  return {
      {"", "客厅", "", "", "", ""},
      {"1", "顶面批腻子", "M2", "8.96", "13", "116.48"},
      {"2", "墙面批腻子", "M2", "34.44", "12", "413.28"},
      {"3", "墙顶面乳胶漆", "M2", "43.4", "10", "434"},
      {"4", "实木门", "扇", "1", "1480", "1480"},
      {"5", "局部吊顶", "M", "6", "115", "690"},
      {"6", "电视背景墙", "项", "1", "1200", "1200"},
      {"7", "鞋柜制作", "M", "1", "580", "580"},
      {"", "", "", "", "", ""},
  };
}

// Its half-package quote: the section, then the fees and the project total.
inline std::vector<QuoteItem> livingRoomComfortQuote() {
  std::vector<QuoteItem> rows = livingRoomSection();
  for (const QuoteItem& row : {QuoteItem{"", "其它的", "", "", "", ""}, QuoteItem{"", "材料搬运费", "户", "1", "2%", "98.26"},
                               QuoteItem{"", "垃圾清理费用", "户", "1", "1%", "49.13"},
                               QuoteItem{"", "工程管理费", "项", "1", "8%", "393.04"}, QuoteItem{},
                               QuoteItem{"", "工程总造价", "", "", "", "5453"}}) {
    rows.push_back(row);
  }
  return rows;
}

// Its full-package quote: the half-package rows, then the wooden floor and the full-package total.
inline std::vector<QuoteItem> livingRoomFullQuote() {
  std::vector<QuoteItem> rows = livingRoomComfortQuote();
  for (const QuoteItem& row : {QuoteItem{}, QuoteItem{"", "实木地板", "M2", "8.96", "160", "1433"}, QuoteItem{},
                               QuoteItem{"", "全包总价格", "", "", "", "6886"}}) {
    rows.push_back(row);
  }
  return rows;
}

}  // namespace decor::test
