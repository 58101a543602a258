#pragma once
// The form that carries an estimate from the customer's program to the estimate server,
// written and read in one place: "email=…&result=…&tel=…", each value percent-encoded.
//
// What estimateFormBody writes, parseEstimateForm reads back field for field, with one
// exception: the result text's CR LF line breaks travel as "<br />", so a "<br />" that the
// text itself holds comes back as CR LF as well. Lone CR and lone LF travel as themselves.
// The parser refuses what the program never writes: an empty field, bytes that are not
// UTF-8, a body over kMaxFormBytes.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace decor {

inline constexpr std::size_t kMaxFormBytes = 64 * 1024;

// "email=" address "&result=" text "&tel=" number, each field encoded with encodeForForm, the
// text after its CR LF line breaks have become "<br />". Encoding the address and the number
// as well keeps an "&" or "=" in them from breaking (or forging) the form's fields.
std::string estimateFormBody(std::string_view email, std::string_view resultText, std::string_view phone);

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

// Reads the fields in any order, escapes in upper- or lower-case hex, "+" meaning "+" and not
// a blank. Refuses a body over kMaxFormBytes, a field without "=", a "%" without two hex
// digits, a field that is missing, empty or given twice, and a value that is not valid UTF-8
// once decoded. Other fields are ignored.
FormParse parseEstimateForm(std::string_view body);

}  // namespace decor
