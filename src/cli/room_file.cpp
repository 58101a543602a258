#include "cli/room_file.h"

#include <algorithm>
#include <array>

#include "cli/input_file.h"
#include "quotation_rows/quote_build.h"
#include "text/codepage.h"
#include "text/system_path.h"

namespace decor::cli {
namespace {

constexpr std::size_t kCells = 6;

bool hasNegativeMeasure(const RoomMeasures& m) {
  return m.length < 0 || m.width < 0 || m.height < 0 || m.windowLength < 0 || m.windowHeight < 0 ||
         m.doorLeaves < 0 || m.wallCount < 0;
}

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
    // A flat has no negative sizes; the build would price them all the same.
    if (const auto measures = readRoomMeasures(file.rooms.back()); measures && hasNegativeMeasure(*measures))
      return lineError(path, lineNumber, ": 房间长宽高、窗户长高、门的扇数和墙面数不能为负数");
  }
  return {};
}

}  // namespace decor::cli
