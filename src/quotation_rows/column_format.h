#pragma once
// How a list column is shown: title, width in pixels, alignment.
#include <array>
#include <cstddef>
#include <string_view>

namespace decor {

enum class ColumnAlignment { Left, Right };

struct ColumnFormat {
  std::string_view title;
  int width;
  ColumnAlignment alignment;
};

// The titles of a list's columns, in order.
template <std::size_t N>
constexpr std::array<std::string_view, N> columnTitles(const std::array<ColumnFormat, N>& columns) {
  std::array<std::string_view, N> titles{};
  for (std::size_t column = 0; column < N; ++column) titles[column] = columns[column].title;
  return titles;
}

}  // namespace decor
