#include "server/web/quotation_api.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "export/xlsx_export.h"
#include "quotation_rows/item_description.h"
#include "quotation_rows/quote_totals.h"

namespace decor::web {
namespace {

ApiError tooMuch(std::string what, std::size_t most, std::string field) {
  return ApiError{400, std::move(what) + "超过 " + std::to_string(most) + " 个，无法在一次请求中报价", std::move(field)};
}

// The first `count` edits are in the opened rows already.
std::variant<KeptQuotation, ApiError> openedQuotation(const json::Value& opened, const QuotationRequestReading& read) {
  if (opened.asObject() == nullptr) return ApiError{400, "“opened”应为一个对象", "opened"};
  const QuotationRowsReading rows = readQuotationRows(opened);
  if (!rows.error.empty()) return ApiError{400, "打开的报价：" + rows.error, "opened"};
  if (rows.rows.size() > kMaxOpenedRows) return tooMuch("打开的报价表行数", kMaxOpenedRows, "opened");
  const json::Value* edits = opened.find("edits");
  const auto count = edits != nullptr ? edits->asInteger() : std::nullopt;
  if (!count || *count < 0 || static_cast<std::size_t>(*count) > read.edits.size()) {
    return ApiError{400, "“opened”的“edits”应为 0 到 " + std::to_string(read.edits.size()) + " 的整数", "opened"};
  }
  const auto done = read.edits.begin() + static_cast<std::ptrdiff_t>(*count);
  return keptQuotationOf(QuotationFile{
      .request = read.request, .edits = {read.edits.begin(), done}, .rows = rows.rows, .date = {}});
}

std::string fileTextOf(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The RFC 5987 value: UTF-8 bytes, every one but the attribute characters percent-escaped.
std::string extendedValue(std::string_view text) {
  constexpr std::string_view kPlain = "!#$&+-.^_`|~";
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "UTF-8''";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || kPlain.find(c) != kPlain.npos) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
  return out;
}

}  // namespace

std::variant<KeptQuotation, ApiError> quotationOf(const json::Value& body, const ItemPrices& prices) {
  // Rooms of an opened file were taken when it was saved (the room list's 修改 writes rows
  // unchecked); only new rooms are held to what 添加 takes.
  const json::Value* opened = body.find("opened");
  const QuotationRequestReading read =
      readQuotationRequest(body, opened != nullptr ? RoomStrictness::Stored : RoomStrictness::Added);
  if (!read.error.empty()) return ApiError{400, read.error, read.field};
  if (read.request.rooms.size() > kMaxQuotationRooms) return tooMuch("房间", kMaxQuotationRooms, "rooms");
  if (read.edits.size() > kMaxQuotationEdits) return tooMuch("修改", kMaxQuotationEdits, "edits");

  std::size_t next = 0;  // the first edit still to run
  std::optional<KeptQuotation> quotation;
  if (opened != nullptr) {
    auto started = openedQuotation(*opened, read);
    if (auto* error = std::get_if<ApiError>(&started)) return std::move(*error);
    quotation.emplace(std::move(std::get<KeptQuotation>(started)));
    next = quotation->edits().size();
  } else {
    QuotationSession session(read.request);
    const QuoteBuildResult built = session.build(prices);
    if (!built.built()) {
      return ApiError{400, "第" + std::to_string(built.refused->row + 1) + "个房间：" + std::string(built.refused->message()),
                      "rooms"};
    }
    quotation.emplace(std::move(session));
  }

  // The desktop's list takes a row past the end as no row; a request naming one is a mistake
  // its sender wants to hear of, as `decor-cli quote` says.
  for (std::size_t i = next; i < read.edits.size(); ++i) {
    const QuotationEdit& edit = read.edits[i];
    const QuoteTable& table = quotation->session().table();
    if (!editRowInTable(edit, table)) {
      return ApiError{400,
                      "第" + std::to_string(i + 1) + "项修改：行号 " + std::to_string(edit.row) + " 超出了报价表（共 " +
                          std::to_string(table.size()) + " 行）",
                      "edits"};
    }
    quotation->apply(edit);
  }
  return std::move(*quotation);
}

json::Value quotationJson(const QuotationSession& session) {
  const QuoteTable& table = session.table();
  json::Array rows;
  json::Array details;
  rows.reserve(table.size());
  details.reserve(table.size());
  for (const QuoteItem& row : table.rows()) {
    json::Array cells;
    for (const std::string_view cell : rowCells(row)) cells.emplace_back(cell);
    rows.emplace_back(std::move(cells));
    details.emplace_back(itemDescription(row.name).value_or(std::string_view()));
  }
  json::Array totals;
  for (const std::size_t index : totalRows(table)) totals.push_back(json::Array{table[index].name, table[index].total});
  return json::Object{{"caption", session.caption()},
                      {"rows", std::move(rows)},
                      {"details", std::move(details)},
                      {"totals", std::move(totals)}};
}

json::Value continuingBody(const QuotationFile& file) {
  const json::Value whole = quotationFileValue(file);
  json::Object body;
  json::Value rows;
  for (const auto& [name, value] : *whole.asObject()) {
    if (name == "rows") {
      rows = value;
    } else if (name != "version" && name != "date") {
      body.emplace_back(name, value);
    }
  }
  body.emplace_back("opened", json::Object{{"rows", std::move(rows)},
                                           {"edits", json::Value::integer(static_cast<std::int64_t>(file.edits.size()))}});
  return body;
}

std::variant<std::string, ApiError> workbookBytes(const QuoteDocument& document) {
  // The workbook library writes to a path: a file of this request's own, gone before the
  // answer leaves.
  std::string path = (std::filesystem::temp_directory_path() / "decor-workbook-XXXXXX.xlsx").string();
  const int fd = ::mkstemps(path.data(), 5);
  if (fd < 0) return ApiError{500, "无法生成 Excel 文件"};
  ::close(fd);
  const std::string failure = writeQuoteWorkbook(document, path);
  std::string bytes = failure.empty() ? fileTextOf(path) : std::string();
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  if (!failure.empty() || bytes.empty()) return ApiError{500, "无法生成 Excel 文件：" + failure};
  return bytes;
}

std::string attachment(std::string_view fileName, std::string_view asciiFallback) {
  return "attachment; filename=\"" + std::string(asciiFallback) + "\"; filename*=" + extendedValue(fileName);
}

}  // namespace decor::web
