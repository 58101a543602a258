#pragma once
// The outbox as staff read it: each message's delivery state in words, the listing of what
// waits or failed, and the delivery column of the inbox.
#include <string>
#include <vector>

#include "server/mail/mail_outbox.h"

namespace decor::server {

// "已发送", "发送失败", "未发送（why）", "待发送" or "待发送（已尝试 n 次）".
std::string deliveryState(const OutboxEntry& entry);

// One block a message, a blank line between blocks; a sentence when there is none.
std::string outboxText(const std::vector<OutboxEntry>& entries);

// The estimates newest first with one delivery text each ("客户邮件…；销售邮件…"), for the
// inbox's listings.
struct InboxWithDelivery {
  std::vector<StoredEstimate> estimates;
  std::vector<std::string> delivery;
};
InboxWithDelivery inboxWithDelivery(const std::vector<EstimateWithMessages>& estimates);

}  // namespace decor::server
