#include "quotation/quotation_file.h"

#include <array>
#include <cstdint>
#include <utility>

#include "domain/vocabulary.h"
#include "export/file_replace.h"
#include "json/json.h"

namespace decor {
namespace {

// A saved quotation of thousands of rooms stays far below this; a file beyond it is not one
// of ours, and reading it would only cost memory.
constexpr json::Limits kFileLimits{.maxBytes = 64 * 1024 * 1024, .maxDepth = 8};

constexpr std::string_view kDamaged = "报价文件已损坏：";

std::optional<std::size_t> optionalRow(std::size_t row) {
  return row == 0 ? std::nullopt : std::optional<std::size_t>(row - 1);
}

json::Value texts(const std::vector<std::string_view>& cells) {
  json::Array array;
  for (std::string_view cell : cells) array.emplace_back(cell);
  return array;
}

json::Value editValue(const QuotationEdit& edit) {
  const auto row = json::Value::integer(static_cast<std::int64_t>(edit.row));
  switch (edit.op) {
    case QuotationEdit::Op::Modify:
      return json::Object{{"op", "modify"},
                          {"row", row},
                          {"name", edit.item.name},
                          {"unit", edit.item.unit},
                          {"quantity", edit.item.quantity},
                          {"price", edit.item.unitPrice}};
    case QuotationEdit::Op::Delete:
      return json::Object{{"op", "delete"}, {"row", row}};
    case QuotationEdit::Op::Add:
      return json::Object{
          {"op", "add"}, {"name", edit.added.name}, {"quantity", edit.added.quantity}, {"price", edit.added.unitPrice}};
  }
  return {};
}

// Reads the members of a file or a request, keeping the first thing that is wrong and the
// member it was found in.
class Reader {
 public:
  const std::string& error() const { return error_; }
  const std::string& field() const { return field_; }
  bool failed() const { return !error_.empty(); }

  // Later failures are found in this member.
  void enter(std::string_view field) {
    if (!failed()) field_ = field;
  }

  void fail(std::string what) {
    if (error_.empty()) error_ = std::move(what);
  }

  const json::Value* member(const json::Value& object, std::string_view name, std::string_view where) {
    const json::Value* value = object.find(name);
    if (value == nullptr) fail(std::string(where) + "缺少“" + std::string(name) + "”");
    return value;
  }

  // A text without zero bytes: no text the program holds has one.
  std::string text(const json::Value& object, std::string_view name, std::string_view where) {
    const json::Value* value = member(object, name, where);
    if (value == nullptr) return {};
    const std::string* text = value->asString();
    if (text == nullptr || text->find('\0') != std::string::npos) {
      fail(std::string(where) + "“" + std::string(name) + "”应为一段文字");
      return {};
    }
    return *text;
  }

  const json::Array* array(const json::Value& object, std::string_view name) {
    const json::Value* value = member(object, name, "");
    if (value == nullptr) return nullptr;
    const json::Array* array = value->asArray();
    if (array == nullptr) fail("“" + std::string(name) + "”应为一个列表");
    return array;
  }

  // Six texts, a room's or a row's; `where` names it in the message.
  std::optional<std::array<std::string, 6>> sixTexts(const json::Value& value, const std::string& where) {
    const json::Array* cells = value.asArray();
    if (cells == nullptr || cells->size() != 6) {
      fail(where + "应为六段文字");
      return std::nullopt;
    }
    std::array<std::string, 6> result;
    for (std::size_t i = 0; i < 6; ++i) {
      const std::string* text = (*cells)[i].asString();
      if (text == nullptr || text->find('\0') != std::string::npos) {
        fail(where + "应为六段文字");
        return std::nullopt;
      }
      result[i] = *text;
    }
    return result;
  }

  std::size_t row(const json::Value& edit, const std::string& where) {
    const json::Value* value = member(edit, "row", where);
    if (value == nullptr) return 0;
    const auto row = value->asInteger();
    if (!row || *row < 0 || *row > 999'999'999) {
      fail(where + "的“row”应为不小于 0 的整数");
      return 0;
    }
    return static_cast<std::size_t>(*row);
  }

 private:
  std::string error_;
  std::string field_;
};

bool isDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (i != 4 && i != 7 && (text[i] < '0' || text[i] > '9')) return false;
  }
  return true;
}

}  // namespace

bool QuotationFile::operator==(const QuotationFile& other) const {
  const QuoteRequest& a = request;
  const QuoteRequest& b = other.request;
  return a.rooms == b.rooms && a.grade == b.grade && a.scope == b.scope && a.floor == b.floor &&
         edits == other.edits && rows == other.rows && date == other.date;
}

