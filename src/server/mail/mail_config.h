#pragma once
// The server's mail settings: where it sends, as whom, and how patiently it retries.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "server/mail/smtp_sender.h"

namespace decor::server {

// After the n-th temporary failure the next try waits first × 2^(n-1), at most `longest`;
// a message not delivered `giveUp` after it was queued is failed.
struct RetryTiming {
  std::chrono::milliseconds first{std::chrono::minutes(1)};
  std::chrono::milliseconds longest{std::chrono::hours(1)};
  std::chrono::milliseconds giveUp{std::chrono::hours(48)};
};

struct MailSettings {
  SmtpAccount account;
  std::string from;     // the company's address, sender of every mail
  std::string sales;    // the sales mailbox: Reply-To of customer mails, recipient of leads
  std::string company;  // names the sender and the subjects
  RetryTiming retry;
};

struct MailOptions {
  std::optional<std::string> smtp, user, passwordFile, from, sales, company, retryFirst, retryLongest, giveUp;
};

// The serve command's help lines for these options.
extern const char* const kMailOptionsHelp;

// Moves the mail options and their values out of `args`; false with a message when one
// lacks its value.
bool takeMailOptions(std::vector<std::string>& args, MailOptions& options, std::string& error);

// Nothing when no SMTP URL is given (an empty one included): delivery is off. Nothing with
// `error` set when the options cannot be used.
std::optional<MailSettings> mailSettingsFrom(const MailOptions& options, std::string& error);

}  // namespace decor::server
