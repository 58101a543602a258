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
#include "quotation/quotation_session.h"
#include "pricing/price_table.h"
#include "quotation_rows/quote_build.h"
#include "quotation_rows/quote_commands.h"

namespace decor::test {

// A full-package quotation of four rooms as the window builds it, edited as a user would: a
// row changed through 修改 to a product with a fraction, an item added by hand (序号 "-",
// 单位 "增"), and a few cells typed by hand that read as no plain number.
inline QuoteDocument editedFullPackageDocument() {
  QuotationSession session(QuoteRequest{.rooms = {RoomEntry{"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"},
                                       RoomEntry{"厨房", "3000*2000*2800", "600*1500", "推拉门", "2", "4"},
                                       RoomEntry{"卫生间", "2000*1800*2600", "600*600", "塑钢门", "1", "4"},
                                       RoomEntry{"阳台", "4000*1500*2800", "0*0", "(无)", "0", "1"}},
                             .grade = "舒适型装修",
                             .scope = PackageScope::Full,
                             .floor = FloorChoice::WoodenFloor});
  session.build(ItemPrices::defaults());
  session.modify(1, ItemEdit{"顶面批腻子（增）", "M2", "3", "12.5"});
  session.add(AddedItem{"手工添加项", "2", "18.75"});
  QuoteDocument document =
      session.document({"TarselCorvalen装饰", "400-820-6688", "http://www.example.com/?a=1&b=2"}, "2026-12-08");
  auto& rows = document.rows;
  rows[2].total = "-";
  rows.insert(rows.end() - 2, {QuoteItem{},
                               {"", "橱柜 & 台面", "M", "3", "1500", "4500"},
                               {"", "水槽", "套", "1", "增", "0"},
                               {"", "烟机灶具", "套", "1", "2%", "-12.25"},
                               {"3", "手工录入", "个", "007", "1.50", "0.000001"}});
  return document;
}

// A folder this process cannot create files in, and the reason the user is told. Root may
// write anywhere a mode forbids, so root gets the kernel's own folder instead.
struct UnwritableFolder {
  std::filesystem::path path;
  std::string reason;
};

#ifndef _WIN32
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

#endif

}  // namespace decor::test
