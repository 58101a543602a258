// The itemised quotation through the real server in-process: rows, descriptions and totals
// compared with the quotation session in core, the bodies it refuses, the workbook read back
// beside the one core writes, and a saved file opened again.
#include <gtest/gtest.h>

#include <fstream>
#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include "deployment/endpoints.h"
#include "export/xlsx_export.h"
#include "json/json.h"
#include "pricing/price_table.h"
#include "quotation/quotation_file.h"
#include "quotation_rows/item_description.h"
#include "quotation_rows/quote_totals.h"
#include "server/web/quotation_api.h"
#include "server_test_support.h"
#include "shell_command.h"

namespace decor::server {
namespace {

constexpr char kToday[] = "2026-12-09";

const RoomEntry kLivingRoom{"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"};
const RoomEntry kBedroom{"卧室", "3000*3000*2800", "1200*1500", "实木门", "1", "4"};
const RoomEntry kKitchen{"厨房", "2400*1800*2600", "600*1500", "移门", "1", "3"};
const RoomEntry kBathroom{"卫生间", "２０００*1500*2600", "300*1500", "(无)", "0", "4"};

QuotationEdit modify(std::size_t row, ItemEdit item) {
  return QuotationEdit{.op = QuotationEdit::Op::Modify, .row = row, .item = std::move(item), .added = {}};
}
QuotationEdit remove(std::size_t row) {
  return QuotationEdit{.op = QuotationEdit::Op::Delete, .row = row, .item = {}, .added = {}};
}
QuotationEdit add(AddedItem item) {
  return QuotationEdit{.op = QuotationEdit::Op::Add, .row = 0, .item = {}, .added = std::move(item)};
}

// The body for a request and edits: a quotation file's members without version, date and rows.
std::string bodyFor(const QuoteRequest& request, const std::vector<QuotationEdit>& edits) {
  const json::Value file = quotationFileValue(QuotationFile{.request = request, .edits = edits, .rows = {}, .date = {}});
  json::Object body;
  for (const auto& member : *file.asObject()) {
    if (member.first != "version" && member.first != "date" && member.first != "rows") body.push_back(member);
  }
  return json::write(body);
}

class QuotationApiTest : public InProcessServerTest {
 protected:
  void SetUp() override {
    now_ = std::string(kToday) + " 10:00:00";
    InProcessServerTest::SetUp();
  }

  httplib::Result post(const std::string& call, const std::string& body) const {
    return client().Post(("/api/" + call).c_str(), body, "application/json");
  }

  static std::string request(const std::string& call, const std::string& body) {
    return "POST /api/" + call + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n" +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  }
  // The reply's status line and headers as sent: a client library may decode them.
  std::string rawHead(const std::string& call, const std::string& body) const {
    RawConnection connection(port_);
    connection.send(request(call, body));
    const std::string all = connection.receive();
    return all.substr(0, all.find("\r\n\r\n") + 2);
  }
  // A post that may be answered before its body is sent.
  std::pair<int, std::string> rawPost(const std::string& call, const std::string& body) const {
    RawConnection connection(port_);
    connection.send(request(call, body));
    return connection.reply();
  }

  // The session in core for the same request and edits, on the built-in prices.
  static QuotationSession coreSession(const QuoteRequest& request, const std::vector<QuotationEdit>& edits) {
    PriceTable prices;
    prices.resetToDefaults();
    QuotationSession session(request);
    EXPECT_TRUE(session.build(prices.itemPrices()).built());
    for (const QuotationEdit& edit : edits) applyEdit(session, edit);
    return session;
  }

  static std::vector<std::vector<std::string>> textsOf(const json::Value* value) {
    std::vector<std::vector<std::string>> rows;
    if (value == nullptr || value->asArray() == nullptr) return rows;
    for (const json::Value& row : *value->asArray()) {
      std::vector<std::string>& cells = rows.emplace_back();
      if (row.asArray() == nullptr) continue;
      for (const json::Value& cell : *row.asArray()) cells.push_back(cell.asString() ? *cell.asString() : "(not text)");
    }
    return rows;
  }

  // The answer for `session`, as core says it should read.
  static void expectAnswerIs(const json::Value& answer, const QuotationSession& session, const std::string& name) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> details;
    for (const QuoteItem& row : session.table().rows()) {
      const auto cells = rowCells(row);
      rows.emplace_back(cells.begin(), cells.end());
      details.emplace_back(itemDescription(row.name).value_or(""));
    }
    std::vector<std::vector<std::string>> totals;
    for (const std::size_t i : totalRows(session.table())) totals.push_back({session.table()[i].name, session.table()[i].total});
    ASSERT_FALSE(totals.empty()) << name;

    const json::Value* caption = answer.find("caption");
    EXPECT_EQ(caption && caption->asString() ? *caption->asString() : "", session.caption()) << name;
    EXPECT_EQ(textsOf(answer.find("rows")), rows) << name;
    std::vector<std::string> answeredDetails;
    if (const json::Value* value = answer.find("details"); value && value->asArray()) {
      for (const json::Value& text : *value->asArray()) answeredDetails.push_back(text.asString() ? *text.asString() : "?");
    }
    EXPECT_EQ(answeredDetails, details) << name;
    EXPECT_EQ(textsOf(answer.find("totals")), totals) << name;
  }

