#pragma once
// How every call of the web API reads and answers: a JSON object in, a JSON object out, and
// on failure a status with {"message": a short Chinese text naming what was wrong}.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "json/json.h"
#include "server/web/web_edition.h"

namespace decor::web {

inline constexpr const char* kJsonType = "application/json; charset=utf-8";

// A refusal: the status, the message for the caller and the field it concerns (if one).
struct ApiError {
  ApiError(int status, std::string message, std::string field = {})
      : status(status), message(std::move(message)), field(std::move(field)) {}

  int status;
  std::string message;
  std::string field;
};

WebReply jsonReply(int status, const json::Value& body);
WebReply errorReply(const ApiError& error);

// Far above any estimate; the server's body limit is the real bound.
inline constexpr std::size_t kMaxJsonBytes = 64 * 1024;

// The body of a POST as a JSON object; the error names what is wrong with it.
std::variant<json::Value, ApiError> readJsonObject(std::string_view body, std::size_t maxBytes = kMaxJsonBytes);

// A field of an object, described for messages as its word on the page and its name
// ("室（bedrooms）").
struct Field {
  std::string_view name;
  std::string_view word;
  std::string described() const;
};

// An integer member within [minimum, maximum].
std::variant<std::int64_t, ApiError> integerField(const json::Value& object, const Field& field, std::int64_t minimum,
                                                  std::int64_t maximum);
// A string member ("" included).
std::variant<std::string, ApiError> stringField(const json::Value& object, const Field& field);

}  // namespace decor::web
