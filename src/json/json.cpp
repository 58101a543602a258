#include "json/json.h"

#include <charconv>
#include <cmath>

namespace decor::json {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The length of the well-formed UTF-8 character at `pos` (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF), or 0. `codePoint` receives the character.
std::size_t utf8CharAt(std::string_view text, std::size_t pos, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  std::size_t length = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() - pos < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  codePoint = c;
  return length;
}

class Reader {
 public:
  Reader(std::string_view text, const Limits& limits) : text_(text), limits_(limits) {}

  ParseResult run() {
    ParseResult result;
    if (text_.size() > limits_.maxBytes) {
      result.error = "JSON 超过 " + std::to_string(limits_.maxBytes) + " 字节";
      return result;
    }
    skipBlanks();
    std::optional<Value> value = readValue(0);
    if (value) {
      skipBlanks();
      if (pos_ != text_.size()) fail("JSON 值之后还有多余的内容");
    }
    if (!error_.empty()) {
      result.error = error_;
      result.offset = pos_;
      return result;
    }
    result.value = std::move(value);
    return result;
  }

 private:
  std::optional<Value> fail(std::string why) {
    if (error_.empty()) error_ = std::move(why) + "（第 " + std::to_string(pos_ + 1) + " 字节）";
    return std::nullopt;
  }

  bool atEnd() const { return pos_ >= text_.size(); }
  char peek() const { return text_[pos_]; }

  void skipBlanks() {
    while (!atEnd() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')) ++pos_;
  }

  bool literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }

  std::optional<Value> readValue(std::size_t depth) {
    if (atEnd()) return fail("JSON 不完整");
    switch (peek()) {
      case '{': return readObject(depth + 1);
      case '[': return readArray(depth + 1);
      case '"': {
        auto text = readString();
        if (!text) return std::nullopt;
        return Value(std::move(*text));
      }
      case 't':
        if (literal("true")) return Value(true);
        break;
      case 'f':
        if (literal("false")) return Value(false);
        break;
      case 'n':
        if (literal("null")) return Value(nullptr);
        break;
      default:
        if (peek() == '-' || isDigit(peek())) return readNumber();
    }
    return fail("JSON 格式错误");
  }

  std::optional<Value> readObject(std::size_t depth) {
    if (depth > limits_.maxDepth) return fail("JSON 嵌套超过 " + std::to_string(limits_.maxDepth) + " 层");
    ++pos_;
    Object members;
    skipBlanks();
    if (!atEnd() && peek() == '}') {
      ++pos_;
      return Value(std::move(members));
    }
    while (true) {
      skipBlanks();
      if (atEnd() || peek() != '"') return fail("JSON 对象的成员名应为字符串");
      const std::size_t nameAt = pos_;
      auto name = readString();
      if (!name) return std::nullopt;
      for (const auto& member : members) {
        if (member.first == *name) {
          pos_ = nameAt;
          return fail("JSON 对象中成员名 \"" + *name + "\" 重复");
        }
      }
      skipBlanks();
      if (atEnd() || peek() != ':') return fail("JSON 成员名之后应为冒号");
      ++pos_;
      skipBlanks();
      auto value = readValue(depth);
      if (!value) return std::nullopt;
      members.emplace_back(std::move(*name), std::move(*value));
      skipBlanks();
      if (atEnd()) return fail("JSON 不完整");
      if (peek() == '}') {
        ++pos_;
        return Value(std::move(members));
      }
      if (peek() != ',') return fail("JSON 对象中应为逗号或 }");
      ++pos_;
    }
  }

  std::optional<Value> readArray(std::size_t depth) {
    if (depth > limits_.maxDepth) return fail("JSON 嵌套超过 " + std::to_string(limits_.maxDepth) + " 层");
    ++pos_;
    Array items;
    skipBlanks();
    if (!atEnd() && peek() == ']') {
      ++pos_;
      return Value(std::move(items));
    }
    while (true) {
      skipBlanks();
      auto value = readValue(depth);
      if (!value) return std::nullopt;
      items.push_back(std::move(*value));
      skipBlanks();
      if (atEnd()) return fail("JSON 不完整");
      if (peek() == ']') {
        ++pos_;
        return Value(std::move(items));
      }
      if (peek() != ',') return fail("JSON 数组中应为逗号或 ]");
      ++pos_;
    }
  }

  std::optional<Value> readNumber() {
    const std::size_t start = pos_;
    if (peek() == '-') ++pos_;
    if (atEnd() || !isDigit(peek())) return fail("JSON 数字格式错误");
    if (peek() == '0') {
      ++pos_;
    } else {
      while (!atEnd() && isDigit(peek())) ++pos_;
    }
    if (!atEnd() && peek() == '.') {
      ++pos_;
      if (atEnd() || !isDigit(peek())) return fail("JSON 数字格式错误");
      while (!atEnd() && isDigit(peek())) ++pos_;
    }
    if (!atEnd() && (peek() == 'e' || peek() == 'E')) {
      ++pos_;
      if (!atEnd() && (peek() == '+' || peek() == '-')) ++pos_;
      if (atEnd() || !isDigit(peek())) return fail("JSON 数字格式错误");
      while (!atEnd() && isDigit(peek())) ++pos_;
    }
    return Value(Number{std::string(text_.substr(start, pos_ - start))});
  }

  // Four hex digits after "\u"; -1 when they are not there.
  long readHex4() {
    if (text_.size() - pos_ < 4) return -1;
    long value = 0;
    for (int i = 0; i < 4; ++i) {
      const int digit = hexValue(text_[pos_ + static_cast<std::size_t>(i)]);
      if (digit < 0) return -1;
      value = value * 16 + digit;
    }
    pos_ += 4;
    return value;
  }

