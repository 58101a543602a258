#pragma once
// A quotation kept in a file, so that a customer's afternoon of rooms and edits survives the
// program: the request as the web estimator's API takes it (rooms, grade, package, floor and
// the edits in the order they ran), the rows exactly as the customer saw them and the date.
// The desktop, `decor-cli` and the web page read and write the same file.
//
// The file is UTF-8 JSON:
//   {"version": 1, "date": "2026-12-09", "grade": "舒适型装修", "package": "半包" | "全包",
//    "floor": "地板" | "瓷砖",
//    "rooms": [["客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"], …],
//    "edits": [{"op": "modify", "row": 5, "name": "…", "unit": "…", "quantity": "…", "price": "…"},
//              {"op": "delete", "row": 3},
//              {"op": "add", "name": "…", "quantity": "…", "price": "…"}],
//    "rows": [["1", "顶面批腻子", "M2", "8.96", "13", "116"], …]}
// Opening keeps the saved rows rather than rebuilding them: prices change, and the figures the
// customer was given must not.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "json/json.h"
#include "quotation/quotation_session.h"
#include "quotation_rows/quote_build.h"
#include "quotation_rows/quote_commands.h"
#include "quotation_rows/quote_table.h"

namespace decor {

// One command of the quotation window as it ran on the table.
struct QuotationEdit {
  enum class Op { Modify, Delete, Add };
  Op op = Op::Delete;
  // 修改 and 删除此项: from 1 in the table as it stood when the edit ran; 0 selects no row.
  std::size_t row = 0;
  ItemEdit item;     // 修改: the detail panel's four boxes
  AddedItem added;   // 添加项: the add-item window's three boxes

  bool operator==(const QuotationEdit&) const = default;
};

// Whether the edit's row is in the table; 0, selecting nothing, always is.
bool editRowInTable(const QuotationEdit& edit, const QuoteTable& table);

// Runs the edit on the session; a row past the end selects nothing, as the window's list does.
void applyEdit(QuotationSession& session, const QuotationEdit& edit);

// A session with the edits that ran on it since its build: what a file keeps. Opening a file
// gives one back, and later commands are appended to its edits, so that the request always
// says how its rows came about.
class KeptQuotation {
 public:
  explicit KeptQuotation(QuotationSession session, std::vector<QuotationEdit> edits = {})
      : session_(std::move(session)), edits_(std::move(edits)) {}

  const QuotationSession& session() const { return session_; }
  const std::vector<QuotationEdit>& edits() const { return edits_; }

  // Runs and records the edit.
  void apply(const QuotationEdit& edit);

 private:
  QuotationSession session_;
  std::vector<QuotationEdit> edits_;
};

inline constexpr int kQuotationFileVersion = 1;
inline constexpr std::string_view kQuotationFileSuffix = ".json";

struct QuotationFile {
  QuoteRequest request;
  std::vector<QuotationEdit> edits;
  std::vector<QuoteItem> rows;  // the table as it stood when saved
  std::string date;             // "2026-12-09"

  bool operator==(const QuotationFile& other) const;
};

QuotationFile quotationFileOf(const KeptQuotation& quotation, std::string date);

// The kept quotation a file describes: its request and rows, its edits to go on with.
KeptQuotation keptQuotationOf(const QuotationFile& file);

// The file as JSON, and its bytes.
json::Value quotationFileValue(const QuotationFile& file);
std::string writeQuotationFile(const QuotationFile& file);

struct QuotationFileReading {
  std::optional<QuotationFile> file;
  std::string error;  // for the user, in Chinese; empty when the file was read
};

// Refuses, with a message saying why, a file from a newer version of the program and a
// damaged one: not JSON, a field missing or of the wrong kind, a name outside its choices,
// a room or row without its six texts, a room the build could not read, an edit of unknown
// kind.
QuotationFileReading readQuotationFile(std::string_view bytes);

// How strictly rooms are read. A file's rooms were built once, and the room list's 修改 writes
// a row unchecked, so a file is refused only for a room the build cannot read. A new request
// (the web API's) is held to what the room list's 添加 takes: the format check for adding,
// then the numbers (roomMeasureProblem), each refusal naming the room in the desktop's words.
enum class RoomStrictness { Stored, Added };

// The request and edits as a file holds them, from any JSON object with the file's members
// "grade", "package", "floor", "rooms" and "edits": the web API's body is one.
struct QuotationRequestReading {
  QuoteRequest request;
  std::vector<QuotationEdit> edits;
  std::string error;  // for the user, in Chinese; empty when read
  std::string field;  // the member at fault ("rooms", "edits", …); empty when read
};
QuotationRequestReading readQuotationRequest(const json::Value& object, RoomStrictness strictness);

// The member "rows" of an object, six texts a row, as a file keeps them.
struct QuotationRowsReading {
  std::vector<QuoteItem> rows;
  std::string error;  // empty when read
};
QuotationRowsReading readQuotationRows(const json::Value& object);

// Writes the file through a temporary file, so that a failure leaves an earlier file as it
// was. Returns the message for the user, empty on success.
std::string saveQuotationFile(const QuotationFile& file, const std::string& path);

}  // namespace decor
