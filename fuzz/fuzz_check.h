#pragma once
// What every harness shares: a property that does not hold is a crash libFuzzer reports and
// keeps the input of.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                   \
  do {                                                                                          \
    if (!(condition)) {                                                                         \
      std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);    \
      std::abort();                                                                             \
    }                                                                                           \
  } while (0)

namespace decor::fuzz {

// No figure a user sees may read "inf" or "nan".
inline bool showsNoInfOrNan(std::string_view text) {
  return text.find("inf") == std::string_view::npos && text.find("nan") == std::string_view::npos;
}

}  // namespace decor::fuzz
