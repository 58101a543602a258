#include "text/csv.h"

namespace decor {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// From `at`, one or more digits; returns where they end, or `at` when there are none.
std::size_t digitsFrom(std::string_view text, std::size_t at) {
  while (at < text.size() && isDigit(text[at])) ++at;
  return at;
}

// A lone "-", or "-" digits ["." digits] ["e" sign digits]: what a spreadsheet reads as text
// or as a constant, never as a formula.
bool isMinusOrNegativeNumber(std::string_view field) {
  if (field == "-") return true;
  if (!field.starts_with('-')) return false;
  std::size_t end = digitsFrom(field, 1);
  if (end == 1) return false;
  if (end < field.size() && field[end] == '.') {
    const std::size_t fraction = digitsFrom(field, end + 1);
    if (fraction == end + 1) return false;
    end = fraction;
  }
  if (end < field.size() && field[end] == 'e') {
    if (end + 1 >= field.size() || (field[end + 1] != '+' && field[end + 1] != '-')) return false;
    const std::size_t exponent = digitsFrom(field, end + 2);
    if (exponent == end + 2) return false;
    end = exponent;
  }
  return end == field.size();
}

}  // namespace

std::string withoutFormulaStart(std::string_view field, PlainNumbers numbers) {
  constexpr std::string_view kFormulaStarts = "=+-@\t\r'";
  const bool formulaStart = !field.empty() && kFormulaStarts.find(field.front()) != std::string_view::npos;
  if (!formulaStart || (numbers == PlainNumbers::Kept && isMinusOrNegativeNumber(field))) return std::string(field);
  // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on "'" + std::string.
  std::string guarded(1, '\'');
  guarded.append(field);
  return guarded;
}

std::string csvField(std::string_view field, PlainNumbers numbers) {
  const std::string value = withoutFormulaStart(field, numbers);
  if (value.find_first_of(",\"\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (const char c : value) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string csvRecord(std::span<const std::string_view> fields, PlainNumbers numbers) {
  std::string record;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i != 0) record += ',';
    record += csvField(fields[i], numbers);
  }
  return record + "\r\n";
}

}  // namespace decor
