#include "server/intake/field_checks.h"

#include <cstring>

namespace decor::server {
namespace {

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

}  // namespace

bool plausibleEmail(std::string_view email) {
  if (email.empty()) return true;
  const std::size_t at = email.rfind('@');
  if (at == std::string_view::npos || email.size() > 254) return false;
  const std::string_view local = email.substr(0, at);
  const std::string_view domain = email.substr(at + 1);
  const bool localOk = local.size() <= 64 && dotSeparated(local, 64, [](unsigned char c, bool) {
    return isAsciiAlnum(c) || c >= 0x80 || (c != 0 && std::strchr("!#$%&'*+/=?^_`{|}~-", c) != nullptr);
  });
  const bool domainOk = dotSeparated(domain, 63, [](unsigned char c, bool atEdge) {
    return isAsciiAlnum(c) || c >= 0x80 || (c == '-' && !atEdge);
  });
  return localOk && domainOk;
}

bool plausiblePhone(std::string_view phone) {
  if (phone.size() > kMaxPhoneChars) return false;
  for (const char c : phone) {
    if (!((c >= '0' && c <= '9') || c == ' ' || c == '+' || c == '-')) return false;
  }
  return true;
}

std::string implausibleField(const EstimateForm& form) {
  // The result needs no check of its own: the body limit bounds it, and the form parser
  // has made sure it is UTF-8.
  if (!plausibleEmail(form.email)) return "邮箱格式不正确";
  if (!plausiblePhone(form.phone)) return "手机号只能包含数字、空格、+ 和 -，最多 20 个字符";
  return {};
}

}  // namespace decor::server
