// What the customer and the sales mailbox receive for each kind of estimate, sent through a
// real SMTP server and read back by Python's MIME parser; a send that throws; and the header
// lines of a message built from hostile fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <stdexcept>
#include <regex>

#include "estimate/quick_estimate.h"
#include "mail_test_support.h"
#include "deployment/deployment_values.h"
#include "server/mail/delivery_worker.h"
#include "server/mail/smtp_sender.h"
#include "server/storage/database.h"
#include "server/mail/mail_message.h"
#include "server/mail/mail_outbox.h"
#include "server/intake/estimate_intake.h"
#include "server_test_support.h"

namespace decor::server {
namespace {

std::string estimatorText(const QuickEstimateInput& input, const EstimatePrices& prices = EstimatePrices::defaults()) {
  QuickEstimator estimator;
  estimator.run(input, prices);
  return resultWindowText(estimator.resultText());
}

std::string withLf(std::string text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

const std::string kHeaderNames =
    "headers: Date, From, To, Reply-To, Subject, Message-ID, MIME-Version, Content-Type, "
    "Content-Transfer-Encoding, Auto-Submitted, X-Auto-Response-Suppress\n";

std::string customerMail(const std::string& to, int estimate, const std::string& result) {
  return "envelope: noreply@decor.test -> " + to + "\n" + kHeaderNames + "from: 测试装饰 <noreply@decor.test>\nto: " +
         to + "\nreply-to: sales@decor.test\nsubject: 您的装修报价 — 测试装饰\nmessage-id: <quote-" +
         std::to_string(estimate) +
         ".customer@decor.test>\ncontent-type: text/plain; utf-8\ntransfer-encoding: base64\n"
         "auto-submitted: auto-generated\ncrlf: yes yes\nbody:\n" +
         withLf(result) + "\n\n-- \n测试装饰\n热线：" DECOR_DEPLOY_HOTLINE "\n网站：" DECOR_DEPLOY_WEBSITE
         "\n这封邮件是您在测试装饰的装修报价软件中点击发送后寄出的；如果不是您本人操作，请忽略本邮件。\n=====\n";
}

struct Lead {
  int estimate;
  bool verified;
  std::string replyTo, email, phone, province, customer;
  std::string result;
};

std::string salesMail(const Lead& l) {
  const std::string heading = l.verified ? "新的报价咨询" : "未验证的报价";
  std::string headers = kHeaderNames;
  if (l.replyTo.empty()) headers.erase(headers.find("Reply-To, "), 10);
  return "envelope: noreply@decor.test -> sales@decor.test\n" + headers +
         "from: 测试装饰 <noreply@decor.test>\nto: sales@decor.test\nreply-to: " + l.replyTo + "\nsubject: " + heading +
         " — 测试装饰\nmessage-id: <quote-" + std::to_string(l.estimate) +
         ".sales@decor.test>\ncontent-type: text/plain; utf-8\ntransfer-encoding: base64\n"
         "auto-submitted: auto-generated\ncrlf: yes yes\nbody:\n" +
         heading + "\n\n时间：2026-12-09 10:00:00\n邮箱：" + l.email + "\n手机：" + l.phone + "\n号码归属地：" +
         l.province + "\n客户邮件：" + l.customer + "\n" +
         (l.verified ? "" : "这份报价不是本公司估算软件生成的格式，只供销售核实，没有发给客户。\n") +
         "\n报价内容：\n" + withLf(l.result) + "\n=====\n";
}

class MailDeliveryTest : public TempFolderTest {};

// The test company's mail through the SMTP server at `url`, retried after 0.1 s.
MailSettings testMail(const std::string& url) {
  MailSettings mail;
  mail.account.url = url;
  mail.from = "noreply@decor.test";
  mail.sales = "sales@decor.test";
  mail.company = "测试装饰";
  mail.retry.first = std::chrono::milliseconds(100);
  return mail;
}

TEST_F(MailDeliveryTest, EachEstimateGivesTheMailsItShould) {
  const std::string text = estimatorText({});
  QuickEstimateInput luxury;
  luxury.grade = "豪华型装修";
  luxury.halls = 0;
  luxury.area = "88";
  const std::string other = estimatorText(luxury);
  const std::string forged = text + "\r\n点击 http://evil.example 领取优惠";
  const std::string bcc = "a@x.cn\r\nBcc: victim@y.cn";
  const std::string phoneBcc = "1380013\r\nBcc: victim@y.cn";
  auto estimate = [](std::string email, std::string phone, std::string result) {
    return StoredEstimate{"2026-12-09 10:00:00", std::move(email), std::move(phone), std::move(result)};
  };
  const std::string queued = "已排队发送";

  struct Case {
    const char* what;
    std::vector<StoredEstimate> estimates;
    std::vector<std::string> mails;
  };
  const Case cases[] = {
      {"the estimator's result",
       {estimate("kehu@x.cn", "13800138000", text)},
       {customerMail("kehu@x.cn", 1, text),
        salesMail({1, true, "kehu@x.cn", "kehu@x.cn", "13800138000", "北京", queued, text})}},
      {"another grade and flat, unknown number block",
       {estimate("kehu@x.cn", "13012345678", other)},
       {customerMail("kehu@x.cn", 1, other),
        salesMail({1, true, "kehu@x.cn", "kehu@x.cn", "13012345678", "未知", queued, other})}},
      {"a Bcc line in the address",
       {estimate(bcc, "13800138000", text)},
       {salesMail({1, true, "", "a@x.cn\\r\\nBcc: victim@y.cn", "13800138000", "北京", "未发送（邮箱地址无效）", text})}},
      {"a Bcc line in the phone",
       {estimate("kehu@x.cn", phoneBcc, text)},
       {customerMail("kehu@x.cn", 1, text),
        salesMail({1, true, "kehu@x.cn", "kehu@x.cn", "1380013\\r\\nBcc: victim@y.cn", "北京", queued, text})}},
      {"a text the estimator did not write",
       {estimate("kehu@x.cn", "13800138000", forged)},
       {salesMail({1, false, "kehu@x.cn", "kehu@x.cn", "13800138000", "北京", "未发送（报价内容未验证）", forged})}},
      {"the same estimate sent twice",
       {estimate("kehu@x.cn", "13800138000", text), estimate("kehu@x.cn", "13800138000", text)},
       {customerMail("kehu@x.cn", 1, text),
        salesMail({1, true, "kehu@x.cn", "kehu@x.cn", "13800138000", "北京", queued, text})}},
      {"a fourth estimate to one address within a day",
       {estimate("kehu@x.cn", "13800138001", text), estimate("kehu@x.cn", "13800138002", text),
        estimate("KeHu@x.cn", "13800138003", text), estimate("kehu@x.cn", "13800138004", text)},
       {customerMail("kehu@x.cn", 1, text), customerMail("kehu@x.cn", 2, text), customerMail("KeHu@x.cn", 3, text),
        salesMail({1, true, "kehu@x.cn", "kehu@x.cn", "13800138001", "北京", queued, text}),
        salesMail({2, true, "kehu@x.cn", "kehu@x.cn", "13800138002", "北京", queued, text}),
        salesMail({3, true, "KeHu@x.cn", "KeHu@x.cn", "13800138003", "北京", queued, text}),
        salesMail({4, true, "kehu@x.cn", "kehu@x.cn", "13800138004", "北京",
                   "未发送（该邮箱 24 小时内已收到 3 封报价邮件）", text})}},
  };

  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto caseFolder = folder_ / std::to_string(++n);
    const auto catcher = startCatcher(caseFolder / "mail");
    ASSERT_NE(catcher->address(), "") << catcher->output();

    std::string error;
    auto store = EstimateStore::open(caseFolder / "company.sqlite3", EstimateStore::Access::Serve, error);
    ASSERT_TRUE(store) << error;
    const MailSettings mail = testMail(catcher->address());
    DeliveryWorker worker(*store, mail);
    EstimateIntake intake(*store, mail, NumberLocations::builtIn(), [&worker] { worker.wake(); });
    worker.start();
    for (const StoredEstimate& e : c.estimates) EXPECT_TRUE(intake.accept(e));

    EXPECT_TRUE(waitUntil([&] { return undelivered(*store).value().empty() && messagesIn(caseFolder / "mail") >= c.mails.size(); }));
    worker.stop();
    std::vector<std::string> expected = c.mails;
    std::sort(expected.begin(), expected.end());
    std::string all;
    for (const auto& m : expected) all += m;
    EXPECT_EQ(receivedMail(caseFolder / "mail"), all);
  }
}

// What a send throws is told once and ends neither the worker nor the message: it goes
// out on the next try.
TEST_F(MailDeliveryTest, AThrowingSendIsToldAndTheMessageGoesOutLater) {
  std::string error;
  auto store = EstimateStore::open(folder_ / "company.sqlite3", EstimateStore::Access::Serve, error);
  ASSERT_TRUE(store) << error;
  const MailSettings mail = testMail("");
  std::mutex mutex;
  std::vector<std::string> logged;
  int sends = 0;
  DeliveryWorker worker(
      *store, mail,
      [&](const std::string& line) {
        std::lock_guard lock(mutex);
        logged.push_back(line);
      },
      [&](const std::string&, const std::string&, const std::string&) {
        std::lock_guard lock(mutex);
        if (++sends == 1) throw std::runtime_error("磁盘已满");
        return SendOutcome{SendOutcome::Kind::Sent, "250 OK"};
      });
  EstimateIntake intake(*store, mail, NumberLocations::builtIn(), [&worker] { worker.wake(); });
  worker.start();
  // Not the estimator's text: the customer's copy is withheld, the lead for sales is queued.
  ASSERT_TRUE(intake.accept({"2026-01-02 03:04:05", "kehu@x.cn", "13800138001", "自己写的报价"}));
  EXPECT_TRUE(waitUntil([&] { return undelivered(*store).value().empty(); }));
  worker.stop();
  std::lock_guard lock(mutex);
  EXPECT_EQ(sends, 2);
  EXPECT_EQ(logged, std::vector<std::string>{"decor-company-server: 错误：邮件投递出错，稍后重试：磁盘已满"});
}

// A database that stops taking writes right after a send (as a full disk does): the worker
// sends nothing more until the outcome is written. Recovered in time, every mail went out once;
// stopped before that (the outcome lost), the mail goes out once more after its retry
// interval, never a third time.
TEST_F(MailDeliveryTest, ASendWhoseOutcomeCannotBeWrittenIsNotRepeated) {
  auto catcher = startCatcher(folder_ / "mail");
  ASSERT_NE(catcher->address(), "") << catcher->output();
  const auto file = folder_ / "company.sqlite3";
  std::string error;
  auto store = EstimateStore::open(file, EstimateStore::Access::Serve, error);
  ASSERT_TRUE(store) << error;
  auto saboteur = Database::open(file, false, error);
  ASSERT_TRUE(saboteur) << error;
  saboteur->setBusyTimeout(10000);
  const MailSettings mail = testMail(catcher->address());

  std::mutex mutex;
  std::vector<std::string> logged;
  bool armed = false;             // the next send makes the outbox unwritable
  std::string lostId;             // Message-ID of that send
  const auto log = [&](const std::string& line) {
    std::lock_guard lock(mutex);
    logged.push_back(line);
  };
  SmtpSender sender(mail.account);
  const auto send = [&](const std::string& from, const std::string& to, const std::string& message) {
    const SendOutcome outcome = sender.send(from, to, message);
    std::lock_guard lock(mutex);
    if (armed) {
      armed = false;
      std::smatch id;
      if (std::regex_search(message, id, std::regex("Message-ID: (<[^>]+>)"))) lostId = id[1];
      EXPECT_TRUE(saboteur->execute("CREATE TRIGGER full_disk BEFORE UPDATE ON outbox"
                                    " BEGIN SELECT RAISE(FAIL, 'database or disk is full'); END;"));
    }
    return outcome;
  };
  const auto holds = [&] {
    std::lock_guard lock(mutex);
    return std::count_if(logged.begin(), logged.end(), [](const std::string& line) {
      return line.find("database or disk is full") != std::string::npos;
    });
  };
  const auto arrivals = [&] {
    std::map<std::string, int> count;
    std::istringstream lines(receivedMail(folder_ / "mail", "--arrivals"));
    std::string id, to, ms;
    while (lines >> id >> to >> ms) ++count[id];
    return count;
  };
  const std::string text = estimatorText({});

  // Recovered while the server runs.
  auto worker = std::make_unique<DeliveryWorker>(*store, mail, log, send);
  EstimateIntake intake(*store, mail, NumberLocations::builtIn(), [&] { worker->wake(); });
  armed = true;
  worker->start();
  ASSERT_TRUE(intake.accept({"2026-01-02 03:04:05", "kehu@x.cn", "13800138001", text}));
  ASSERT_TRUE(waitUntil([&] { return holds() >= 3; }));
  EXPECT_EQ(messagesIn(folder_ / "mail"), 1u);
  ASSERT_TRUE(saboteur->execute("DROP TRIGGER full_disk;"));
  ASSERT_TRUE(waitUntil([&] { return undelivered(*store).value().empty() && messagesIn(folder_ / "mail") == 2; }));
  {
    std::lock_guard lock(mutex);
    EXPECT_EQ(logged.front(),
              "decor-company-server: 错误：邮件 1 已交给邮件服务器，但发送结果无法写入数据库"
              "（database or disk is full）；暂停发送 100 毫秒");
    EXPECT_EQ(logged.back(), "decor-company-server: 信息：邮件 1 的发送结果已写入数据库，继续发送");
    EXPECT_EQ(lostId, "<quote-1.customer@decor.test>");
  }

  // Stopped before the outcome could be written, started again with a writable database.
  {
    std::lock_guard lock(mutex);
    armed = true;
  }
  ASSERT_TRUE(intake.accept({"2026-01-02 03:04:06", "kehu2@x.cn", "13800138002", text}));
  const auto before = holds();
  ASSERT_TRUE(waitUntil([&] { return holds() > before; }));
  worker->stop();
  ASSERT_TRUE(saboteur->execute("DROP TRIGGER full_disk;"));
  worker = std::make_unique<DeliveryWorker>(*store, mail, log, send);
  worker->start();
  ASSERT_TRUE(waitUntil([&] { return undelivered(*store).value().empty() && messagesIn(folder_ / "mail") == 5; }));
  worker->stop();
  std::lock_guard lock(mutex);
  EXPECT_EQ(lostId, "<quote-2.customer@decor.test>");
  EXPECT_EQ(arrivals(), (std::map<std::string, int>{{"<quote-1.customer@decor.test>", 1},
                                                    {"<quote-1.sales@decor.test>", 1},
                                                    {"<quote-2.customer@decor.test>", 2},
                                                    {"<quote-2.sales@decor.test>", 1}}));
}

TEST(MailMessageTest, NoFieldAddsAHeaderLine) {
  using namespace std::string_literals;
  const std::string evil = "x\r\nBcc: victim@y.cn\nX-Evil: 1\r\0z"s;
  auto message = [](const std::function<void(MailMessage&)>& change) {
    MailMessage m;
    m.from = "a@b.cn";
    m.to = "c@d.cn";
    m.replyTo = "r@d.cn";
    m.subject = "s";
    m.body = "b";
    m.messageId = "m@b.cn";
    change(m);
    return m;
  };
  struct Case {
    const char* what;
    MailMessage message;
    std::string to, replyTo;
  };
  const Case cases[] = {
      {"name", message([&](MailMessage& m) { m.fromName = evil; }), "c@d.cn", "r@d.cn"},
      {"subject", message([&](MailMessage& m) { m.subject = evil + std::string(40, 'x') + "很长的标题，很长的标题，很长的标题"; }),
       "c@d.cn", "r@d.cn"},
      {"recipients", message([](MailMessage& m) {
         m.to = "c@d.cn\r\nBcc: victim@y.cn";
         m.replyTo = "r@d.cn\nCc: v@y.cn";
       }),
       "", ""},
      {"message id and body", message([&](MailMessage& m) {
         m.messageId = evil;
         m.body = evil;
       }),
       "c@d.cn", "r@d.cn"},
  };
  const std::regex headerLine(R"((Date|From|To|Reply-To|Subject|Message-ID|MIME-Version|Content-Type|)"
                              R"(Content-Transfer-Encoding|Auto-Submitted|X-Auto-Response-Suppress): [^\r\n\x00]*|)"
                              R"( =\?UTF-8\?B\?[A-Za-z0-9+/=]+\?=)");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = renderMessage(c.message);
    const std::string head = text.substr(0, text.find("\r\n\r\n") + 2);
    std::vector<std::string> names;
    std::size_t start = 0;
    std::string to, replyTo;
    while (start < head.size()) {
      const std::size_t end = head.find("\r\n", start);
      const std::string line = head.substr(start, end - start);
      EXPECT_TRUE(std::regex_match(line, headerLine)) << line;
      if (line[0] != ' ') names.push_back(line.substr(0, line.find(':')));
      if (line.starts_with("To: ")) to = line.substr(4);
      if (line.starts_with("Reply-To: ")) replyTo = line.substr(10);
      start = end + 2;
    }
    std::vector<std::string> expected{"Date", "From", "To", "Subject", "Message-ID", "MIME-Version", "Content-Type",
                                      "Content-Transfer-Encoding", "Auto-Submitted", "X-Auto-Response-Suppress"};
    if (!c.replyTo.empty()) expected.insert(expected.begin() + 3, "Reply-To");
    EXPECT_EQ(names, expected);
    EXPECT_EQ(to, c.to);
    EXPECT_EQ(replyTo, c.replyTo);
  }
}

}  // namespace
}  // namespace decor::server