bool editRowInTable(const QuotationEdit& edit, const QuoteTable& table) {
  return edit.op == QuotationEdit::Op::Add || edit.row <= table.size();
}

void applyEdit(QuotationSession& session, const QuotationEdit& edit) {
  switch (edit.op) {
    case QuotationEdit::Op::Modify:
      session.modify(optionalRow(edit.row), edit.item);
      break;
    case QuotationEdit::Op::Delete:
      session.remove(optionalRow(edit.row));
      break;
    case QuotationEdit::Op::Add:
      session.add(edit.added);
      break;
  }
}

void KeptQuotation::apply(const QuotationEdit& edit) {
  applyEdit(session_, edit);
  edits_.push_back(edit);
}

QuotationFile quotationFileOf(const KeptQuotation& quotation, std::string date) {
  return QuotationFile{.request = quotation.session().request(),
                       .edits = quotation.edits(),
                       .rows = quotation.session().table().rows(),
                       .date = std::move(date)};
}

KeptQuotation keptQuotationOf(const QuotationFile& file) {
  QuoteTable table;
  for (const QuoteItem& row : file.rows) table.appendRow(row);
  return KeptQuotation(QuotationSession(file.request, std::move(table)), file.edits);
}

json::Value quotationFileValue(const QuotationFile& file) {
  json::Array rooms;
  for (const RoomEntry& room : file.request.rooms) {
    rooms.push_back(
        texts({room.roomType, room.size, room.window, room.doorType, room.doorLeaves, room.wallCount}));
  }
  json::Array edits;
  for (const QuotationEdit& edit : file.edits) edits.push_back(editValue(edit));
  json::Array rows;
  for (const QuoteItem& row : file.rows) rows.push_back(texts(rowCells(row)));

  return json::Object{
      {"version", json::Value::integer(kQuotationFileVersion)},
      {"date", file.date},
      {"grade", file.request.grade},
      {"package", packageScopeText(file.request.scope)},
      {"floor", floorText(file.request.floor)},
      {"rooms", std::move(rooms)},
      {"edits", std::move(edits)},
      {"rows", std::move(rows)},
  };
}

std::string writeQuotationFile(const QuotationFile& file) { return json::write(quotationFileValue(file)) + "\n"; }

namespace {

// The rooms and the request around them: what a file and the web API's body share.
void readRequest(Reader& reader, const json::Value& root, RoomStrictness strictness, QuoteRequest& request) {
  reader.enter("grade");
  request.grade = reader.text(root, "grade", "");
  if (!reader.failed() && !decorationGradeIndex(request.grade)) {
    reader.fail("未知的装修档次“" + request.grade + "”");
  }
  reader.enter("package");
  const std::string package = reader.text(root, "package", "");
  if (const auto scope = packageScopeFromText(package)) {
    request.scope = *scope;
  } else if (!reader.failed()) {
    reader.fail("“package”应为 半包 或 全包，而不是“" + package + "”");
  }
  reader.enter("floor");
  const std::string floor = reader.text(root, "floor", "");
  if (const auto choice = floorChoiceFromText(floor)) {
    request.floor = *choice;
  } else if (!reader.failed()) {
    reader.fail("“floor”应为 地板 或 瓷砖，而不是“" + floor + "”");
  }

  reader.enter("rooms");
  if (const json::Array* rooms = reader.array(root, "rooms")) {
    if (rooms->empty()) reader.fail(strictness == RoomStrictness::Stored ? "没有房间" : std::string(kNoRoomsMessage));
    for (std::size_t i = 0; i < rooms->size() && !reader.failed(); ++i) {
      const std::string where = "第" + std::to_string(i + 1) + "个房间";
      if (auto cells = reader.sixTexts((*rooms)[i], where)) {
        auto& c = *cells;
        request.rooms.push_back(RoomEntry{c[0], c[1], c[2], c[3], c[4], c[5]});
        if (strictness == RoomStrictness::Stored) continue;
        // The room list's 添加 with its own messages, then the numbers it would price.
        const RoomFormatProblem problem = roomFormatProblem(request.rooms.back(), RoomFormatCheck::AddingRoom);
        if (problem != RoomFormatProblem::None) {
          reader.fail(where + "：" + std::string(roomFormatMessage(problem)));
        } else if (const auto measure = roomMeasureProblem(request.rooms.back())) {
          reader.fail(where + "：" + measure->message);
        }
      }
    }
  }
  // A file's rows were built from its rooms, so every one of them was readable.
  if (!reader.failed() && strictness == RoomStrictness::Stored) {
    if (const auto unreadable = findUnreadableRoom(request.rooms)) {
      reader.fail("第" + std::to_string(unreadable->row + 1) + "个房间无法报价");
    }
  }
}

void readEdits(Reader& reader, const json::Value& root, std::vector<QuotationEdit>& edits) {
  reader.enter("edits");
  const json::Array* values = reader.array(root, "edits");
  if (values == nullptr) return;
  for (std::size_t i = 0; i < values->size() && !reader.failed(); ++i) {
    const json::Value& value = (*values)[i];
    const std::string where = "第" + std::to_string(i + 1) + "项修改";
    if (value.asObject() == nullptr) {
      reader.fail(where + "不是一个对象");
      break;
    }
    QuotationEdit edit;
    const std::string op = reader.text(value, "op", where);
    if (op == "modify") {
      edit.op = QuotationEdit::Op::Modify;
      edit.row = reader.row(value, where);
      edit.item = ItemEdit{.name = reader.text(value, "name", where),
                           .unit = reader.text(value, "unit", where),
                           .quantity = reader.text(value, "quantity", where),
                           .unitPrice = reader.text(value, "price", where)};
    } else if (op == "delete") {
      edit.op = QuotationEdit::Op::Delete;
      edit.row = reader.row(value, where);
    } else if (op == "add") {
      edit.op = QuotationEdit::Op::Add;
      edit.added = AddedItem{.name = reader.text(value, "name", where),
                             .quantity = reader.text(value, "quantity", where),
                             .unitPrice = reader.text(value, "price", where)};
    } else if (!reader.failed()) {
      reader.fail(where + "的“op”应为 modify、delete 或 add，而不是“" + op + "”");
    }
    edits.push_back(std::move(edit));
  }
}

void readRows(Reader& reader, const json::Value& root, std::vector<QuoteItem>& rows) {
  reader.enter("rows");
  const json::Array* values = reader.array(root, "rows");
  if (values == nullptr) return;
  if (values->empty()) reader.fail("没有报价表项");
  for (std::size_t i = 0; i < values->size() && !reader.failed(); ++i) {
    if (auto cells = reader.sixTexts((*values)[i], "报价表第" + std::to_string(i + 1) + "行")) {
      auto& c = *cells;
      rows.push_back(QuoteItem{c[0], c[1], c[2], c[3], c[4], c[5]});
    }
  }
}

}  // namespace

