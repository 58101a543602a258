#pragma once
// Plausibility of an estimate's fields before it is stored: what the customer's program can
// send, and nothing that could turn a stored estimate against the staff who read it or the
// mail that carries it.
#include <string>
#include <string_view>

#include "server/intake/estimate_form.h"

namespace decor::server {

inline constexpr std::size_t kMaxPhoneChars = 20;

// Empty, or local-part "@" domain: dot-separated atoms of letters, digits, the characters
// RFC 5322 allows unquoted, and UTF-8; a domain of letter-digit-hyphen labels (UTF-8
// allowed). No blank, CR, LF, NUL or other control character can pass.
bool plausibleEmail(std::string_view email);
// Digits, blanks, "+" and "-", at most kMaxPhoneChars.
bool plausiblePhone(std::string_view phone);
// Empty when the estimate may be stored, else why not (for the reply and the log).
std::string implausibleField(const EstimateForm& form);

}  // namespace decor::server
