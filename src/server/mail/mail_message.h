#pragma once
// One outgoing mail as the SMTP server receives it: UTF-8 text in MIME, the subject and the
// sender's name as RFC 2047 encoded words, the body in base64, CR LF after every line.
// Whatever the fields hold, no CR, LF or NUL reaches a header line.
#include <cstdint>
#include <string>
#include <string_view>

namespace decor::server {

struct MailMessage {
  std::string fromName;  // shown beside the sender's address
  std::string from;      // mail recipient addresses (contact_rules.h); anything else is left out
  std::string to;
  std::string replyTo;   // empty: no Reply-To
  std::string subject;
  std::string body;       // any line breaks; sent as CR LF
  std::string messageId;  // without the angle brackets
  std::int64_t dateSeconds = 0;  // since the epoch, written in the machine's time zone
};

// The text with every control character (CR, LF and NUL among them) taken out.
std::string withoutControls(std::string_view text);

std::string renderMessage(const MailMessage& message);

}  // namespace decor::server
