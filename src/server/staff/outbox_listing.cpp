#include "server/staff/outbox_listing.h"

#include <utility>

#include "server/clock/time_text.h"

namespace decor::server {
namespace {

const char* kindLabel(const std::string& kind) { return kind == kCustomerMail ? "客户邮件" : "销售邮件"; }

}  // namespace

std::string deliveryState(const OutboxEntry& e) {
  if (e.state == "sent") return "已发送";
  if (e.state == "failed") return "发送失败";
  if (e.state == "withheld") return "未发送（" + e.lastReply + "）";
  return e.attempts == 0 ? "待发送" : "待发送（已尝试 " + std::to_string(e.attempts) + " 次）";
}

std::string outboxText(const std::vector<OutboxEntry>& entries) {
  if (entries.empty()) return "发件箱中没有待发送或发送失败的邮件。\n";
  std::string text;
  for (const OutboxEntry& e : entries) {
    if (!text.empty()) text += '\n';
    text += "编号：" + std::to_string(e.id) + "\n状态：" + deliveryState(e) + "\n类型：" + kindLabel(e.kind) +
            "\n收件人：" + e.recipient + "\n报价时间：" + e.estimateReceived + "\n已尝试：" +
            std::to_string(e.attempts) + " 次\n";
    if (e.state == "pending") text += "下次尝试：" + localTimeText(e.nextMs / 1000, kStampPattern) + "\n";
    text += "最后回复：" + (e.lastReply.empty() ? std::string("（无）") : e.lastReply) + "\n";
  }
  return text;
}

InboxWithDelivery inboxWithDelivery(const std::vector<EstimateWithMessages>& estimates) {
  InboxWithDelivery inbox;
  for (const auto& [estimate, messages] : estimates) {
    inbox.estimates.push_back(estimate);
    if (messages.empty()) {
      inbox.delivery.push_back("未投递（邮件投递未开启）");
      continue;
    }
    std::string state;
    for (const char* kind : {kCustomerMail, kSalesMail}) {
      // The last message of a kind speaks for it.
      const OutboxEntry* last = nullptr;
      for (const auto& message : messages) {
        if (message.kind == kind) last = &message;
      }
      if (last == nullptr) continue;
      if (!state.empty()) state += "；";
      state += std::string(kindLabel(kind)) + deliveryState(*last);
    }
    inbox.delivery.push_back(std::move(state));
  }
  return inbox;
}

}  // namespace decor::server
