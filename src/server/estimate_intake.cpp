#include "server/estimate_intake.h"

#include <sqlite3.h>

#include "deployment/deployment_values.h"
#include "server/mail_message.h"
#include "server/mail_outbox.h"
#include "server/result_shape.h"

namespace decor::server {
namespace {

constexpr const char* kIntakeSchema =
    "CREATE TABLE IF NOT EXISTS quote_intake (quote_id INTEGER PRIMARY KEY, accepted_ms INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS quote_intake_time ON quote_intake (accepted_ms);";

constexpr std::int64_t kDayMs = 24 * 60 * 60 * 1000;

// A field shown on one line of a mail body: control characters written out, so that staff
// see an injection attempt instead of its effect.
std::string oneLine(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (byte < 0x20 || byte == 0x7f) out += std::string("\\x") + kHex[byte >> 4] + kHex[byte & 15];
    else out += c;
  }
  return out;
}

bool isRepeat(sqlite3* db, const StoredEstimate& estimate, std::int64_t sinceMs) {
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db,
                     "SELECT 1 FROM quote_intake i JOIN quotes q ON q.id = i.quote_id WHERE i.accepted_ms >= ?1"
                     " AND q.email = ?2 AND q.phone = ?3 AND q.result = ?4 LIMIT 1;",
                     -1, &stmt, nullptr);
  if (stmt == nullptr) return false;
  sqlite3_bind_int64(stmt, 1, sinceMs);
  sqlite3_bind_text(stmt, 2, estimate.email.data(), static_cast<int>(estimate.email.size()), SQLITE_TRANSIENT);
  sqlite3_bind_text(stmt, 3, estimate.phone.data(), static_cast<int>(estimate.phone.size()), SQLITE_TRANSIENT);
  sqlite3_bind_text(stmt, 4, estimate.result.data(), static_cast<int>(estimate.result.size()), SQLITE_TRANSIENT);
  const bool found = sqlite3_step(stmt) == SQLITE_ROW;
  sqlite3_finalize(stmt);
  return found;
}

bool noteAccepted(sqlite3* db, std::int64_t estimateId, std::int64_t nowMs) {
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO quote_intake (quote_id, accepted_ms) VALUES (?1, ?2);", -1, &stmt, nullptr);
  if (stmt == nullptr) return false;
  sqlite3_bind_int64(stmt, 1, estimateId);
  sqlite3_bind_int64(stmt, 2, nowMs);
  const bool done = sqlite3_step(stmt) == SQLITE_DONE;
  sqlite3_finalize(stmt);
  return done;
}

std::string domainOf(const std::string& address) { return address.substr(address.find('@') + 1); }

}  // namespace

EstimateIntake::EstimateIntake(EstimateStore& store, std::optional<MailSettings> mail, NumberLocations locations,
                               std::function<void()> queued)
    : store_(store), mail_(std::move(mail)), locations_(std::move(locations)), queued_(std::move(queued)) {}

bool EstimateIntake::prepare() {
  return prepareOutbox(store_) && store_.transaction([](sqlite3* db) {
    return sqlite3_exec(db, kIntakeSchema, nullptr, nullptr, nullptr) == SQLITE_OK;
  });
}

bool EstimateIntake::accept(const StoredEstimate& estimate) {
  bool queued = false;
  const bool kept = store_.transaction([&](sqlite3* db) {
    const std::int64_t now = nowMilliseconds();
    if (isRepeat(db, estimate, now - std::chrono::milliseconds(kRepeatWindow).count())) return true;
    const std::int64_t id = EstimateStore::insertEstimate(db, estimate);
    if (id < 0 || !noteAccepted(db, id, now)) return false;
    if (!mail_) return true;
    queued = queueMails(db, id, estimate, now);
    return queued;
  });
  if (kept && queued && queued_) queued_();
  return kept;
}

bool EstimateIntake::queueMails(sqlite3* db, std::int64_t estimateId, const StoredEstimate& estimate, std::int64_t nowMs) {
  const MailSettings& mail = *mail_;
  const bool verified = isEstimatorResult(estimate.result);
  const bool plainAddress = isPlainAddress(estimate.email);
  const std::string id = std::to_string(estimateId);
  const std::string domain = domainOf(mail.from);

  // Only the stored address itself, checked, ever becomes the customer mail's recipient.
  OutboxEntry customer;
  customer.estimateId = estimateId;
  customer.kind = kCustomerMail;
  customer.recipient = estimate.email;
  customer.state = "pending";
  customer.queuedMs = customer.nextMs = nowMs;
  if (!plainAddress) {
    customer.state = "withheld";
    customer.lastReply = "邮箱地址无效";
  } else if (!verified) {
    customer.state = "withheld";
    customer.lastReply = "报价内容未验证";
  } else if (customerMailsSince(db, estimate.email, nowMs - kDayMs) >= kCustomerMailsPerDay) {
    customer.state = "withheld";
    customer.lastReply = "该邮箱 24 小时内已收到 " + std::to_string(kCustomerMailsPerDay) + " 封报价邮件";
  } else {
    customer.message = renderMessage({
        .fromName = mail.company,
        .from = mail.from,
        .to = estimate.email,
        .replyTo = mail.sales,
        .subject = "您的装修报价 — " + mail.company,
        .body = estimate.result + "\r\n\r\n-- \r\n" + mail.company + "\r\n热线：" DECOR_DEPLOY_HOTLINE "\r\n网站：" +
                std::string(DECOR_DEPLOY_WEBSITE) + "\r\n这封邮件是您在" + mail.company +
                "的装修报价软件中点击发送后寄出的；如果不是您本人操作，请忽略本邮件。\r\n",
        .messageId = "quote-" + id + ".customer@" + domain,
        .dateSeconds = nowMs / 1000,
    });
  }
  if (!queueMessage(db, customer)) return false;

  const std::string heading = verified ? "新的报价咨询" : "未验证的报价";
  const auto province = locations_.provinceOf(estimate.phone.substr(0, std::min<std::size_t>(7, estimate.phone.size())));
  std::string body = heading + "\r\n\r\n时间：" + estimate.received + "\r\n邮箱：" + oneLine(estimate.email) +
                     "\r\n手机：" + oneLine(estimate.phone) + "\r\n号码归属地：" +
                     (province ? *province : std::string("未知")) + "\r\n客户邮件：" +
                     (customer.state == "pending" ? std::string("已排队发送") : "未发送（" + customer.lastReply + "）") +
                     "\r\n";
  if (!verified) body += "这份报价不是本公司估算软件生成的格式，只供销售核实，没有发给客户。\r\n";
  body += "\r\n报价内容：\r\n" + estimate.result + "\r\n";
  OutboxEntry sales;
  sales.estimateId = estimateId;
  sales.kind = kSalesMail;
  sales.recipient = mail.sales;
  sales.state = "pending";
  sales.queuedMs = sales.nextMs = nowMs;
  sales.message = renderMessage({
      .fromName = mail.company,
      .from = mail.from,
      .to = mail.sales,
      .replyTo = plainAddress ? estimate.email : std::string(),
      .subject = heading + " — " + mail.company,
      .body = body,
      .messageId = "quote-" + id + ".sales@" + domain,
      .dateSeconds = nowMs / 1000,
  });
  return queueMessage(db, sales);
}

}  // namespace decor::server