  static json::Value parsed(const httplib::Result& result) {
    return result ? json::parse(result->body, json::Limits{.maxBytes = 64 << 20, .maxDepth = 16}).value.value_or(json::Value())
                  : json::Value();
  }
};

TEST_F(QuotationApiTest, RowsAreTheCoreSessionsForBothPackagesAndEveryCommand) {
  struct Case {
    std::string name;
    QuoteRequest request;
    std::vector<QuotationEdit> edits;
  };
  const auto half = [](std::vector<RoomEntry> rooms, FloorChoice floor = FloorChoice::WoodenFloor) {
    return QuoteRequest{.rooms = std::move(rooms), .grade = kGradeComfort, .scope = PackageScope::Half, .floor = floor};
  };
  const auto full = [](std::vector<RoomEntry> rooms, FloorChoice floor = FloorChoice::WoodenFloor) {
    return QuoteRequest{.rooms = std::move(rooms), .grade = kGradeLuxury, .scope = PackageScope::Full, .floor = floor};
  };
  const ItemEdit dearer{"顶面批腻子", "M2", "10", "15"};
  const Case cases[] = {
      {"half, one room, built only", half({kLivingRoom}), {}},
      {"full, four rooms on tiles, built only", full({kLivingRoom, kBedroom, kKitchen, kBathroom}, FloorChoice::Tiles), {}},
      {"half: modify an item", half({kLivingRoom, kBedroom}), {modify(2, dearer)}},
      {"full: modify an item recomputes the full-package total", full({kLivingRoom, kBedroom}), {modify(2, dearer)}},
      {"half: delete an item", half({kLivingRoom, kKitchen}), {remove(3)}},
      {"full: delete an item", full({kLivingRoom, kKitchen}), {remove(3)}},
      {"half: add an item", half({kBedroom}), {add({"清水漆", "3", "44.5"})}},
      {"full: add an item keeps the main materials", full({kBedroom, kBathroom}), {add({"防水工程", "2", "45"})}},
      {"full: a fee row modified", full({kLivingRoom}), {modify(12, {"材料搬运费", "户", "1", "3"})}},
      {"half: row 0 selects nothing yet recomputes", half({kLivingRoom}), {modify(0, dearer), remove(0)}},
      {"half: the three commands in turn, rows counted afresh", half({kLivingRoom, kBedroom, kKitchen}),
       {add({"铲墙面", "10", "8"}), remove(2), modify(4, {"墙顶面乳胶漆", "M2", "50", "12"}), add({"包水管", "1", "75"})}},
      {"full: the three commands in turn", full({kLivingRoom, kBedroom, kKitchen}, FloorChoice::Tiles),
       {remove(5), add({"电视背景墙", "1", "850"}), modify(3, {"局部吊顶", "M", "8", "120"}), remove(1)}},
  };
  for (const Case& c : cases) {
    const auto result = post("quotation", bodyFor(c.request, c.edits));
    ASSERT_TRUE(result) << c.name;
    ASSERT_EQ(result->status, 200) << c.name << ": " << result->body;
    expectAnswerIs(parsed(result), coreSession(c.request, c.edits), c.name);
  }
}

TEST_F(QuotationApiTest, RefusesBodiesNamingTheRoomOrTheEdit) {
  const QuoteRequest flat{.rooms = {kLivingRoom, kBedroom}, .grade = kGradeComfort};
  const auto withRoom = [&](std::size_t index, RoomEntry room) {
    QuoteRequest request = flat;
    request.rooms[index] = std::move(room);
    return bodyFor(request, {});
  };
  const std::size_t builtRows = coreSession(flat, {}).table().size();
  std::string wrongPackage = bodyFor(flat, {});
  wrongPackage.replace(wrongPackage.find("半包"), std::string("半包").size(), "半");
  std::string unknownOp = bodyFor(flat, {remove(1)});
  unknownOp.replace(unknownOp.find("delete"), 6, "move");
  std::string bodyOfFive = bodyFor(flat, {});
  bodyOfFive.replace(bodyOfFive.find(",\"4\"]"), 4, "");
  std::string openedTooFar = bodyFor(flat, {remove(1)});
  openedTooFar.insert(openedTooFar.size() - 1, ",\"opened\":{\"rows\":[[\"\",\"客厅\",\"\",\"\",\"\",\"\"]],\"edits\":2}");
  const QuoteRequest tooMany{.rooms = std::vector<RoomEntry>(web::kMaxQuotationRooms + 1, kLivingRoom),
                             .grade = kGradeComfort};

  struct Case {
    std::string name;
    std::string body;
    std::string message;
    std::string field;
  };
  const Case cases[] = {
      {"a room size of two pieces", withRoom(1, {"卧室", "3000*3000", "1200*1500", "实木门", "1", "4"}),
       "第2个房间：" + std::string(kRoomSizeFormatMessage), "rooms"},
      {"a window of three pieces, as adding refuses", withRoom(0, {"客厅", "3200*2800*2920", "800*1500*1", "实木门", "1", "4"}),
       "第1个房间：" + std::string(kWindowSizeFormatMessage), "rooms"},
      {"a negative size", withRoom(1, {"卧室", "3000*-3000*2800", "1200*1500", "实木门", "1", "4"}),
       "第2个房间：房间长宽高只能填写数字，且不能为负数", "rooms"},
      {"letters for the wall count", withRoom(0, {"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "四"}),
       "第1个房间：墙面数只能填写数字，且不能为负数", "rooms"},
      {"no rooms", bodyFor(QuoteRequest{.rooms = {}, .grade = kGradeComfort}, {}), std::string(kNoRoomsMessage), "rooms"},
      {"a room of five texts", bodyOfFive, "第1个房间应为六段文字", "rooms"},
      {"an edit past the end", bodyFor(flat, {remove(1), remove(builtRows)}),
       "第2项修改：行号 " + std::to_string(builtRows) + " 超出了报价表（共 " + std::to_string(builtRows - 1) + " 行）", "edits"},
      {"an unknown op", unknownOp, "第1项修改的“op”应为 modify、delete 或 add，而不是“move”", "edits"},
      {"a package that is neither", wrongPackage, "“package”应为 半包 或 全包，而不是“半”", "package"},
      {"an unknown grade", bodyFor(QuoteRequest{.rooms = {kLivingRoom}, .grade = "舒适装修"}, {}),
       "未知的装修档次“舒适装修”", "grade"},
      {"more opened edits than edits", openedTooFar, "“opened”的“edits”应为 0 到 1 的整数", "opened"},
      {"more rooms than one request may build", bodyFor(tooMany, {}),
       "房间超过 " + std::to_string(web::kMaxQuotationRooms) + " 个，无法在一次请求中报价", "rooms"},
  };
  for (const Case& c : cases) {
    const auto result = post("quotation", c.body);
    ASSERT_TRUE(result) << c.name;
    EXPECT_EQ(result->status, 400) << c.name << ": " << result->body;
    const json::Value answer = parsed(result);
    const json::Value* message = answer.find("message");
    const json::Value* field = answer.find("field");
    EXPECT_EQ(message && message->asString() ? *message->asString() : result->body, c.message) << c.name;
    EXPECT_EQ(field && field->asString() ? *field->asString() : "", c.field) << c.name;
  }
}

TEST_F(QuotationApiTest, AThousandRoomsOpenedFitWhereTheEstimatesLimitEndsAndTwoMibDoNot) {
  const QuoteRequest thousand{.rooms = std::vector<RoomEntry>(1000, kLivingRoom), .grade = kGradeComfort};
  // A sanitizer build on a busy machine takes seconds over a megabyte; the time is bench/'s.
  httplib::Client patient = client();
  patient.set_read_timeout(120);
  const auto saved = patient.Post("/api/quotation/file", bodyFor(thousand, {}), "application/json");
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->status, 200) << saved->body.substr(0, 200);
  ASSERT_GT(saved->body.size(), kMaxBodyBytes);
  const auto opened = patient.Post("/api/quotation/open", saved->body, "application/json");
  ASSERT_TRUE(opened);
  ASSERT_EQ(opened->status, 200) << opened->body.substr(0, 200);
  const json::Value answer = parsed(opened);
  EXPECT_EQ(textsOf(answer.find("rows")).size(), coreSession(thousand, {}).table().size());

  // Only the quotation calls take the larger body; the server answers before reading it.
  EXPECT_EQ(rawPost("estimate", saved->body).first, 413);
  const auto refused = rawPost("quotation", std::string(web::kMaxQuotationBodyBytes + 1, ' '));
  EXPECT_EQ(refused, std::pair(413, "发送失败：请求超过 " + std::to_string(web::kMaxQuotationBodyBytes / 1024) + " KiB"));
}

// The larger quotation bodies share the budget of all bodies being read: a client that opens
// many and trickles them cannot make the server hold a large body for each.
TEST_F(QuotationApiTest, LargeBodiesShareTheBodiesBudget) {
  const std::string body = bodyFor(QuoteRequest{.rooms = {kLivingRoom}, .grade = kGradeComfort}, {});
  start([&body](ServerSettings& settings) { settings.limits.bodyBudget = 2 * body.size(); });
  const std::string plain = request("quotation", body);
  // Asking to continue, a client learns when the server has taken its body's room.
  const std::string head = plain.substr(0, plain.size() - body.size() - 2) + "Expect: 100-continue\r\n\r\n";
  const std::string goAhead = "HTTP/1.1 100 Continue\r\n\r\n";
  RawConnection first(port_);
  RawConnection second(port_);
  ASSERT_TRUE(first.send(head));
  ASSERT_EQ(first.receiveSome(), goAhead);
  ASSERT_TRUE(second.send(head));
  ASSERT_EQ(second.receiveSome(), goAhead);
  EXPECT_EQ(rawPost("quotation", body), std::pair(503, std::string("发送失败：服务器繁忙，请稍后再试")));
  // Calls without a body are not held back.
  EXPECT_EQ(client().Get("/api/site")->status, 200);

  ASSERT_TRUE(first.send(body) && second.send(body));
  EXPECT_EQ(first.reply().first, 200);
  EXPECT_EQ(second.reply().first, 200);
  EXPECT_EQ(rawPost("quotation", body).first, 200);
}

TEST_F(QuotationApiTest, TheWorkbookIsTheOneCoreWritesForTheSameQuotation) {
  const QuoteRequest request{
      .rooms = {kLivingRoom, kKitchen}, .grade = kGradeComfort, .scope = PackageScope::Full, .floor = FloorChoice::Tiles};
  const std::vector<QuotationEdit> edits{remove(2), add({"清水漆", "3", "44.5"})};
  const auto result = post("quotation.xlsx", bodyFor(request, edits));
  ASSERT_TRUE(result);
  ASSERT_EQ(result->status, 200) << result->body;
  EXPECT_EQ(result->get_header_value("Content-Type"), "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
  EXPECT_NE(rawHead("quotation.xlsx", bodyFor(request, edits))
                .find("\r\nContent-Disposition: attachment; filename=\"quotation-2026-12-09.xlsx\"; filename*=UTF-8''"
                      "%E5%85%A8%E5%8C%85%E8%A3%85%E4%BF%AE%E8%AF%A6%E7%BB%86%E6%8A%A5%E4%BB%B7-2026-12-09.xlsx\r\n"),
            std::string::npos);

  const std::filesystem::path served = folder_ / "served.xlsx";
  std::ofstream(served, std::ios::binary) << result->body;
  const std::filesystem::path written = folder_ / "written.xlsx";
  const QuotationSession session = coreSession(request, edits);
  ASSERT_EQ(writeQuoteWorkbook(session.document(CompanyContact::from(Endpoints::compiledIn()), kToday), written.string()), "");

  const auto dump = [](const std::filesystem::path& file) {
    return test::runShell("/usr/bin/python3 " DECOR_TEST_TOOLS_DIR "/dump_xlsx.py '" + file.string() + "' 2>&1");
  };
  const test::ShellResult servedDump = dump(served);
  ASSERT_EQ(servedDump.exitCode, 0) << servedDump.output;
  EXPECT_TRUE(servedDump.output.starts_with("sheets=全包装修详细报价")) << servedDump.output;
  EXPECT_NE(servedDump.output.find("\tt:清水漆\tt:增\tn:3\tn:44.5\tn:133.5\n"), std::string::npos) << servedDump.output;
  EXPECT_EQ(servedDump.output, dump(written).output);
}

TEST_F(QuotationApiTest, ASavedFileOpensToTheSameRowsAndGoesOnFromThem) {
  const QuoteRequest request{.rooms = {kLivingRoom, kBedroom}, .grade = kGradeFine, .scope = PackageScope::Full};
  const std::vector<QuotationEdit> edits{modify(2, {"顶面批腻子", "M2", "10", "15"}), remove(4)};
  const auto saved = post("quotation/file", bodyFor(request, edits));
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->status, 200) << saved->body;
  EXPECT_NE(rawHead("quotation/file", bodyFor(request, edits))
                .find("\r\nContent-Disposition: attachment; filename=\"quotation.json\"; filename*=UTF-8''"
                      "%E6%8A%A5%E4%BB%B7.json\r\n"),
            std::string::npos);
  const QuotationFileReading reading = readQuotationFile(saved->body);
  ASSERT_TRUE(reading.file) << reading.error;
  const QuotationSession session = coreSession(request, edits);
  EXPECT_EQ(reading.file->rows, session.table().rows());
  EXPECT_EQ(reading.file->edits, edits);
  EXPECT_EQ(reading.file->date, kToday);

  // The staff raise a price: the opened quotation keeps the figures the customer was given.
  std::filesystem::create_directories(folder_ / "prices");
  std::ofstream(folder_ / "prices" / "Xiangxi.xml", std::ios::binary)
      << "<appSettings><add key=\"墙顶面乳胶漆\" value=\"99\" /></appSettings>";
  const auto opened = post("quotation/open", saved->body);
  ASSERT_TRUE(opened);
  ASSERT_EQ(opened->status, 200) << opened->body;
  const json::Value answer = parsed(opened);
  expectAnswerIs(answer, session, "opened");

  // Its body, with one more edit, runs only that edit on the kept rows.
  const json::Value* body = answer.find("quotation");
  ASSERT_TRUE(body != nullptr && body->asObject() != nullptr);
  json::Object more = *body->asObject();
  for (auto& [name, value] : more) {
    if (name != "edits") continue;
    json::Array list = *value.asArray();
    list.push_back(json::Object{{"op", "delete"}, {"row", json::Value::integer(1)}});
    value = std::move(list);
  }
  const auto continued = post("quotation", json::write(more));
  ASSERT_TRUE(continued);
  ASSERT_EQ(continued->status, 200) << continued->body;
  QuotationSession after = session;
  applyEdit(after, remove(1));
  expectAnswerIs(parsed(continued), after, "continued");
}

TEST_F(QuotationApiTest, OpeningRefusesADamagedOrNewerFileWithItsReason) {
  const std::string good =
      writeQuotationFile(quotationFileOf(KeptQuotation(coreSession({.rooms = {kLivingRoom}, .grade = kGradeComfort}, {})), kToday));
  std::string newer = good;
  newer.replace(newer.find("\"version\":1"), 11, "\"version\":2");
  const std::string cases[] = {newer, good.substr(0, good.size() / 2), "{\"version\":1}", "[]"};
  for (const std::string& file : cases) {
    const auto result = post("quotation/open", file);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 400) << file;
    const json::Value answer = parsed(result);
    const json::Value* message = answer.find("message");
    EXPECT_EQ(message && message->asString() ? *message->asString() : result->body, readQuotationFile(file).error);
  }
}

}  // namespace
}  // namespace decor::server
