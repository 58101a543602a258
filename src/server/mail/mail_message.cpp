#include "server/mail/mail_message.h"

#include <cstdio>

#include "contact/contact_rules.h"
#include "server/clock/time_text.h"
#include "text/utf8.h"

namespace decor::server {
namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64[(v >> 18) & 63];
    out += kBase64[(v >> 12) & 63];
    out += kBase64[(v >> 6) & 63];
    out += kBase64[v & 63];
  }
  if (i < bytes.size()) {
    const bool two = i + 1 < bytes.size();
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) |
                       (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
    out += kBase64[(v >> 18) & 63];
    out += kBase64[(v >> 12) & 63];
    out += two ? kBase64[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

bool isAsciiWord(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e || c == '=' || c == '?') {
      return false;
    }
  }
  return true;
}

// Encoded words of at most 45 bytes each (75 characters with their frame), never cutting a
// character in two; folded onto continuation lines.
std::string encodedWords(std::string_view text) {
  const std::string clean = withoutControls(text);
  if (isAsciiWord(clean) && clean.size() <= 60) return clean;
  std::string out;
  std::size_t start = 0;
  while (start < clean.size()) {
    std::size_t end = start;
    while (end < clean.size()) {
      const std::size_t next = end + decodeUtf8At(clean, end).length;
      if (next - start > 45) break;
      end = next;
    }
    if (!out.empty()) out += "\r\n ";
    out += "=?UTF-8?B?" + base64(clean.substr(start, end - start)) + "?=";
    start = end;
  }
  return out;
}

std::string rfc5322Date(std::int64_t seconds) {
  static constexpr const char* kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  // Day and month names in English whatever the locale, so not by strftime.
  const std::tm local = localCalendar(seconds);
  char out[64];
  std::snprintf(out, sizeof out, "%s, %02d %s %04d %s", kDays[local.tm_wday % 7], local.tm_mday,
                kMonths[local.tm_mon % 12], local.tm_year + 1900, localTimeText(seconds, "%H:%M:%S %z").c_str());
  return out;
}

// Every line break, whichever kind, becomes CR LF; the last line ends with one too.
std::string withCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16 + 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += "\r\n";
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  if (!out.ends_with("\r\n")) out += "\r\n";
  return out;
}

// The only kind of address this server ever puts into a header or an envelope.
bool isPlainAddress(std::string_view address) { return acceptableEmail(address, EmailStrictness::MailRecipient); }

std::string addressHeader(std::string_view address) { return isPlainAddress(address) ? std::string(address) : ""; }

}  // namespace

std::string withoutControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) out += c;
  }
  return out;
}

std::string renderMessage(const MailMessage& m) {
  std::string from = addressHeader(m.from);
  if (!m.fromName.empty()) from = encodedWords(m.fromName) + " <" + from + ">";
  std::string out;
  out += "Date: " + rfc5322Date(m.dateSeconds) + "\r\n";
  out += "From: " + from + "\r\n";
  out += "To: " + addressHeader(m.to) + "\r\n";
  if (isPlainAddress(m.replyTo)) out += "Reply-To: " + m.replyTo + "\r\n";
  out += "Subject: " + encodedWords(m.subject) + "\r\n";
  out += "Message-ID: <" + withoutControls(m.messageId) + ">\r\n";
  out += "MIME-Version: 1.0\r\n";
  out += "Content-Type: text/plain; charset=UTF-8\r\n";
  out += "Content-Transfer-Encoding: base64\r\n";
  // Sent by a program: no vacation replies, no loops with other robots.
  out += "Auto-Submitted: auto-generated\r\n";
  out += "X-Auto-Response-Suppress: All\r\n";
  out += "\r\n";
  const std::string body = base64(withCrLf(m.body));
  for (std::size_t i = 0; i < body.size(); i += 76) out += body.substr(i, 76) + "\r\n";
  return out;
}

}  // namespace decor::server
