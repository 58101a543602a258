#include "contact/contact_rules.h"

#include <algorithm>
#include <cstring>

namespace decor {
namespace {

constexpr std::size_t kMaxAddressBytes = 254;
constexpr std::size_t kMaxLocalPartBytes = 64;
constexpr std::size_t kMaxDomainLabelBytes = 63;

bool isAsciiAlnum(unsigned char c) { return (c >= '0' && c <= '9') || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z'); }

// Non-empty parts between single dots, every byte allowed by `allowed`.
template <typename Allowed>
bool dotSeparated(std::string_view text, std::size_t maxPart, Allowed allowed) {
  std::size_t start = 0;
  while (true) {
    const std::size_t dot = text.find('.', start);
    const std::string_view part = text.substr(start, dot == std::string_view::npos ? text.npos : dot - start);
    if (part.empty() || part.size() > maxPart) return false;
    for (std::size_t i = 0; i < part.size(); ++i) {
      if (!allowed(static_cast<unsigned char>(part[i]), i == 0 || i + 1 == part.size())) return false;
    }
    if (dot == std::string_view::npos) return true;
    start = dot + 1;
  }
}

bool containsAt(std::string_view email) { return email.find('@') != std::string_view::npos; }

// local-part "@" domain as the Intake rule describes it; the local part holds no "@", so the
// last "@" is the only one.
bool isAddressShaped(std::string_view email) {
  if (email.size() > kMaxAddressBytes) return false;
  const std::size_t at = email.rfind('@');
  if (at == std::string_view::npos) return false;
  const std::string_view local = email.substr(0, at);
  const std::string_view domain = email.substr(at + 1);
  const bool localOk = dotSeparated(local, kMaxLocalPartBytes, [](unsigned char c, bool) {
    return isAsciiAlnum(c) || c >= 0x80 || (c != 0 && std::strchr("!#$%&'*+/=?^_`{|}~-", c) != nullptr);
  }) && local.size() <= kMaxLocalPartBytes;
  const bool domainOk = dotSeparated(domain, kMaxDomainLabelBytes, [](unsigned char c, bool atEdge) {
    return isAsciiAlnum(c) || c >= 0x80 || (c == '-' && !atEdge);
  });
  return localOk && domainOk;
}

bool isAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

bool acceptableEmail(std::string_view email, EmailStrictness strictness) {
  // Each rule is the looser one and more, so that the nesting cannot come undone.
  const bool desktop = email.empty() || containsAt(email);
  if (strictness == EmailStrictness::DesktopBox) return desktop;
  const bool intake = desktop && (email.empty() || isAddressShaped(email));
  if (strictness == EmailStrictness::Intake) return intake;
  return intake && !email.empty() && isAscii(email);
}

bool isPhoneBoxText(std::string_view phone) {
  return phone.size() <= kPhoneBoxDigits &&
         std::all_of(phone.begin(), phone.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool plausiblePhone(std::string_view phone) {
  if (phone.size() > kMaxPhoneChars) return false;
  return std::all_of(phone.begin(), phone.end(),
                     [](char c) { return (c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-'; });
}

std::string implausibleField(const EstimateForm& form) {
  // The result needs no check of its own: the body limit bounds it, and the form parser
  // has made sure it is UTF-8.
  if (!acceptableEmail(form.email, EmailStrictness::Intake)) return "邮箱格式不正确";
  if (!plausiblePhone(form.phone)) return "手机号只能包含数字、空格、+ 和 -，最多 20 个字符";
  return {};
}

}  // namespace decor
