#include "cli/room_file.h"

#include <algorithm>
#include <array>

#include "cli/input_file.h"
#include "text/codepage.h"
#include "text/system_path.h"

namespace decor::cli {
namespace {

constexpr std::size_t kCells = 6;

std::string lineError(const std::string& path, std::size_t lineNumber, const std::string& message) {
  return "房间文件 " + path + " 第" + std::to_string(lineNumber) + "行" + message;
}

}  // namespace

std::string readRoomFile(const std::string& path, RoomFile& file) {
  const InputFile input = readInputFile(pathFromUtf8(path));
  if (input.status != InputFile::Status::Read) return "无法读取房间文件 " + path + "：" + input.reason;
  return parseRoomList(input.bytes, path, file);
}

std::string parseRoomList(std::string_view bytes, const std::string& path, RoomFile& file) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);  // a byte-order mark from a Windows editor

  std::size_t lineNumber = 0;
  while (!bytes.empty()) {
    const std::size_t end = std::min(bytes.find('\n'), bytes.size());
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(std::min(end + 1, bytes.size()));
    ++lineNumber;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) continue;

    // Counted before anything is split, so that a line of a million tabs costs no memory.
    const std::size_t cellCount = static_cast<std::size_t>(std::count(line.begin(), line.end(), '\t')) + 1;
    if (cellCount != kCells) {
      return lineError(path, lineNumber, "应有6列（以制表符分隔），实际有" + std::to_string(cellCount) + "列");
    }
    std::array<std::string, kCells> cells;
    for (std::string& cell : cells) {
      const std::size_t tab = std::min(line.find('\t'), line.size());
      // The texts the room entry window could have held.
      cell = cutAtZeroByteAndRoundTripGbk(line.substr(0, tab));
      line.remove_prefix(std::min(tab + 1, line.size()));
    }
    file.rooms.push_back(RoomEntry{std::move(cells[0]), std::move(cells[1]), std::move(cells[2]), std::move(cells[3]),
                                   std::move(cells[4]), std::move(cells[5])});
    file.lineNumbers.push_back(lineNumber);
    // Letters and negative sizes are refused as the room entry window refuses them. A row
    // the build cannot read at all is left to the build, which names its line.
    const RoomEntry& room = file.rooms.back();
    if (roomFormatProblem(room, RoomFormatCheck::ReadingStoredRow) != RoomFormatProblem::None) continue;
    if (const std::optional<RoomMeasureProblem> problem = roomMeasureProblem(room))
      return lineError(path, lineNumber, ": " + problem->message);
  }
  return {};
}

}  // namespace decor::cli