QuotationRequestReading readQuotationRequest(const json::Value& object, RoomStrictness strictness) {
  Reader reader;
  QuotationRequestReading reading;
  readRequest(reader, object, strictness, reading.request);
  readEdits(reader, object, reading.edits);
  reading.error = reader.error();
  if (reader.failed()) reading.field = reader.field();
  return reading;
}

QuotationRowsReading readQuotationRows(const json::Value& object) {
  Reader reader;
  QuotationRowsReading reading;
  readRows(reader, object, reading.rows);
  reading.error = reader.error();
  return reading;
}

QuotationFileReading readQuotationFile(std::string_view bytes) {
  const json::ParseResult parsed = json::parse(bytes, kFileLimits);
  if (!parsed.value) return {.file = std::nullopt, .error = std::string(kDamaged) + parsed.error};
  const json::Value& root = *parsed.value;
  if (root.asObject() == nullptr) return {.file = std::nullopt, .error = std::string(kDamaged) + "不是报价文件"};

  // The version first: a newer file may have changed anything else.
  const json::Value* version = root.find("version");
  const auto versionNumber = version != nullptr ? version->asInteger() : std::nullopt;
  if (!versionNumber || *versionNumber < 1) {
    return {.file = std::nullopt, .error = std::string(kDamaged) + "缺少版本号“version”"};
  }
  if (*versionNumber > kQuotationFileVersion) {
    return {.file = std::nullopt,
            .error = "这个报价文件由较新版本的程序保存（文件版本 " + std::to_string(*versionNumber) +
                     "），本程序只能打开版本 " + std::to_string(kQuotationFileVersion) + " 的报价文件。请更新程序后再打开。"};
  }

  Reader reader;
  QuotationFile file;
  file.date = reader.text(root, "date", "");
  if (!reader.failed() && !isDate(file.date)) reader.fail("日期“" + file.date + "”应为 年-月-日");
  readRequest(reader, root, RoomStrictness::Stored, file.request);
  readEdits(reader, root, file.edits);
  readRows(reader, root, file.rows);

  if (reader.failed()) return {.file = std::nullopt, .error = std::string(kDamaged) + reader.error()};
  return {.file = std::move(file), .error = {}};
}

std::string saveQuotationFile(const QuotationFile& file, const std::string& path) {
  const std::string bytes = writeQuotationFile(file);
  return replaceFile(path, [&bytes](const std::string& tempPath) { return writeWholeFile(tempPath, bytes); });
}

}  // namespace decor
