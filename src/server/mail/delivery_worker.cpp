#include "server/mail/delivery_worker.h"

#include <exception>
#include <iostream>

#include "server/clock/time_text.h"
#include "server/mail/mail_outbox.h"
#include "server/mail/smtp_sender.h"

namespace decor::server {
namespace {

// A retry queued by staff from another process is seen within this time.
constexpr std::chrono::milliseconds kLongestNap{5000};

}  // namespace

DeliveryWorker::DeliveryWorker(EstimateStore& store, MailSettings mail, std::function<void(const std::string&)> log,
                               Send send)
    : store_(store), mail_(std::move(mail)), log_(std::move(log)), send_(std::move(send)) {
  if (!log_) log_ = [](const std::string& line) { std::cerr << line << std::endl; };
}

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
  const Send send = send_ ? send_ : [&sender](const std::string& from, const std::string& to,
                                              const std::string& message) { return sender.send(from, to, message); };
  const auto nap = std::min(kLongestNap, mail_.retry.first);
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      woken_ = false;
    }
    // Nothing a send throws may end the thread (and with it the process): the message
    // stays pending and is tried again after the pause.
    std::chrono::milliseconds wait = nap;
    try {
      wait = deliverDue(send, nap);
    } catch (const std::exception& e) {
      log_(std::string("decor-company-server: 邮件投递出错，稍后重试：") + e.what());
    } catch (...) {
      log_("decor-company-server: 邮件投递出错，稍后重试：未知错误");
    }
    if (wait.count() == 0) continue;
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, wait, [this] { return woken_ || stopping_; });
  }
}

std::chrono::milliseconds DeliveryWorker::deliverDue(const Send& send, std::chrono::milliseconds nap) {
  const auto next = nextPending(store_);
  const std::int64_t now = nowMilliseconds();
  if (next && next->nextMs <= now) {
    const SendOutcome outcome = send(mail_.from, next->recipient, next->message);
    // Written before the next message is looked at; a failed write leaves it pending, so
    // it is sent again (at least once, never lost).
    if (recordTry(store_, *next, outcome, nowMilliseconds(), mail_.retry)) return std::chrono::milliseconds(0);
  }
  if (next && next->nextMs > now) return std::min(nap, std::chrono::milliseconds(next->nextMs - now));
  return nap;
}

}  // namespace decor::server
