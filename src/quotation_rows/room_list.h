#pragma once
// The room list of the room entry window: the rooms of a detailed quote, kept as the texts
// the user typed. Nothing here reads a number; the quote build parses the texts.
//
// The window is a shell over this: it passes its current control texts in, applies what
// comes back (a message to show, a text to write into a control) and shows the rows.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "domain/vocabulary.h"
#include "quotation_rows/column_format.h"

namespace decor {

// One room, six texts in the column order of the room list.
struct RoomEntry {
  std::string roomType;    // 房屋类型
  std::string size;        // 房间长宽高, L*W*H in millimetres
  std::string window;      // 窗户长高, length*height in millimetres
  std::string doorType;    // 门的类型
  std::string doorLeaves;  // 门的扇数
  std::string wallCount;   // 墙面数

  bool operator==(const RoomEntry&) const = default;
};

// --- What the room entry window offers --------------------------------------------------
// (Its room types and door types are the vocabulary's kRoomTypes and kDoorTypeChoices.)

inline constexpr std::array<ColumnFormat, 6> kRoomListColumns{{
    {"房屋类型", 80, ColumnAlignment::Left},
    {"房间长宽高", 120, ColumnAlignment::Right},
    {"窗户长高", 120, ColumnAlignment::Right},
    {"门的类型", 120, ColumnAlignment::Right},
    {"门的扇数", 80, ColumnAlignment::Right},
    {"墙面数", 60, ColumnAlignment::Right},
}};

inline constexpr std::array<std::string_view, 6> kWindowSizeChoices{"0*0",       "300*1500",  "600*1500",
                                                                     "800*1500",  "1200*1500", "1500*1500"};
inline constexpr std::array<std::string_view, 4> kWallCountChoices{"4", "3", "2", "1"};
inline constexpr int kDoorLeavesMin = 0;
inline constexpr int kDoorLeavesMax = 10;

// The input controls as the window opens.
RoomEntry initialRoomInput();

// Caption of the room entry window: the grade text followed by "详细报价！".
std::string roomEntryCaption(std::string_view grade);

// --- Messages ---------------------------------------------------------------------------

inline constexpr std::string_view kRoomSizeFormatMessage = "您输入的房子内容格式不正确\r\n正确格式为   长*宽*高";
inline constexpr std::string_view kWindowSizeFormatMessage = "您输入的窗子内容格式不正确\r\n正确格式为   长*高";
inline constexpr std::string_view kNoRoomsMessage = "至少要添加1房间！";

// Why a room cannot be read: its size text does not give three "*"-pieces, or its window
// text does not give two. The room size is checked first.
enum class RoomFormatProblem { None, RoomSize, WindowSize };

// The two checks of that rule, deliberately not alike; making one match the other changes
// what users see. Adding a room asks for exactly three size pieces and two window pieces.
// A stored row (修改 writes rows unchecked) is read by position, size pieces 1-3 and window
// pieces 1-2, so it is unreadable only with fewer; pieces past those are ignored.
enum class RoomFormatCheck { AddingRoom, ReadingStoredRow };

RoomFormatProblem roomFormatProblem(const RoomEntry& room, RoomFormatCheck check);

// The information message for a problem; empty for None.
std::string_view roomFormatMessage(RoomFormatProblem problem);

// Why a room's numbers cannot be a flat's: a piece of 房间长宽高 or 窗户长高, or 门的扇数 or
// 墙面数, that is not a plain number (digits with an optional decimal part, full-width digits
// and blanks around it allowed) or that is negative. The build reads letters as 0 and keeps a
// minus sign, and would price both, so adding or modifying a room and every other way a room
// comes in (a room file, the web) refuse them. Run after the format check: it looks at the
// pieces that check counted.
struct RoomMeasureProblem {
  std::size_t column = 0;  // into kRoomListColumns
  std::string message;     // for the user, naming the field

  bool operator==(const RoomMeasureProblem&) const = default;
};
std::optional<RoomMeasureProblem> roomMeasureProblem(const RoomEntry& room);

// --- The two door reactions -------------------------------------------------------------

// Door type picked: the new leaves text.
std::string leavesForDoorType(std::string_view doorType);

// Door leaves changed: what to write back. At most one of the two is set.
struct LeavesReaction {
  std::optional<std::string> leaves;
  std::optional<std::string> doorType;

  bool operator==(const LeavesReaction&) const = default;
};
// The window should not let its own writes set off the other reaction: picking 移门 writes
// "1" into the leaves, and reacting to that would turn the door into 实木门.
LeavesReaction reactToLeaves(std::string_view leaves);

// --- The list ---------------------------------------------------------------------------

struct AddOutcome {
  bool added = false;
  std::string_view message;  // the information message to show when not added
};

// Add's rule without the list, for a holder that must announce a row before it is there:
// the same "(无)" leaves reset in `input`, then the format check; `added` says whether
// RoomList::add would take the room.
AddOutcome admitRoom(RoomEntry& input);

class RoomList {
 public:
  // Add: `input` holds the current control texts. A "(无)" door resets the leaves text in
  // `input` to "0" (write it back to the control) even when a format check then refuses.
  AddOutcome add(RoomEntry& input);

  // Modify: overwrites the selected row without any check. No row, or a row past the end,
  // writes nothing; returns whether a row was written.
  bool modify(std::optional<std::size_t> selected, const RoomEntry& input);

  // Delete: removes the selected row; no row, or a row past the end, does nothing.
  bool remove(std::optional<std::size_t> selected);

  // Click in the list: the texts to load into the input controls, or nothing when no row
  // is selected or the row's room type is empty.
  std::optional<RoomEntry> loadRow(std::optional<std::size_t> selected) const;

  // Package buttons: the warning to show instead of opening the quotation, if any.
  std::optional<std::string_view> packageButtonWarning() const;

  const std::vector<RoomEntry>& rows() const { return rows_; }
  std::size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }

 private:
  std::vector<RoomEntry> rows_;
};

}  // namespace decor
