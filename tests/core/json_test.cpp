// The JSON reader and writer: what is accepted and how it is written back, what is refused,
// and the limits.
#include <gtest/gtest.h>

#include <string>

#include "json/json.h"

namespace decor::json {
namespace {

struct Case {
  std::string name;
  std::string text;
  // Written back compactly; empty when the text must be refused.
  std::string written;
};

TEST(Json, ReadsStrictlyAndWritesBackExactly) {
  const std::string deep = std::string(64, '[') + std::string(64, ']');
  const std::string tooDeep = std::string(65, '[') + std::string(65, ']');
  const Case cases[] = {
      // Accepted, with what the writer makes of it.
      {"object with blanks", " {\"a\" : 1 ,\t\"b\":[true,false,null]}\r\n", "{\"a\":1,\"b\":[true,false,null]}"},
      {"member order kept", "{\"z\":1,\"a\":2}", "{\"z\":1,\"a\":2}"},
      {"numbers keep their text", "[0,-0,3.50,1e5,-2.5E-3,12345678901234567890]",
       "[0,-0,3.50,1e5,-2.5E-3,12345678901234567890]"},
      {"escapes", R"(["\"\\\/\b\f\n\r\t"])", R"(["\"\\/\b\f\n\r\t"])"},
      {"control characters escaped on writing", "[\"\\u0001\\u001f\\u007f\"]", "[\"\\u0001\\u001f\\u007f\"]"},
      {"\\u escape of a Chinese character", "[\"\\u5BA4\\u5385\"]", "[\"室厅\"]"},
      {"surrogate pair", "[\"\\ud83c\\udfe0\"]", "[\"\xF0\x9F\x8F\xA0\"]"},
      {"UTF-8 as it is", "[\"精  装  修 ＡＢ\xF0\x9F\x8F\xA0\"]", "[\"精  装  修 ＡＢ\xF0\x9F\x8F\xA0\"]"},
      {"U+2028 written as an escape", "[\"\xE2\x80\xA8\"]", "[\"\\u2028\"]"},
      {"NUL by escape", "[\"a\\u0000b\"]", "[\"a\\u0000b\"]"},
      {"64 levels", deep, deep},
      {"scalar at the top", "\"x\"", "\"x\""},
      // Refused.
      {"empty", "", ""},
      {"blanks only", "  ", ""},
      {"trailing comma in object", "{\"a\":1,}", ""},
      {"trailing comma in array", "[1,]", ""},
      {"two values", "{} {}", ""},
      {"duplicate member", "{\"a\":1,\"a\":2}", ""},
      {"name not a string", "{a:1}", ""},
      {"single quotes", "['a']", ""},
      {"comment", "[1]//", ""},
      {"leading zero", "[01]", ""},
      {"plus sign", "[+1]", ""},
      {"bare point", "[1.]", ""},
      {"point first", "[.5]", ""},
      {"exponent without digits", "[1e]", ""},
      {"NaN", "[NaN]", ""},
      {"Infinity", "[-Infinity]", ""},
      {"truncated literal", "[tru]", ""},
      {"unterminated string", "[\"abc", ""},
      {"raw line feed in string", "[\"a\nb\"]", ""},
      {"unknown escape", R"(["\x41"])", ""},
      {"short \\u", R"(["\u12"])", ""},
      {"lone high surrogate", R"(["\ud83c"])", ""},
      {"high surrogate then letter", R"(["\ud83cx"])", ""},
      {"lone low surrogate", R"(["\udfe0"])", ""},
      {"two high surrogates", R"(["\ud83c\ud83c"])", ""},
      {"invalid UTF-8 byte", "[\"\xFF\"]", ""},
      {"overlong UTF-8", "[\"\xC0\xAF\"]", ""},
      {"UTF-8 surrogate", "[\"\xED\xA0\x80\"]", ""},
      {"UTF-8 beyond U+10FFFF", "[\"\xF4\x90\x80\x80\"]", ""},
      {"truncated UTF-8", "[\"\xE5\xAE\"]", ""},
      {"byte order mark", "\xEF\xBB\xBF{}", ""},
      {"65 levels", tooDeep, ""},
      {"unclosed object", "{\"a\":1", ""},
      {"missing colon", "{\"a\" 1}", ""},
  };
  for (const Case& c : cases) {
    const ParseResult result = parse(c.text);
    if (c.written.empty()) {
      EXPECT_FALSE(result.value) << c.name;
      EXPECT_FALSE(result.error.empty()) << c.name;
      continue;
    }
    ASSERT_TRUE(result.value) << c.name << ": " << result.error;
    EXPECT_EQ(write(*result.value), c.written) << c.name;
    // What the writer wrote reads back as the same value.
    const ParseResult again = parse(write(*result.value));
    ASSERT_TRUE(again.value) << c.name;
    EXPECT_EQ(*again.value, *result.value) << c.name;
  }
}

TEST(Json, ReadsNumbersAndBoundsWhatOneTextMayCost) {
  const auto number = [](const std::string& text) { return parse(text).value.value_or(Value()); };
  EXPECT_EQ(number("7").asInteger(), 7);
  EXPECT_EQ(number("-0").asInteger(), 0);
  EXPECT_EQ(number("7.0").asInteger(), std::nullopt);
  EXPECT_EQ(number("7e0").asInteger(), std::nullopt);
  EXPECT_EQ(number("9223372036854775808").asInteger(), std::nullopt);
  EXPECT_EQ(number("\"7\"").asInteger(), std::nullopt);
  EXPECT_EQ(number("2.5e2").asDouble(), 250.0);
  EXPECT_EQ(number("1e-400").asDouble(), 0.0);
  EXPECT_EQ(number("1e400").asDouble(), std::nullopt);

  EXPECT_TRUE(parse("[1]", {.maxBytes = 3, .maxDepth = 1}).value);
  EXPECT_FALSE(parse("[1] ", {.maxBytes = 3, .maxDepth = 1}).value);
  EXPECT_FALSE(parse("[[1]]", {.maxBytes = 10, .maxDepth = 1}).value);

  // The writer never lets a broken byte through, and quotes what it is given.
  EXPECT_EQ(quote("a\xFF" "b"), "\"a\\ufffdb\"");
  EXPECT_EQ(quote("</script>\"\\"), "\"</script>\\\"\\\\\"");
  EXPECT_EQ(write(Object{{"n", Value::integer(-42)}, {"s", "室"}, {"a", Array{nullptr, true}}}),
            "{\"n\":-42,\"s\":\"室\",\"a\":[null,true]}");
}

}  // namespace
}  // namespace decor::json
