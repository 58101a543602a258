#include "quotation_rows/room_list.h"

#include "text/star_split.h"

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
