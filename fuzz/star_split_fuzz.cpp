// The star split, and the pieces read by position without splitting, on any text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "text/star_split.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> pieces = decor::splitOnStar(text);
  FUZZ_CHECK(decor::starPieceCount(text) == pieces.size());
  std::size_t joined = 0;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    FUZZ_CHECK(decor::starPiece(text, i) == pieces[i]);
    FUZZ_CHECK(pieces[i].find('*') == std::string::npos);
    joined += pieces[i].size() + 1;
  }
  FUZZ_CHECK(decor::starPiece(text, pieces.size()).empty());
  // The pieces and their stars make up the text, less a last empty piece.
  FUZZ_CHECK(joined == text.size() + (text.empty() || text.back() == '*' ? 0 : 1));
  return 0;
}
