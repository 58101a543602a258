#pragma once
// The form a customer's program posts to "/site/send": "email=…&result=…&tel=…", each value
// percent-encoded (upper- or lower-case hex), "+" meaning "+" and not a blank. The result
// text arrives with its line breaks written as "<br />".
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace decor::server {

inline constexpr std::size_t kMaxFormBytes = 64 * 1024;

struct EstimateForm {
  std::string email;
  std::string phone;
  std::string result;  // "<br />" turned back into "\r\n"

  bool operator==(const EstimateForm&) const = default;
};

struct FormParse {
  std::optional<EstimateForm> form;
  std::string error;  // why the body was refused; empty when `form` is set
};

// Refuses a body over kMaxFormBytes, a field without "=", a "%" without two hex digits, a
// field that is missing, empty or given twice, and a value that is not valid UTF-8 once
// decoded. Other fields are ignored.
FormParse parseEstimateForm(std::string_view body);

// Decodes "%XX" escapes; "+" and every other byte pass unchanged. Nothing on a broken escape.
std::optional<std::string> percentDecode(std::string_view text);

}  // namespace decor::server
