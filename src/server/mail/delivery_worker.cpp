#include "server/mail/delivery_worker.h"

#include "server/clock/time_text.h"
#include "server/mail/mail_outbox.h"
#include "server/mail/smtp_sender.h"

namespace decor::server {
namespace {

// A retry queued by staff from another process is seen within this time.
constexpr std::chrono::milliseconds kLongestNap{5000};

}  // namespace

DeliveryWorker::DeliveryWorker(EstimateStore& store, MailSettings mail) : store_(store), mail_(std::move(mail)) {}

DeliveryWorker::~DeliveryWorker() { stop(); }

void DeliveryWorker::start() { thread_ = std::thread([this] { run(); }); }

void DeliveryWorker::wake() {
  {
    std::lock_guard lock(mutex_);
    woken_ = true;
  }
  changed_.notify_one();
}

void DeliveryWorker::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_one();
  if (thread_.joinable()) thread_.join();
}

void DeliveryWorker::run() {
  SmtpSender sender(mail_.account);
  const auto nap = std::min(kLongestNap, mail_.retry.first);
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      woken_ = false;
    }
    const auto next = nextPending(store_);
    const std::int64_t now = nowMilliseconds();
    if (next && next->nextMs <= now) {
      const SendOutcome outcome = sender.send(mail_.from, next->recipient, next->message);
      // Written before the next message is looked at; a failed write leaves it pending, so
      // it is sent again (at least once, never lost).
      if (recordTry(store_, *next, outcome, nowMilliseconds(), mail_.retry)) continue;
    }
    auto wait = nap;
    if (next && next->nextMs > now) wait = std::min(wait, std::chrono::milliseconds(next->nextMs - now));
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, wait, [this] { return woken_ || stopping_; });
  }
}

}  // namespace decor::server
