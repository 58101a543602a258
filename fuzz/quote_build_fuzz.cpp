// A room list as decor-cli reads it, built under every grade, package (the full package with
// its main materials) and floor: no crash, and no figure of the table reads "inf" or "nan".
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cli/room_file.h"
#include "quotation/quotation_session.h"
#include "fuzz_check.h"
#include "pricing/price_table.h"
#include "quotation_rows/quote_build.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  decor::cli::RoomFile file;
  if (!decor::cli::parseRoomList(bytes, "rooms", file).empty()) return 0;
  FUZZ_CHECK(file.rooms.size() == file.lineNumbers.size());

  static const decor::ItemPrices prices = decor::ItemPrices::defaults();
  for (const std::string_view grade : decor::kDecorationGrades) {
    for (const auto scope : {decor::PackageScope::Half, decor::PackageScope::Full}) {
      for (const auto floor : {decor::FloorChoice::WoodenFloor, decor::FloorChoice::Tiles}) {
        const decor::QuoteRequest request{.rooms = file.rooms, .grade = std::string(grade), .scope = scope, .floor = floor};
        decor::QuotationSession session(request);
        const decor::QuoteBuildResult result = session.build(prices);
        const decor::QuoteTable& table = session.table();
        if (!result.built()) {
          FUZZ_CHECK(table.size() == 0);
          FUZZ_CHECK(result.refused->row < file.rooms.size());
          continue;
        }
        FUZZ_CHECK(table.size() >= file.rooms.size());
        for (const decor::QuoteItem& row : table.rows()) {
          FUZZ_CHECK(decor::fuzz::showsNoInfOrNan(row.quantity));
          FUZZ_CHECK(decor::fuzz::showsNoInfOrNan(row.total));
          FUZZ_CHECK(decor::fuzz::showsNoInfOrNan(row.number));
        }
        decor::anyTotalSaturated(table.rows());
      }
    }
  }
  return 0;
}
