#pragma once
// Which e-mail addresses and phone numbers are acceptable, at each place that takes one.
//
// An address meets three rules of rising strictness, each one the one before it and more:
//
//   DesktopBox     the program's e-mail box: any text containing "@", and the empty box
//                  (the send itself asks for a missing address). Nothing else is checked:
//                  the customer is not to be turned away over an address the mail server
//                  might still take.
//   Intake         what the estimate server stores: empty, or local-part "@" domain. The
//                  local part is dot-separated atoms (no leading, trailing or doubled dot)
//                  of letters, digits, the characters RFC 5322 allows unquoted, and UTF-8;
//                  the domain is dot-separated labels of letters, digits and inner hyphens
//                  (UTF-8 allowed). At most 64 bytes before the "@", 254 in all, 63 a
//                  label. No blank, quote, CR, LF, NUL or other control character passes.
//   MailRecipient  what the server puts into a mail header or an SMTP envelope: an Intake
//                  address that is not empty and is plain ASCII.
//
// So every MailRecipient address is Intake-acceptable, and every Intake address is accepted
// by the desktop box; the converse fails for "a@b c" (desktop only) and "张@例子.中国"
// (intake, but no recipient).
#include <cstddef>
#include <string>
#include <string_view>

#include "contact/estimate_form.h"

namespace decor {

enum class EmailStrictness { DesktopBox, Intake, MailRecipient };

bool acceptableEmail(std::string_view email, EmailStrictness strictness);

// A phone number meets two rules, the second the looser:
//
//   isPhoneBoxText  what the program's phone box lets the customer type: ASCII digits only,
//                   at most kPhoneBoxDigits (a mainland mobile number).
//   plausiblePhone  what the estimate server stores: digits, blanks, "+" and "-", at most
//                   kMaxPhoneChars, room for another client's "+86 138-0013-8000".
//
// So whatever the box lets through, the server takes.
inline constexpr std::size_t kPhoneBoxDigits = 11;
inline constexpr std::size_t kMaxPhoneChars = 20;

bool isPhoneBoxText(std::string_view phone);
bool plausiblePhone(std::string_view phone);

// Empty when the estimate server may store the form, else why not (for the reply and the log).
std::string implausibleField(const EstimateForm& form);

}  // namespace decor
