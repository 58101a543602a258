#include "quotation_rows/room_list.h"

#include "text/star_split.h"
#include "text/text_to_number.h"

namespace decor {

RoomEntry initialRoomInput() {
  return RoomEntry{std::string(kLivingRoom), "3200*2800*2920", "800*1500", std::string(kSolidWoodDoor), "1", "4"};
}

std::string roomEntryCaption(std::string_view grade) { return std::string(grade) + "详细报价！"; }

namespace {

bool hasPieces(std::string_view text, std::size_t wanted, RoomFormatCheck check) {
  const std::size_t count = starPieceCount(text);
  return check == RoomFormatCheck::AddingRoom ? count == wanted : count >= wanted;
}

}  // namespace

RoomFormatProblem roomFormatProblem(const RoomEntry& room, RoomFormatCheck check) {
  if (!hasPieces(room.size, 3, check)) return RoomFormatProblem::RoomSize;
  if (!hasPieces(room.window, 2, check)) return RoomFormatProblem::WindowSize;
  return RoomFormatProblem::None;
}

std::string_view roomFormatMessage(RoomFormatProblem problem) {
  switch (problem) {
    case RoomFormatProblem::RoomSize: return kRoomSizeFormatMessage;
    case RoomFormatProblem::WindowSize: return kWindowSizeFormatMessage;
    case RoomFormatProblem::None: break;
  }
  return {};
}

namespace {

bool isAsciiBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// Digits, optionally a point and more digits, blanks around: what a person types as a size.
bool isPlainNumber(std::string_view piece) {
  const std::string text = foldFullWidth(piece);
  std::string_view t = text;
  while (!t.empty() && isAsciiBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && isAsciiBlank(t.back())) t.remove_suffix(1);
  std::size_t digits = 0;
  std::size_t i = 0;
  while (i < t.size() && isAsciiDigit(t[i])) { ++i; ++digits; }
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && isAsciiDigit(t[i])) { ++i; ++digits; }
  }
  return digits > 0 && i == t.size();
}

bool piecesArePlainNumbers(std::string_view text, std::size_t pieces) {
  if (pieces == 1) return isPlainNumber(text);  // a count is one number, "*" and all
  for (std::size_t i = 0; i < pieces; ++i) {
    if (!isPlainNumber(starPiece(text, i))) return false;
  }
  return true;
}

}  // namespace

std::optional<RoomMeasureProblem> roomMeasureProblem(const RoomEntry& room) {
  struct Measured {
    std::size_t column;
    const std::string& text;
    std::size_t pieces;
  };
  const std::array<Measured, 4> fields{{{1, room.size, 3}, {2, room.window, 2}, {4, room.doorLeaves, 1},
                                        {5, room.wallCount, 1}}};
  for (const Measured& field : fields) {
    if (piecesArePlainNumbers(field.text, field.pieces)) continue;
    return RoomMeasureProblem{.column = field.column,
                              .message = std::string(kRoomListColumns[field.column].title) + "只能填写数字，且不能为负数"};
  }
  return std::nullopt;
}

std::string leavesForDoorType(std::string_view doorType) { return doorType == kNoDoor ? "0" : "1"; }

LeavesReaction reactToLeaves(std::string_view leaves) {
  if (leaves.find('-') != std::string_view::npos) return {.leaves = "0", .doorType = std::nullopt};
  if (leaves == "0") return {.leaves = std::nullopt, .doorType = std::string(kNoDoor)};
  return {.leaves = std::nullopt, .doorType = std::string(kSolidWoodDoor)};
}

AddOutcome admitRoom(RoomEntry& input) {
  if (input.doorType == kNoDoor) input.doorLeaves.assign(1, '0');  // assign(): GCC 12 misreads operator=("0") as an overlapping copy
  const RoomFormatProblem problem = roomFormatProblem(input, RoomFormatCheck::AddingRoom);
  if (problem != RoomFormatProblem::None) return {.added = false, .message = roomFormatMessage(problem)};
  return {.added = true, .message = {}};
}

AddOutcome RoomList::add(RoomEntry& input) {
  const AddOutcome outcome = admitRoom(input);
  if (outcome.added) rows_.push_back(input);
  return outcome;
}

bool RoomList::modify(std::optional<std::size_t> selected, const RoomEntry& input) {
  if (!selected || *selected >= rows_.size()) return false;
  rows_[*selected] = input;
  return true;
}

bool RoomList::remove(std::optional<std::size_t> selected) {
  if (!selected || *selected >= rows_.size()) return false;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*selected));
  return true;
}

std::optional<RoomEntry> RoomList::loadRow(std::optional<std::size_t> selected) const {
  if (!selected || *selected >= rows_.size()) return std::nullopt;
  const RoomEntry& row = rows_[*selected];
  if (row.roomType.empty()) return std::nullopt;
  return row;
}

std::optional<std::string_view> RoomList::packageButtonWarning() const {
  if (rows_.empty()) return kNoRoomsMessage;
  return std::nullopt;
}

}  // namespace decor
