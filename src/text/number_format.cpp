#include "text/number_format.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace decor {
namespace {

// "%.Ng" through std::to_chars (locale-free), then the exponent widened to three digits.
std::string formatGeneral(double value, int precision) {
  if (!std::isfinite(value)) return "0";
  char buf[64];
  const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
  std::string text(buf, result.ptr);
  const auto e = text.find('e');
  if (e == std::string::npos) return text;
  // to_chars writes e+06 / e-05; the program's texts carry e+006 / e-005.
  std::string digits = text.substr(e + 2);
  while (digits.size() < 3) digits.insert(digits.begin(), '0');
  return text.substr(0, e + 2) + digits;
}

}  // namespace

std::string formatInteger(std::int64_t value) { return std::to_string(value); }

std::string formatSingle(double value) {
  // Beyond the float range the stored value would be infinite (and the conversion undefined).
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) return "0";
  return formatGeneral(static_cast<double>(static_cast<float>(value)), 6);
}

std::string formatDouble(double value) { return formatGeneral(value, 13); }

}  // namespace decor
