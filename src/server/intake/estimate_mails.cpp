#include "server/intake/estimate_mails.h"

#include <string_view>

#include "deployment/deployment_values.h"
#include "server/mail/mail_message.h"

namespace decor::server {
namespace {

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

std::string domainOf(const std::string& address) { return address.substr(address.find('@') + 1); }

// The Message-ID's form is what mail clients and the tests thread by: keep it.
std::string messageId(std::int64_t estimateId, const char* kind, const MailSettings& mail) {
  return "quote-" + std::to_string(estimateId) + "." + kind + "@" + domainOf(mail.from);
}

}  // namespace

std::string customerMail(const MailSettings& mail, const StoredEstimate& estimate, std::int64_t estimateId,
                         std::int64_t nowMs) {
  return renderMessage({
      .fromName = mail.company,
      .from = mail.from,
      .to = estimate.email,
      .replyTo = mail.sales,
      .subject = "您的装修报价 — " + mail.company,
      .body = estimate.result + "\r\n\r\n-- \r\n" + mail.company + "\r\n热线：" DECOR_DEPLOY_HOTLINE "\r\n网站：" +
              std::string(DECOR_DEPLOY_WEBSITE) + "\r\n这封邮件是您在" + mail.company +
              "的装修报价软件中点击发送后寄出的；如果不是您本人操作，请忽略本邮件。\r\n",
      .messageId = messageId(estimateId, "customer", mail),
      .dateSeconds = nowMs / 1000,
  });
}

std::string salesMail(const MailSettings& mail, const Lead& lead, std::int64_t nowMs) {
  const StoredEstimate& estimate = lead.estimate;
  const std::string heading = lead.verified ? "新的报价咨询" : "未验证的报价";
  std::string body = heading + "\r\n\r\n时间：" + estimate.received + "\r\n邮箱：" + oneLine(estimate.email) +
                     "\r\n手机：" + oneLine(estimate.phone) + "\r\n号码归属地：" +
                     (lead.province ? *lead.province : std::string("未知")) + "\r\n客户邮件：" +
                     lead.customerMailState + "\r\n";
  if (!lead.verified) body += "这份报价不是本公司估算软件生成的格式，只供销售核实，没有发给客户。\r\n";
  body += "\r\n报价内容：\r\n" + estimate.result + "\r\n";
  return renderMessage({
      .fromName = mail.company,
      .from = mail.from,
      .to = mail.sales,
      .replyTo = lead.replyToCustomer ? estimate.email : std::string(),
      .subject = heading + " — " + mail.company,
      .body = body,
      .messageId = messageId(lead.estimateId, "sales", mail),
      .dateSeconds = nowMs / 1000,
  });
}

}  // namespace decor::server
