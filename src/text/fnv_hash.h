#pragma once
#include <cstdint>
#include <string_view>

namespace decor {

inline constexpr std::uint64_t kFnvOffset = 14695981039346656037ull;

// FNV-1a over `bytes`, continuing from `hash`: fast and stable across builds and machines,
// for cache keys and lookup keys. Not collision-safe: whoever looks something up by it
// compares what it found.
std::uint64_t fnv1a64(std::string_view bytes, std::uint64_t hash = kFnvOffset);

}  // namespace decor
