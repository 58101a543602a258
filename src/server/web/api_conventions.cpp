#include "server/web/api_conventions.h"

namespace decor::web {
WebReply jsonReply(int status, const json::Value& body) {
  return WebReply{.status = status, .contentType = kJsonType, .body = json::write(body), .headers = {}};
}

WebReply errorReply(const ApiError& error) {
  json::Object body{{"message", error.message}};
  if (!error.field.empty()) body.emplace_back("field", error.field);
  return jsonReply(error.status, body);
}

std::variant<json::Value, ApiError> readJsonObject(std::string_view body, std::size_t maxBytes) {
  json::ParseResult parsed = json::parse(body, json::Limits{.maxBytes = maxBytes, .maxDepth = 16});
  if (!parsed.value) return ApiError{400, "请求不是有效的 JSON：" + parsed.error};
  if (parsed.value->asObject() == nullptr) return ApiError{400, "请求应为 JSON 对象"};
  return std::move(*parsed.value);
}

std::string Field::described() const { return std::string(word) + "（" + std::string(name) + "）"; }

std::variant<std::int64_t, ApiError> integerField(const json::Value& object, const Field& field, std::int64_t minimum,
                                                  std::int64_t maximum) {
  const json::Value* value = object.find(field.name);
  const std::string range = std::to_string(minimum) + " 到 " + std::to_string(maximum) + " 的整数";
  const std::string name(field.name);
  if (value == nullptr) return ApiError{400, "缺少" + field.described() + "，应为 " + range, name};
  const auto number = value->asInteger();
  if (!number || *number < minimum || *number > maximum) return ApiError{400, field.described() + "应为 " + range, name};
  return *number;
}

std::variant<std::string, ApiError> stringField(const json::Value& object, const Field& field) {
  const json::Value* value = object.find(field.name);
  const std::string name(field.name);
  if (value == nullptr) return ApiError{400, "缺少" + field.described(), name};
  const std::string* text = value->asString();
  if (text == nullptr) return ApiError{400, field.described() + "应为字符串", name};
  return *text;
}

}  // namespace decor::web
