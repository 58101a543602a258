#pragma once
// Sends the outbox's messages on a thread of its own, one at a time, oldest due first. The
// HTTP side only ever waits for the short database writes, never for the mail server.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "server/log/log_line.h"
#include "server/mail/mail_config.h"
#include "server/mail/mail_outbox.h"
#include "server/mail/smtp_sender.h"
#include "server/storage/estimate_store.h"

namespace decor::server {

class DeliveryWorker {
 public:
  // Hands one message to the mail server; SmtpSender's send unless a test puts another.
  using Send = std::function<SendOutcome(const std::string& from, const std::string& to, const std::string& message)>;
  // Whatever goes wrong while sending is told to `log` (one whole log line, without the
  // message), and the worker carries on after a pause; by default the line goes to stderr.
  DeliveryWorker(EstimateStore& store, MailSettings mail, std::function<void(const std::string&)> log = {},
                 Send send = {});
  ~DeliveryWorker();  // stops
  DeliveryWorker(const DeliveryWorker&) = delete;
  DeliveryWorker& operator=(const DeliveryWorker&) = delete;

  void start();
  // Any thread: a message was queued; look now instead of at the next planned time.
  void wake();
  // Lets a send under way finish, then ends the thread.
  void stop();

 private:
  void run();
  // One look at the outbox: sends what is due. How long to wait before the next look.
  std::chrono::milliseconds deliverDue(const Send& send, std::chrono::milliseconds nap);
  // Logs why sending pauses and returns the pause: `nap` at first, doubling while the
  // database stays unwritable, at most a minute.
  std::chrono::milliseconds holdOff(const std::string& why, std::chrono::milliseconds nap);
  void log(LogLevel level, const std::string& text) { log_(logLine(level, text)); }
  // A try that did not deliver, with the mail server's reply.
  void logFailure(const OutboxEntry& written);

  // A send the mail server took whose outcome could not be written. Nothing else is sent
  // until it is written: a database that cannot record sends would otherwise let every
  // pending message go out again and again. Worker thread only.
  struct Unrecorded {
    OutboxEntry entry;
    SendOutcome outcome;
    std::int64_t atMs = 0;
  };
  std::optional<Unrecorded> unrecorded_;
  std::chrono::milliseconds holdingOff_{0};  // worker thread only

  EstimateStore& store_;
  MailSettings mail_;
  std::function<void(const std::string&)> log_;
  Send send_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool woken_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace decor::server
