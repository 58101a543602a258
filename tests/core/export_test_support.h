#pragma once
// Shared by the export tests: a quotation that looks like a full package after the user has
// edited it, and a folder no one may write into.
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <utility>

#include "export/quote_document.h"
#include "pricing/price_table.h"
#include "quote/quote_build.h"

namespace decor::test {

// Two rooms of the real build, then a main-material part written as the packages write it,
// with the marks of editing: a product with a fraction, a hand-typed name, texts in number
// columns and a name with an ampersand.
inline QuoteDocument editedFullPackageDocument() {
  QuoteTable table;
  const QuoteRequest request{.rooms = {RoomEntry{"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"},
                                       RoomEntry{"厨房", "3000*2000*2800", "600*1500", "推拉门", "2", "4"}},
                             .grade = "舒适型装修",
                             .scope = PackageScope::Full,
                             .floor = FloorChoice::WoodenFloor};
  buildQuote(request, ItemPrices::defaults(), table);
  QuoteDocument document{.caption = "全包装修详细报价",
                         .date = "2026-12-08",
                         .rows = table.rows(),
                         .company = {"TarselCorvalen装饰", "400-820-6688", "http://www.example.com/?a=1&b=2"}};
  auto& rows = document.rows;
  rows[1] = {"1", "顶面批腻子（增）", "M2", "3", "12.5", "37.5"};  // after 修改
  rows[2].total = "-";
  rows.insert(rows.end(), {QuoteItem{},
                           {"", "客厅", "", "", "", ""},
                           {"", "实木地板", "M2", "8.96", "220", "1971"},
                           QuoteItem{},
                           {"", "厨房", "", "", "", ""},
                           {"", "橱柜 & 台面", "M", "3", "1500", "4500"},
                           {"", "水槽", "套", "1", "增", "0"},
                           {"", "烟机灶具", "套", "1", "2%", "-12.25"},
                           {"3", "手工添加项", "个", "007", "1.50", "0.000001"},
                           QuoteItem{},
                           {"", "全包总价格", "", "", "", "13895"}});
  return document;
}

// A folder this process cannot create files in, and the reason the user is told. Root may
// write anywhere a mode forbids, so root gets the kernel's own folder instead.
struct UnwritableFolder {
  std::filesystem::path path;
  std::string reason;
};

inline UnwritableFolder unwritableFolder(const std::filesystem::path& scratch) {
  std::filesystem::path folder = scratch / "locked";
  if (::geteuid() == 0) {
    folder = "/sys";
  } else {
    std::filesystem::create_directories(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  }
  const std::string probe = (folder / "probe").string();
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  if (fd >= 0) {
    ::close(fd);
    ::unlink(probe.c_str());
    return {folder, ""};
  }
  return {folder, errno == EROFS ? "磁盘是只读的" : "没有写入权限"};
}

}  // namespace decor::test
