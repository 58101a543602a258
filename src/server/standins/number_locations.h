#pragma once
// The number-location service's stand-in: which province a mobile number block (its first
// seven digits) belongs to, and the reply the program reads the province from.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace decor::server {

class NumberLocations {
 public:
  // A few blocks, so that the stand-in answers something out of the box.
  static NumberLocations builtIn();

  // One block a line: seven digits, a tab or blanks, the province (UTF-8). Blank lines and
  // lines starting with "#" are skipped. Nothing, with the line number, on a malformed line.
  static std::optional<NumberLocations> parse(std::string_view text, std::string& error);

  std::optional<std::string> provinceOf(std::string_view block) const;

  // The JSONP reply for `?m=…&callback=…`: with `"Province":"…",` when the block is known,
  // without a province otherwise. An unusable callback name falls back to querycallback.
  std::string reply(std::string_view number, std::string_view callback) const;

 private:
  std::map<std::string, std::string, std::less<>> provinces_;
};

}  // namespace decor::server
