#pragma once
// JSON (RFC 8259) for what the program exchanges with browsers, scripts and files: a strict
// reader that bounds what one text may cost, and a writer whose output is always valid JSON.
// It stands alone, so that anything from the web edition to a saved quotation can use it.
//
// Reading is strict: exactly one value, nothing but blanks around it, no comments, no
// trailing commas, no duplicate member names, strings of well-formed UTF-8 only (a "\u"
// escape must not leave half a surrogate pair), numbers in the grammar's own form.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace decor::json {

class Value;
using Array = std::vector<Value>;
// Members in the order they were read or added.
using Object = std::vector<std::pair<std::string, Value>>;

// A number keeps the text it was written with, so that "3" and "3.0" stay distinguishable
// and nothing is rounded before a caller decides how to read it.
struct Number {
  std::string text;
};

class Value {
 public:
  enum class Type { Null, Bool, Number, String, Array, Object };

  Value() = default;
  Value(std::nullptr_t) {}
  Value(bool value) : data_(value) {}
  Value(const char* text) : data_(std::string(text)) {}
  Value(std::string text) : data_(std::move(text)) {}
  Value(std::string_view text) : data_(std::string(text)) {}
  Value(Number number) : data_(std::move(number)) {}
  Value(Array items) : data_(std::move(items)) {}
  Value(Object members) : data_(std::move(members)) {}
  // Integers are written exactly; no double is ever accepted, so no "inf" or "nan" can be built.
  static Value integer(std::int64_t value);

  Type type() const { return static_cast<Type>(data_.index()); }
  bool isNull() const { return type() == Type::Null; }

  const bool* asBool() const { return std::get_if<bool>(&data_); }
  const std::string* asString() const { return std::get_if<std::string>(&data_); }
  const Number* asNumber() const { return std::get_if<Number>(&data_); }
  const Array* asArray() const { return std::get_if<Array>(&data_); }
  const Object* asObject() const { return std::get_if<Object>(&data_); }
  // A number written without fraction or exponent that fits in 64 bits ("-0" is 0).
  std::optional<std::int64_t> asInteger() const;
  // Any number, as the nearest double; nothing when it is beyond the double range.
  std::optional<double> asDouble() const;

  // The member of that name of an object; nothing for another type or a missing member.
  const Value* find(std::string_view name) const;

  bool operator==(const Value&) const = default;

 private:
  std::variant<std::nullptr_t, bool, Number, std::string, Array, Object> data_;
};

inline bool operator==(const Number& a, const Number& b) { return a.text == b.text; }

struct Limits {
  std::size_t maxBytes = 1024 * 1024;
  std::size_t maxDepth = 64;  // arrays and objects nested in each other
};

struct ParseResult {
  std::optional<Value> value;
  std::string error;       // why the text was refused (Chinese, for a reply); empty on success
  std::size_t offset = 0;  // byte at which reading stopped on an error
};

ParseResult parse(std::string_view text, const Limits& limits = {});

// The text of a value: compact, members in their order, strings escaped so that the output
// is plain JSON whatever they hold ('"', '\', control characters, U+2028 and U+2029 as
// escapes; a byte that is not part of well-formed UTF-8 becomes U+FFFD).
std::string write(const Value& value);

// One string as a JSON string literal, quotes included, escaped as by write().
std::string quote(std::string_view text);

}  // namespace decor::json
