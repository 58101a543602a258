#pragma once
// Sends the outbox's messages on a thread of its own, one at a time, oldest due first. The
// HTTP side only ever waits for the short database writes, never for the mail server.
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "server/mail/mail_config.h"
#include "server/storage/estimate_store.h"

namespace decor::server {

class DeliveryWorker {
 public:
  DeliveryWorker(EstimateStore& store, MailSettings mail);
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

  EstimateStore& store_;
  MailSettings mail_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool woken_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace decor::server
