#include "server/intake/estimate_form.h"

#include <algorithm>
#include <array>

#include "net/form_encoding.h"
#include "text/replace_all.h"
#include "text/utf8.h"

namespace decor::server {

std::optional<std::string> percentDecode(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = hexDigitValue(text[i + 1]);
    const int low = hexDigitValue(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
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
                       .result = replaceAll(*values[1], "<br />", "\r\n")},
          {}};
}

}  // namespace decor::server
