#pragma once
// File names are UTF-8 inside the program. std::filesystem::path made from a plain std::string
// reads it in the system's ANSI code page on Windows (1252 or 936, never UTF-8), so every name
// that reaches the file system goes through these two.
#include <filesystem>
#include <string>
#include <string_view>

namespace decor {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

}  // namespace decor
