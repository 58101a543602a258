#pragma once
// How a list column is shown: title, width in pixels, alignment.
#include <string_view>

namespace decor {

enum class ColumnAlignment { Left, Right };

struct ColumnFormat {
  std::string_view title;
  int width;
  ColumnAlignment alignment;
};

}  // namespace decor
