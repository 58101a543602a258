// The quotation session: the package it was asked for decides what is built and how every
// command recomputes the totals, and the document carries its caption.
#include <gtest/gtest.h>

#include "living_room_quote.h"
#include "quotation/quotation_session.h"
#include "quote_test_support.h"

namespace decor::test {
namespace {

TEST(QuotationSession, ThePackageDecidesTheBuildTheCommandsAndTheCaption) {
  struct Case {
    PackageScope scope;
    std::vector<QuoteItem> built;
    std::string_view caption;
    std::string_view lastRowName;  // after each command
  };
  const Case cases[] = {
      {PackageScope::Half, livingRoomComfortQuote(), "半包装修详细报价", "工程总造价"},
      {PackageScope::Full, livingRoomFullQuote(), "全包装修详细报价", "全包总价格"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.caption));
    QuotationSession session(QuoteRequest{.rooms = {livingRoom()}, .grade = "舒适型装修", .scope = c.scope});
    std::vector<QuoteItem> heard;
    ASSERT_TRUE(session.build(ItemPrices::defaults(), [&](std::size_t, const QuoteItem& row) {
                         heard.push_back(row);
                       }).built());
    EXPECT_EQ(session.table().rows(), c.built);
    EXPECT_EQ(heard, c.built) << "every row reaches the listener as it is appended";
    EXPECT_EQ(session.caption(), c.caption);

    session.modify(1, ItemEdit{"顶面批腻子", "M2", "10", "13"});
    EXPECT_EQ(session.table()[1].total, "130");
    EXPECT_EQ(session.table()[session.table().size() - 1].name, c.lastRowName);
    session.add(AddedItem{"清水漆", "3", "44.5"});
    EXPECT_EQ(session.table()[session.table().size() - 1].name, c.lastRowName);
    const bool keepsMainMaterials = c.scope == PackageScope::Full;
    const auto& rows = session.table().rows();
    EXPECT_EQ(std::any_of(rows.begin(), rows.end(), [](const QuoteItem& row) { return row.name == "实木地板"; }),
              keepsMainMaterials);
    session.remove(0);
    EXPECT_EQ(session.table()[0].name, "顶面批腻子");

    const QuoteDocument document = session.document({"公司", "400", "http://x"}, "2026-12-08");
    EXPECT_EQ(document.caption, c.caption);
    EXPECT_EQ(document.date, "2026-12-08");
    EXPECT_EQ(document.rows, session.table().rows());
    EXPECT_EQ(document.request.rooms, session.request().rooms) << "the exports say what they price";
    EXPECT_EQ(document.request.grade, "舒适型装修");
    EXPECT_EQ(document.request.scope, c.scope);
    EXPECT_EQ(document.company.hotline, "400");
  }
}

TEST(QuotationSession, AnUnreadableRoomRefusesTheFullPackageToo) {
  RoomEntry unreadable = livingRoom();
  unreadable.window = "800";
  QuotationSession session(QuoteRequest{.rooms = {livingRoom(), unreadable}, .grade = "舒适型装修", .scope = PackageScope::Full});
  const QuoteBuildResult result = session.build(ItemPrices::defaults());
  ASSERT_FALSE(result.built());
  EXPECT_EQ(result.refused->row, 1u);
  EXPECT_EQ(session.table().size(), 0u);
}

}  // namespace
}  // namespace decor::test
