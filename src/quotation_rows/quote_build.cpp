#include "quotation_rows/quote_build.h"

#include <algorithm>

#include "quotation_rows/fee_block.h"
#include "text/star_split.h"
#include "text/text_to_number.h"

namespace decor {

const std::vector<RoomTypeWorks>& roomDispatchTable() {
  using enum Work;
  // Columns in the order of kDecorationGrades: rental, economy, comfort, fine, luxury.
  static const std::vector<RoomTypeWorks> table{
      {kKitchen,
       {{{{FloorTiles}, {PipeBoxing, 1}},
         {{FloorAndWallTiles}, {PipeBoxing, 1}},
         {{FloorAndWallTiles}, {PipeBoxing, 1}},
         {{FloorAndWallTiles}, {PipeBoxing, 2}},
         {{FloorAndWallTiles}, {PipeBoxing, 2}}}}},
      {kBathroom,
       {{{{FloorTiles}, {PipeBoxing, 1}, {Waterproofing}},
         {{FloorAndWallTiles}, {PipeBoxing, 1}, {Waterproofing}},
         {{FloorAndWallTiles}, {PipeBoxing, 1}, {Waterproofing}},
         {{FloorAndWallTiles}, {PipeBoxing, 2}, {Waterproofing}},
         {{FloorAndWallTiles}, {PipeBoxing, 2}, {Waterproofing}}}}},
      {kLivingRoom,
       {{{{FloorTilesIfTiled}},
         {{FloorTilesIfTiled}, {TvWall, 1}, {ShoeCabinet}},
         {{FloorTilesIfTiled}, {Ceiling, 1}, {TvWall, 3}, {ShoeCabinet}},
         {{FloorTilesIfTiled}, {Ceiling, 2}, {TvWall, 4}, {ShoeCabinet}},
         {{FloorTilesIfTiled}, {Ceiling, 2}, {TvWall, 5}, {ShoeCabinet}}}}},
      {kDiningRoom,
       {{{{FloorTilesIfTiled}},
         {{FloorTilesIfTiled}},
         {{FloorTilesIfTiled}, {Ceiling, 1}, {Entrance, 1}, {WineRack}},
         {{FloorTilesIfTiled}, {Ceiling, 2}, {Entrance, 2}, {WineRack}},
         {{FloorTilesIfTiled}, {Entrance, 3}, {WineRack}}}}},  // no ceiling in the luxury dining room
      {kBedroom,
       {{{},  //
         {{Wardrobe, 1}},
         {{Wardrobe, 1}},
         {{Wardrobe, 2}},
         {{Wardrobe, 3}}}}},
      {kStudy,
       {{{},  //
         {{Bookcase, 1}},
         {{Bookcase, 1}},
         {{Bookcase, 2}},
         {{Bookcase, 3}}}}},
      {kBalcony,
       {{{{FloorTiles}},  //
         {{FloorTiles}},
         {{FloorTiles}},
         {{FloorTiles}},
         {{FloorTiles}}}}},
  };
  return table;
}

namespace {

const RoomTypeWorks* findRoomType(std::string_view roomType) {
  const auto& table = roomDispatchTable();
  const auto it = std::find_if(table.begin(), table.end(), [&](const RoomTypeWorks& row) { return row.roomType == roomType; });
  return it == table.end() ? nullptr : &*it;
}

void runStep(QuoteTable& table, const ItemPrices& prices, const WorkStep& step, const RoomMeasures& room,
             FloorChoice floor) {
  switch (step.work) {
    case Work::FloorTiles: appendFloorTiles(table, prices, room.length, room.width); break;
    case Work::FloorTilesIfTiled:
      if (floor == FloorChoice::Tiles) appendFloorTiles(table, prices, room.length, room.width);
      break;
    case Work::FloorAndWallTiles: appendFloorAndWallTiles(table, prices, room.length, room.width); break;
    case Work::PipeBoxing: appendPipeBoxing(table, prices, step.argument); break;
    case Work::Waterproofing: appendWaterproofing(table, prices, room.length, room.width); break;
    case Work::TvWall: appendTvWall(table, prices, step.argument); break;
    case Work::ShoeCabinet: appendShoeCabinet(table, prices); break;
    case Work::Wardrobe: appendWardrobe(table, prices, step.argument, room.height, room.width); break;
    case Work::Bookcase: appendBookcase(table, prices, step.argument); break;
    case Work::Ceiling: appendCeiling(table, prices, step.argument, room.length, room.width); break;
    case Work::Entrance: appendEntrance(table, prices, step.argument); break;
    case Work::WineRack: appendWineRack(table, prices, room.width, room.height); break;
  }
}

}  // namespace

const std::vector<WorkStep>* roomWorkSteps(std::string_view grade, std::string_view roomType) {
  const auto gradeIndex = decorationGradeIndex(grade);
  const RoomTypeWorks* row = findRoomType(roomType);
  if (!gradeIndex || row == nullptr) return nullptr;
  return &row->byGrade[*gradeIndex];
}

bool roomGetsPuttyAndPaint(std::string_view grade, std::string_view roomType) {
  if (!decorationGradeIndex(grade)) return false;
  if (grade == kGradeRental) return true;
  return roomType != kBathroom && roomType != kKitchen && roomType != kBalcony;
}

std::optional<RoomMeasures> readRoomMeasures(const RoomEntry& room) {
  if (roomFormatProblem(room, RoomFormatCheck::ReadingStoredRow) != RoomFormatProblem::None) return std::nullopt;
  return RoomMeasures{.length = textToInt32(starPiece(room.size, 0)),
                      .width = textToInt32(starPiece(room.size, 1)),
                      .height = textToInt32(starPiece(room.size, 2)),
                      .windowLength = textToInt32(starPiece(room.window, 0)),
                      .windowHeight = textToInt32(starPiece(room.window, 1)),
                      .doorLeaves = textToInt32(room.doorLeaves),
                      .wallCount = textToInt32(room.wallCount)};
}

void dispatchRoom(QuoteTable& table, const ItemPrices& prices, const RoomEntry& room, const RoomMeasures& measures,
                  std::string_view grade, FloorChoice floor) {
  const std::vector<WorkStep>* steps = roomWorkSteps(grade, room.roomType);
  if (steps == nullptr) return;
  if (roomGetsPuttyAndPaint(grade, room.roomType)) appendPuttyAndPaint(table, prices, measures);
  if (measures.doorLeaves != 0) appendDoor(table, prices, room.doorType, measures.doorLeaves, room.roomType);
  for (const WorkStep& step : *steps) runStep(table, prices, step, measures, floor);
}

std::optional<UnreadableRoom> findUnreadableRoom(const std::vector<RoomEntry>& rooms) {
  for (std::size_t i = 0; i < rooms.size(); ++i) {
    const RoomFormatProblem problem = roomFormatProblem(rooms[i], RoomFormatCheck::ReadingStoredRow);
    if (problem != RoomFormatProblem::None) return UnreadableRoom{.row = i, .problem = problem};
  }
  return std::nullopt;
}

std::string refusedRoomMessage(const std::vector<RoomEntry>& rooms, const UnreadableRoom& unreadable) {
  const std::string_view type = unreadable.row < rooms.size() ? std::string_view(rooms[unreadable.row].roomType) : "";
  return "第" + std::to_string(unreadable.row + 1) + "个房间（" + std::string(type) + "）：" +
         std::string(unreadable.message());
}

QuoteBuildResult buildRoomWorksAndFees(const QuoteRequest& request, const ItemPrices& prices, QuoteTable& table) {
  // Checked before the first row, so that a refused quote leaves no half-built table.
  if (auto unreadable = findUnreadableRoom(request.rooms)) return QuoteBuildResult{.refused = unreadable};

  for (const RoomEntry& room : request.rooms) {
    table.appendHeading(room.roomType);
    if (findRoomType(room.roomType) == nullptr) continue;  // a room type typed by hand: header only
    dispatchRoom(table, prices, room, *readRoomMeasures(room), request.grade, request.floor);
    table.appendBlankRow();
  }
  appendFeeBlock(table);
  return QuoteBuildResult{};
}

}  // namespace decor
