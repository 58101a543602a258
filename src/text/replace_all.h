#pragma once
#include <string>
#include <string_view>

namespace decor {

// `text` with every occurrence of `from` (not empty) replaced by `to`, left to right, without
// looking again inside what was put in.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace decor
