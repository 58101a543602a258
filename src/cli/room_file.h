#pragma once
// The room list of `decor-cli quote --rooms`: UTF-8 text, one room a line, six tab-separated
// cells (the texts of the room entry window), blank lines skipped.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "quotation_rows/room_list.h"

namespace decor::cli {

struct RoomFile {
  std::vector<RoomEntry> rooms;
  std::vector<std::size_t> lineNumbers;  // the file line of each room, from 1
};

// Reads the file (a regular file of at most 64 MiB); returns the error to report, empty when
// the list is usable.
std::string readRoomFile(const std::string& path, RoomFile& file);

// The same from bytes already read; `path` only names the file in the messages.
std::string parseRoomList(std::string_view bytes, const std::string& path, RoomFile& file);

}  // namespace decor::cli
