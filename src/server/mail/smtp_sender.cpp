#include "server/mail/smtp_sender.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstring>

namespace decor::server {
namespace {

struct Upload {
  const std::string* text;
  std::size_t sent = 0;
};

std::size_t readUpload(char* buffer, std::size_t size, std::size_t count, void* user) {
  auto* upload = static_cast<Upload*>(user);
  const std::size_t n = std::min(size * count, upload->text->size() - upload->sent);
  std::memcpy(buffer, upload->text->data() + upload->sent, n);
  upload->sent += n;
  return n;
}

int replyCode(const std::string& reply) {
  if (reply.size() < 3) return 0;
  for (int i = 0; i < 3; ++i) {
    if (reply[static_cast<std::size_t>(i)] < '0' || reply[static_cast<std::size_t>(i)] > '9') return 0;
  }
  return std::stoi(reply.substr(0, 3));
}

// The server's replies: the first refusal is what staff need to see, not the "221" of the
// QUIT that follows it.
struct Replies {
  std::string last;
  std::string refusal;
};

int keepReply(CURL*, curl_infotype type, char* data, std::size_t size, void* user) {
  if (type != CURLINFO_HEADER_IN) return 0;
  std::string line(data, size);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (line.empty()) return 0;
  auto* replies = static_cast<Replies*>(user);
  replies->last = line;
  if (replies->refusal.empty() && replyCode(line) >= 400) replies->refusal = line;
  return 0;
}

struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

}  // namespace

bool isLoopbackSmtp(const std::string& url) {
  for (const char* host : {"smtp://127.", "smtp://localhost", "smtp://[::1]"}) {
    if (url.starts_with(host)) return true;
  }
  return false;
}

SmtpSender::SmtpSender(SmtpAccount account) : account_(std::move(account)) {
  static const CURLcode ready = curl_global_init(CURL_GLOBAL_DEFAULT);
  (void)ready;
  curl_ = curl_easy_init();
}

SmtpSender::~SmtpSender() { curl_easy_cleanup(static_cast<CURL*>(curl_)); }

SendOutcome SmtpSender::send(const std::string& from, const std::string& to, const std::string& message) {
  CURL* curl = static_cast<CURL*>(curl_);
  if (curl == nullptr) return {SendOutcome::Kind::Temporary, "libcurl 无法初始化"};
  curl_easy_reset(curl);  // keeps the open connection

  std::unique_ptr<curl_slist, ListDeleter> recipients(curl_slist_append(nullptr, ("<" + to + ">").c_str()));
  const std::string sender = "<" + from + ">";
  Upload upload{&message};
  Replies replies;
  char error[CURL_ERROR_SIZE] = {};

  curl_easy_setopt(curl, CURLOPT_URL, account_.url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
  if (account_.url.starts_with("smtp://") && !isLoopbackSmtp(account_.url)) {
    curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
  }
  if (!account_.user.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, account_.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, account_.password.c_str());
  }
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, sender.c_str());
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients.get());
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, readUpload);
  curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
  curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(message.size()));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(account_.connectLimit.count()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(account_.transferLimit.count()));
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
  curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, keepReply);
  curl_easy_setopt(curl, CURLOPT_DEBUGDATA, &replies);

  const CURLcode code = curl_easy_perform(curl);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
  curl_easy_setopt(curl, CURLOPT_DEBUGDATA, nullptr);
  curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
  if (code == CURLE_OK) return {SendOutcome::Kind::Sent, replies.last};
  const std::string& reply = replies.refusal.empty() ? replies.last : replies.refusal;

  const std::string what = error[0] ? error : curl_easy_strerror(code);
  // A refused login is the configuration's fault, not the message's: it waits for the fix.
  if (code == CURLE_LOGIN_DENIED) return {SendOutcome::Kind::Temporary, reply.empty() ? what : reply};
  const int smtp = replyCode(reply);
  if (smtp >= 500 && smtp < 600) return {SendOutcome::Kind::Permanent, reply};
  return {SendOutcome::Kind::Temporary, reply.empty() || smtp < 400 ? what : reply};
}

}  // namespace decor::server
