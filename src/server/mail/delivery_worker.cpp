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
// The longest pause while the database refuses to record a send.
constexpr std::chrono::milliseconds kLongestHoldOff{60000};

}  // namespace

DeliveryWorker::DeliveryWorker(EstimateStore& store, MailSettings mail, std::function<void(const std::string&)> log,
                               Send send)
    : store_(store), mail_(std::move(mail)), log_(std::move(log)), send_(std::move(send)) {
  if (!log_) log_ = [](const std::string& line) { std::cerr << line + "\n" << std::flush; };
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
      log(LogLevel::Error, std::string("邮件投递出错，稍后重试：") + e.what());
    } catch (...) {
      log(LogLevel::Error, "邮件投递出错，稍后重试：未知错误");
    }
    if (wait.count() == 0) continue;
    // While holding off, a new estimate's wake-up does not cut the pause short.
    const bool holding = holdingOff_.count() > 0;
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, wait, [this, holding] { return (woken_ && !holding) || stopping_; });
  }
}

// Staff see the recipient in `outbox` anyway; the log names the message by its number only.
void DeliveryWorker::logFailure(const OutboxEntry& written) {
  if (written.state == "sent") return;
  const std::string mail = "邮件 " + std::to_string(written.id) + " ";
  if (written.state == "pending") {
    log(LogLevel::Warning, mail + "第 " + std::to_string(written.attempts) + " 次发送未成功，稍后重试：" + written.lastReply);
  } else {
    log(LogLevel::Error, mail + "发送失败，不再重试：" + written.lastReply);
  }
}

std::chrono::milliseconds DeliveryWorker::holdOff(const std::string& why, std::chrono::milliseconds nap) {
  holdingOff_ = holdingOff_.count() == 0 ? nap : std::min(holdingOff_ * 2, kLongestHoldOff);
  log(LogLevel::Error, why + "；暂停发送 " + std::to_string(holdingOff_.count()) + " 毫秒");
  return holdingOff_;
}

std::chrono::milliseconds DeliveryWorker::deliverDue(const Send& send, std::chrono::milliseconds nap) {
  if (unrecorded_) {
    const Unrecorded& u = *unrecorded_;
    if (!recordTry(store_, u.entry, u.outcome, u.atMs, mail_.retry)) {
      return holdOff("邮件 " + std::to_string(u.entry.id) + " 的发送结果仍无法写入数据库（" + store_.lastError() + "）",
                     nap);
    }
    log(LogLevel::Info, "邮件 " + std::to_string(u.entry.id) + " 的发送结果已写入数据库，继续发送");
    unrecorded_.reset();
  }
  const auto next = nextPending(store_);
  const std::int64_t now = nowMilliseconds();
  if (next && next->nextMs <= now) {
    if (!claimTry(store_, *next, now, mail_.retry)) {
      return holdOff("无法写入数据库（" + store_.lastError() + "），邮件 " + std::to_string(next->id) + " 未发送", nap);
    }
    const SendOutcome outcome = send(mail_.from, next->recipient, next->message);
    const std::int64_t sentMs = nowMilliseconds();
    // Written before the next message is looked at. A failed write leaves it pending and
    // put off by claimTry: held here and written again before anything else is sent.
    OutboxEntry written;
    if (!recordTry(store_, *next, outcome, sentMs, mail_.retry, &written)) {
      unrecorded_ = Unrecorded{*next, outcome, sentMs};
      return holdOff("邮件 " + std::to_string(next->id) + " 已交给邮件服务器，但发送结果无法写入数据库（" +
                         store_.lastError() + "）",
                     nap);
    }
    holdingOff_ = std::chrono::milliseconds(0);
    logFailure(written);
    return std::chrono::milliseconds(0);
  }
  holdingOff_ = std::chrono::milliseconds(0);
  if (next && next->nextMs > now) return std::min(nap, std::chrono::milliseconds(next->nextMs - now));
  return nap;
}

}  // namespace decor::server
