#pragma once
// The quote build: from the room list, the decoration grade and the floor choice to the rows
// of the quotation table. Per room a header row, the works that the grade and the room type
// call for and a blank row; then the fee block.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "domain/vocabulary.h"
#include "pricing/price_table.h"
#include "quotation_rows/quote_table.h"
#include "quotation_rows/room_list.h"
#include "quotation_rows/works.h"

namespace decor {

// --- Room dispatch ----------------------------------------------------------------------

enum class Work {
  FloorTiles,
  FloorTilesIfTiled,  // only when the floor choice is tiles
  FloorAndWallTiles,
  PipeBoxing,  // argument: the count
  Waterproofing,
  TvWall,  // argument: the level
  ShoeCabinet,
  Wardrobe,  // argument: the level
  Bookcase,  // argument: the level
  Ceiling,   // argument: the level
  Entrance,  // argument: the level
  WineRack,
};

struct WorkStep {
  Work work;
  int argument = 0;

  bool operator==(const WorkStep&) const = default;
};

// The works of a room type under each grade, in the column order of kDecorationGrades.
struct RoomTypeWorks {
  std::string_view roomType;
  std::array<std::vector<WorkStep>, 5> byGrade;
};

// One entry per room type that gets works; a room type outside it gets only its header.
const std::vector<RoomTypeWorks>& roomDispatchTable();

// The room-type steps for a grade and a room type; nothing when either is unknown.
const std::vector<WorkStep>* roomWorkSteps(std::string_view grade, std::string_view roomType);

// Putty and paint: every room of a rental quote, and in the other grades every room but
// kitchens, bathrooms and balconies.
bool roomGetsPuttyAndPaint(std::string_view grade, std::string_view roomType);

// The sizes of a room read as whole numbers (text-to-number, truncated toward zero) from size
// pieces 1-3 and window pieces 1-2; nothing when either text gives fewer pieces than that.
std::optional<RoomMeasures> readRoomMeasures(const RoomEntry& room);

// Appends the work rows of one room: putty and paint, the door, then the room-type steps.
void dispatchRoom(QuoteTable& table, const ItemPrices& prices, const RoomEntry& room, const RoomMeasures& measures,
                  std::string_view grade, FloorChoice floor);

// --- The build --------------------------------------------------------------------------

struct QuoteRequest {
  std::vector<RoomEntry> rooms;  // the room list as it stands when the build starts
  std::string grade;
  PackageScope scope = PackageScope::Half;
  FloorChoice floor = FloorChoice::WoodenFloor;
};

// A room the build cannot read, its size text giving fewer than three pieces or its window
// text fewer than two (the list only holds one after an unchecked Modify): its index in the
// room list and the message Add would have shown for it.
struct UnreadableRoom {
  std::size_t row = 0;
  RoomFormatProblem problem = RoomFormatProblem::None;

  std::string_view message() const { return roomFormatMessage(problem); }
  bool operator==(const UnreadableRoom&) const = default;
};

// The first room of the list the build would refuse, if any. The room entry window can ask
// this before it opens the quotation.
std::optional<UnreadableRoom> findUnreadableRoom(const std::vector<RoomEntry>& rooms);

// The refusal as the user reads it, naming the room by its place and type before the reason:
// "第3个房间（卧室）：您输入的房子内容格式不正确…". `rooms` is the list it was found in.
std::string refusedRoomMessage(const std::vector<RoomEntry>& rooms, const UnreadableRoom& unreadable);

struct QuoteBuildResult {
  std::optional<UnreadableRoom> refused;  // set when nothing was built
  bool built() const { return !refused.has_value(); }
};

// Appends the rows every quotation has to `table` (normally empty): per room its header, works
// and a blank row, then the fee block. The request's package scope is not read: a full
// package's main materials come after these rows (QuotationSession::build). Refuses,
// appending nothing, when a room cannot be read. Rows reach the table's listener one by one
// as they are appended.
QuoteBuildResult buildRoomWorksAndFees(const QuoteRequest& request, const ItemPrices& prices, QuoteTable& table);

}  // namespace decor
