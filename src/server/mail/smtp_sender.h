#pragma once
// Hands one message to the company's SMTP server with libcurl.
#include <chrono>
#include <memory>
#include <string>

namespace decor::server {

struct SmtpAccount {
  std::string url;  // smtp://host[:port] (STARTTLS required unless the host is this machine) or smtps://
  std::string user;  // empty: no AUTH
  std::string password;
  std::chrono::milliseconds connectLimit{10000};
  std::chrono::milliseconds transferLimit{60000};
};

struct SendOutcome {
  enum class Kind {
    Sent,
    Temporary,  // 4xx, no connection, a time-out: worth another try
    Permanent,  // 5xx: the server will not take this message
  };
  Kind kind = Kind::Temporary;
  std::string reply;  // the server's last reply line, or what went wrong before it spoke
};

// Keeps one libcurl handle, so consecutive messages reuse the connection. One thread at a time.
class SmtpSender {
 public:
  explicit SmtpSender(SmtpAccount account);
  ~SmtpSender();
  SmtpSender(const SmtpSender&) = delete;
  SmtpSender& operator=(const SmtpSender&) = delete;

  // `message` is the whole MIME text with CR LF lines; `from` and `to` plain addresses.
  SendOutcome send(const std::string& from, const std::string& to, const std::string& message);

 private:
  SmtpAccount account_;
  void* curl_;
};

// Whether the URL names an SMTP server on this machine, where plain SMTP stays local.
bool isLoopbackSmtp(const std::string& url);

}  // namespace decor::server
