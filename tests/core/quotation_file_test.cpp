// The quotation file: what is saved opens as the same request, edits and rows, later edits
// go on from the saved rows, and a newer or damaged file is refused with a reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "living_room_quote.h"
#include "quotation/quotation_file.h"
#include "quote_test_support.h"

namespace decor::test {
namespace {

QuotationEdit modifyEdit(std::size_t row, ItemEdit item) {
  return QuotationEdit{.op = QuotationEdit::Op::Modify, .row = row, .item = std::move(item), .added = {}};
}
QuotationEdit deleteEdit(std::size_t row) {
  return QuotationEdit{.op = QuotationEdit::Op::Delete, .row = row, .item = {}, .added = {}};
}
QuotationEdit addEdit(AddedItem added) {
  return QuotationEdit{.op = QuotationEdit::Op::Add, .row = 0, .item = {}, .added = std::move(added)};
}

KeptQuotation builtQuotation(PackageScope scope, FloorChoice floor) {
  RoomEntry kitchen{"厨房", "2400*1800*2800", "600*1500", "移门", "1", "4"};
  QuotationSession session(QuoteRequest{
      .rooms = {livingRoom(), kitchen}, .grade = "精  装  修", .scope = scope, .floor = floor});
  EXPECT_TRUE(session.build(ItemPrices::defaults()).built());
  return KeptQuotation(std::move(session));
}

TEST(QuotationFile, ASavedQuotationOpensWithItsRowsAndGoesOnFromThem) {
  struct Case {
    const char* name;
    PackageScope scope;
    FloorChoice floor;
    std::vector<QuotationEdit> edits;
  };
  const Case cases[] = {
      {"half, no edits", PackageScope::Half, FloorChoice::WoodenFloor, {}},
      {"half, all three commands",
       PackageScope::Half,
       FloorChoice::Tiles,
       {modifyEdit(2, {"顶面批腻子", "M2", "10", "13"}), deleteEdit(3), addEdit({"清水漆", "3", "44.5"}),
        modifyEdit(0, {"", "", "", ""})}},
      {"full, all three commands, texts that need escapes",
       PackageScope::Full,
       FloorChoice::WoodenFloor,
       {addEdit({"鞋柜\"隔断\"\\制作\n", "2", "460"}), deleteEdit(1), modifyEdit(5, {"包水管", "M", "3.5", "75"})}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KeptQuotation quotation = builtQuotation(c.scope, c.floor);
    for (const QuotationEdit& edit : c.edits) quotation.apply(edit);

    const QuotationFile saved = quotationFileOf(quotation, "2026-12-09");
    const QuotationFileReading opened = readQuotationFile(writeQuotationFile(saved));
    ASSERT_TRUE(opened.file) << opened.error;
    EXPECT_EQ(*opened.file, saved);
    EXPECT_EQ(opened.file->edits, c.edits);

    // Opening keeps the saved figures even when they are not what a build would give today.
    QuotationFile altered = saved;
    altered.rows[1].total = "999999";
    KeptQuotation reopened = keptQuotationOf(*readQuotationFile(writeQuotationFile(altered)).file);
    EXPECT_EQ(reopened.session().table().rows(), altered.rows);

    // A command after opening works on the saved rows and is recorded after the saved edits.
    const QuotationEdit later = addEdit({"铲墙面", "20", "8"});
    reopened.apply(later);
    KeptQuotation direct = keptQuotationOf(altered);
    direct.apply(later);
    EXPECT_EQ(reopened.session().table().rows(), direct.session().table().rows());
    ASSERT_EQ(reopened.edits().size(), c.edits.size() + 1);
    EXPECT_EQ(reopened.edits().back(), later);
    EXPECT_EQ(reopened.session().scope(), c.scope);

    // Replaying the file's request gives its rows: the file says how they came about.
    QuotationSession replay(saved.request);
    ASSERT_TRUE(replay.build(ItemPrices::defaults()).built());
    for (const QuotationEdit& edit : saved.edits) applyEdit(replay, edit);
    EXPECT_EQ(replay.table().rows(), saved.rows);
  }
}

TEST(QuotationFile, TheBytesAreTheWebRequestWithRowsVersionAndDate) {
  KeptQuotation quotation = builtQuotation(PackageScope::Full, FloorChoice::Tiles);
  quotation.apply(deleteEdit(3));
  quotation.apply(addEdit({"清水漆", "3", "44.5"}));
  quotation.apply(modifyEdit(2, {"a", "M2", "1", "2"}));
  const std::string bytes = writeQuotationFile(quotationFileOf(quotation, "2026-12-09"));
  EXPECT_TRUE(bytes.starts_with(
      R"({"version":1,"date":"2026-12-09","grade":"精  装  修","package":"全包","floor":"瓷砖",)"
      R"("rooms":[["客厅","3200*2800*2920","800*1500","实木门","1","4"],["厨房","2400*1800*2800","600*1500","移门","1","4"]],)"
      R"("edits":[{"op":"delete","row":3},{"op":"add","name":"清水漆","quantity":"3","price":"44.5"},)"
      R"({"op":"modify","row":2,"name":"a","unit":"M2","quantity":"1","price":"2"}],"rows":[["","客厅","","","",""],)"))
      << bytes.substr(0, 600);
}

TEST(QuotationFile, ANewerOrDamagedFileIsRefusedWithAReason) {
  const std::string good = writeQuotationFile(quotationFileOf(builtQuotation(PackageScope::Half, FloorChoice::WoodenFloor), "2026-12-09"));
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string bytes = good;
    const auto at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) bytes.replace(at, from.size(), to);
    return bytes;
  };
  struct Case {
    std::string bytes;
    std::string error;
  };
  const Case cases[] = {
      {replaced(R"("version":1)", R"("version":2)"),
       "这个报价文件由较新版本的程序保存（文件版本 2），本程序只能打开版本 1 的报价文件。请更新程序后再打开。"},
      {replaced(R"("version":1)", R"("version":"1")"), "报价文件已损坏：缺少版本号“version”"},
      {replaced(R"("version":1,)", ""), "报价文件已损坏：缺少版本号“version”"},
      {good.substr(0, good.size() / 2), ""},  // cut short: the JSON reader says where
      {"", ""},
      {"[1]", "报价文件已损坏：不是报价文件"},
      {replaced(R"("date":"2026-12-09")", R"("date":"明天")"), "报价文件已损坏：日期“明天”应为 年-月-日"},
      {replaced(R"("grade":"精  装  修")", R"("grade":"精装修")"), "报价文件已损坏：未知的装修档次“精装修”"},
      {replaced(R"("package":"半包")", R"("package":"三包")"), "报价文件已损坏：“package”应为 半包 或 全包，而不是“三包”"},
      {replaced(R"("floor":"地板")", R"("floor":1)"), "报价文件已损坏：“floor”应为一段文字"},
      {replaced(R"("rooms":[)", R"("rooms":[["客厅"],)"), "报价文件已损坏：第1个房间应为六段文字"},
      {replaced(R"("rooms":[["客厅","3200*2800*2920")", R"("rooms":[["客厅","3200*2800")"),
       "报价文件已损坏：第1个房间无法报价"},
      {replaced(R"("edits":[])", R"("edits":[{"op":"move","row":1}])"),
       "报价文件已损坏：第1项修改的“op”应为 modify、delete 或 add，而不是“move”"},
      {replaced(R"("edits":[])", R"("edits":[{"op":"delete","row":-1}])"),
       "报价文件已损坏：第1项修改的“row”应为不小于 0 的整数"},
      {replaced(R"("edits":[])", R"("edits":[{"op":"add","name":"x","quantity":"1"}])"),
       "报价文件已损坏：第1项修改缺少“price”"},
      {replaced(R"("rows":[["")", R"("rows":[["\u0000")"), "报价文件已损坏：报价表第1行应为六段文字"},
      {replaced(R"("rows":[)", R"("rows":[],"x":[)"), "报价文件已损坏：没有报价表项"},
      {replaced(R"("rooms":)", R"("room":)"), "报价文件已损坏：缺少“rooms”"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.substr(0, 200));
    const QuotationFileReading reading = readQuotationFile(c.bytes);
    EXPECT_FALSE(reading.file);
    if (c.error.empty()) {
      EXPECT_TRUE(reading.error.starts_with("报价文件已损坏：")) << reading.error;
      EXPECT_GT(reading.error.size(), std::string("报价文件已损坏：").size());
    } else {
      EXPECT_EQ(reading.error, c.error);
    }
  }
}

}  // namespace
}  // namespace decor::test
