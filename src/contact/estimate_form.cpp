#include "contact/estimate_form.h"

#include <algorithm>
#include <array>

#include "contact/percent_encoding.h"
#include "text/replace_all.h"
#include "text/utf8.h"

namespace decor {
namespace {

constexpr std::string_view kLineBreak = "\r\n";
constexpr std::string_view kLineBreakTag = "<br />";

}  // namespace

std::string estimateFormBody(std::string_view email, std::string_view resultText, std::string_view phone) {
  std::string body = "email=";
  body += encodeForForm(email);
  body += "&result=";
  body += encodeForForm(replaceAll(resultText, kLineBreak, kLineBreakTag));
  body += "&tel=";
  body += encodeForForm(phone);
  return body;
}

FormParse parseEstimateForm(std::string_view body) {
  if (body.size() > kMaxFormBytes) return {std::nullopt, "表单超过 64 KiB"};

  static constexpr std::array<std::string_view, 3> kNames = {"email", "result", "tel"};
  std::array<std::optional<std::string>, 3> values;
  std::size_t start = 0;
  while (start <= body.size()) {
    const std::size_t end = std::min(body.find('&', start), body.size());
    const std::string_view field = body.substr(start, end - start);
    start = end + 1;
    const std::size_t eq = field.find('=');
    if (eq == std::string_view::npos) return {std::nullopt, "不是表单：字段缺少 \"=\""};
    const std::string_view name = field.substr(0, eq);
    for (std::size_t k = 0; k < kNames.size(); ++k) {
      if (name != kNames[k]) continue;
      if (values[k]) return {std::nullopt, "字段 " + std::string(name) + " 重复"};
      auto decoded = percentDecode(field.substr(eq + 1));
      if (!decoded) return {std::nullopt, "字段 " + std::string(name) + " 含有无效的 % 转义"};
      if (!isValidUtf8(*decoded)) return {std::nullopt, "字段 " + std::string(name) + " 不是有效的 UTF-8"};
      values[k] = std::move(*decoded);
    }
  }
  for (std::size_t k = 0; k < kNames.size(); ++k) {
    if (!values[k] || values[k]->empty()) return {std::nullopt, "缺少字段 " + std::string(kNames[k])};
  }
  return {EstimateForm{.email = std::move(*values[0]), .phone = std::move(*values[2]),
                       .result = replaceAll(*values[1], kLineBreakTag, kLineBreak)},
          {}};
}

}  // namespace decor