  std::optional<std::string> readString() {
    ++pos_;  // the opening quote
    std::string out;
    while (true) {
      if (atEnd()) {
        fail("JSON 字符串没有结束");
        return std::nullopt;
      }
      const auto c = static_cast<unsigned char>(peek());
      if (c == '"') {
        ++pos_;
        return out;
      }
      if (c < 0x20) {
        fail("JSON 字符串中有未转义的控制字符");
        return std::nullopt;
      }
      if (c == '\\') {
        if (!readEscape(out)) return std::nullopt;
        continue;
      }
      char32_t codePoint = 0;
      const std::size_t length = utf8CharAt(text_, pos_, codePoint);
      if (length == 0) {
        fail("JSON 字符串不是有效的 UTF-8");
        return std::nullopt;
      }
      out.append(text_.substr(pos_, length));
      pos_ += length;
    }
  }

  bool readEscape(std::string& out) {
    ++pos_;
    if (atEnd()) {
      fail("JSON 字符串没有结束");
      return false;
    }
    const char kind = peek();
    ++pos_;
    switch (kind) {
      case '"': out += '"'; return true;
      case '\\': out += '\\'; return true;
      case '/': out += '/'; return true;
      case 'b': out += '\b'; return true;
      case 'f': out += '\f'; return true;
      case 'n': out += '\n'; return true;
      case 'r': out += '\r'; return true;
      case 't': out += '\t'; return true;
      case 'u': break;
      default:
        --pos_;
        fail("JSON 字符串中有无效的转义");
        return false;
    }
    const long first = readHex4();
    if (first < 0) {
      fail("JSON 的 \\u 转义后应为四位十六进制数");
      return false;
    }
    char32_t codePoint = static_cast<char32_t>(first);
    if (first >= 0xDC00 && first <= 0xDFFF) {
      fail("JSON 字符串中有不成对的代理项");
      return false;
    }
    if (first >= 0xD800 && first <= 0xDBFF) {
      // Only a low surrogate written right after completes the pair.
      if (text_.substr(pos_, 2) != "\\u") {
        fail("JSON 字符串中有不成对的代理项");
        return false;
      }
      pos_ += 2;
      const long second = readHex4();
      if (second < 0xDC00 || second > 0xDFFF) {
        fail("JSON 字符串中有不成对的代理项");
        return false;
      }
      codePoint = 0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) + (static_cast<char32_t>(second) - 0xDC00);
    }
    appendUtf8(out, codePoint);
    return true;
  }

  std::string_view text_;
  const Limits& limits_;
  std::size_t pos_ = 0;
  std::string error_;
};

void writeString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      char32_t codePoint = 0;
      const std::size_t length = utf8CharAt(text, i, codePoint);
      if (length == 0) {
        out += "\\ufffd";
        ++i;
      } else if (codePoint == 0x2028 || codePoint == 0x2029) {
        // Valid JSON, but a line break to older JavaScript parsers.
        out += codePoint == 0x2028 ? "\\u2028" : "\\u2029";
        i += length;
      } else {
        out.append(text.substr(i, length));
        i += length;
      }
      continue;
    }
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
    ++i;
  }
  out += '"';
}

void writeValue(std::string& out, const Value& value) {
  switch (value.type()) {
    case Value::Type::Null: out += "null"; return;
    case Value::Type::Bool: out += *value.asBool() ? "true" : "false"; return;
    case Value::Type::Number: out += value.asNumber()->text; return;
    case Value::Type::String: writeString(out, *value.asString()); return;
    case Value::Type::Array: {
      out += '[';
      bool first = true;
      for (const Value& item : *value.asArray()) {
        if (!first) out += ',';
        first = false;
        writeValue(out, item);
      }
      out += ']';
      return;
    }
    case Value::Type::Object: {
      out += '{';
      bool first = true;
      for (const auto& [name, member] : *value.asObject()) {
        if (!first) out += ',';
        first = false;
        writeString(out, name);
        out += ':';
        writeValue(out, member);
      }
      out += '}';
      return;
    }
  }
}

}  // namespace

Value Value::integer(std::int64_t value) { return Value(Number{std::to_string(value)}); }

std::optional<std::int64_t> Value::asInteger() const {
  const Number* number = asNumber();
  if (number == nullptr || number->text.find_first_of(".eE") != std::string::npos) return std::nullopt;
  std::int64_t value = 0;
  const char* begin = number->text.data();
  const char* end = begin + number->text.size();
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::optional<double> Value::asDouble() const {
  const Number* number = asNumber();
  if (number == nullptr) return std::nullopt;
  double value = 0;
  const char* begin = number->text.data();
  const char* end = begin + number->text.size();
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (stop != end) return std::nullopt;
  if (error == std::errc::result_out_of_range) {
    // Too small to tell from 0 reads as 0; too large has no double.
    const auto exponent = number->text.find_first_of("eE");
    if (exponent != std::string::npos && number->text[exponent + 1] == '-') return 0.0;
    return std::nullopt;
  }
  if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
  return value;
}

const Value* Value::find(std::string_view name) const {
  const Object* members = asObject();
  if (members == nullptr) return nullptr;
  for (const auto& [key, value] : *members) {
    if (key == name) return &value;
  }
  return nullptr;
}

ParseResult parse(std::string_view text, const Limits& limits) { return Reader(text, limits).run(); }

std::string write(const Value& value) {
  std::string out;
  writeValue(out, value);
  return out;
}

std::string quote(std::string_view text) {
  std::string out;
  writeString(out, text);
  return out;
}

}  // namespace decor::json
