// A database written before the layout was versioned (the estimates in "quotes", the outbox
// and the intake pointing at them by quote_id) opens in today's server and reads as it did.
#include <gtest/gtest.h>

#include "server/clock/time_text.h"
#include "server/intake/estimate_intake.h"
#include "server/mail/mail_outbox.h"
#include "server/staff/inbox_listing.h"
#include "server/staff/outbox_listing.h"
#include "server/storage/database.h"
#include "server/storage/estimate_store.h"
#include "server_test_support.h"

namespace decor::server {
namespace {

// The tables exactly as the earlier server created them.
constexpr const char* kEarlierLayout =
    "CREATE TABLE quotes ( id INTEGER PRIMARY KEY AUTOINCREMENT, received TEXT NOT NULL, email TEXT NOT NULL,"
    " phone TEXT NOT NULL, result TEXT NOT NULL);"
    "CREATE TABLE counters (name TEXT PRIMARY KEY, value INTEGER NOT NULL);"
    "CREATE TABLE outbox ( id INTEGER PRIMARY KEY AUTOINCREMENT, quote_id INTEGER NOT NULL, kind TEXT NOT NULL,"
    " recipient TEXT NOT NULL, state TEXT NOT NULL, attempts INTEGER NOT NULL DEFAULT 0, queued_ms INTEGER NOT NULL,"
    " next_ms INTEGER NOT NULL, last_reply TEXT NOT NULL DEFAULT '', message TEXT NOT NULL);"
    "CREATE INDEX outbox_due ON outbox (state, next_ms);"
    "CREATE INDEX outbox_quote ON outbox (quote_id);"
    "CREATE INDEX outbox_customer ON outbox (recipient, queued_ms) WHERE kind = 'customer';"
    "CREATE TABLE quote_intake (quote_id INTEGER PRIMARY KEY, accepted_ms INTEGER NOT NULL);"
    "CREATE INDEX quote_intake_time ON quote_intake (accepted_ms);"
    "INSERT INTO counters VALUES ('visits', 7);";

class SchemaMigrationTest : public TempFolderTest {
 protected:
  std::filesystem::path file() const { return folder_ / "company.sqlite3"; }

  // The earlier server's file, with what it wrote for three estimates sent a minute ago.
  void writeEarlierFile() {
    std::string error;
    auto db = Database::open(file(), true, error);
    ASSERT_TRUE(db) << error;
    ASSERT_TRUE(db->execute(kEarlierLayout)) << db->errorMessage();
    const std::int64_t sent = nowMilliseconds() - 60'000;
    for (const StoredEstimate& e : estimates_) {
      Statement insert(*db, "INSERT INTO quotes (received, email, phone, result) VALUES (?1, ?2, ?3, ?4);");
      ASSERT_TRUE(insert.bind(1, e.received).bind(2, e.email).bind(3, e.phone).bind(4, e.result).done());
      const std::int64_t id = db->lastInsertId();
      ASSERT_TRUE(Statement(*db, "INSERT INTO quote_intake VALUES (?1, ?2);").bind(1, id).bind(2, sent).done());
      for (const char* kind : {kCustomerMail, kSalesMail}) {
        const bool customer = std::string(kind) == kCustomerMail;
        Statement mail(*db,
                       "INSERT INTO outbox (quote_id, kind, recipient, state, attempts, queued_ms, next_ms, last_reply,"
                       " message) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, 'm');");
        mail.bind(1, id).bind(2, std::string_view(kind)).bind(3, customer ? e.email : std::string("sales@decor.test"));
        mail.bind(4, customer ? (id == 2 ? "failed" : "withheld") : "pending").bind(5, std::int64_t{customer ? 0 : 4});
        mail.bind(6, sent).bind(7, kNextTry).bind(8, customer ? (id == 2 ? "550 no such user" : "报价内容未验证") : "");
        ASSERT_TRUE(mail.done()) << db->errorMessage();
      }
    }
  }

  static constexpr std::int64_t kNextTry = 1796837439882;
  const std::vector<StoredEstimate> estimates_{
      {"2026-12-09 17:30:36", "k@x.cn", "13800138000", "第1\r\n行2"},
      {"2026-12-09 17:30:36", "张@例子.cn", "139-0000", "=1+2,\"x\""},
      {"2026-12-09 17:30:37", "a@b.cn", "+86 138", "-x\r\ny"},
  };
};

TEST_F(SchemaMigrationTest, AnEarlierServersFileListsAsItDidAndServesOn) {
  writeEarlierFile();
  std::string error;
  auto store = EstimateStore::open(file(), EstimateStore::Access::Read, error);
  ASSERT_TRUE(store) << error;

  // What the earlier server's inbox --csv and outbox printed for this file.
  const auto inbox = inboxWithDelivery(estimatesWithMessages(*store).value());
  EXPECT_EQ(inboxCsv(inbox.estimates, &inbox.delivery),
            "\xEF\xBB\xBF时间,邮箱,手机,投递,报价内容\r\n"
            "2026-12-09 17:30:37,a@b.cn,'+86 138,客户邮件未发送（报价内容未验证）；销售邮件待发送（已尝试 4 次）,"
            "\"'-x\r\ny\"\r\n"
            "2026-12-09 17:30:36,张@例子.cn,139-0000,客户邮件发送失败；销售邮件待发送（已尝试 4 次）,\"'=1+2,\"\"x\"\"\"\r\n"
            "2026-12-09 17:30:36,k@x.cn,13800138000,客户邮件未发送（报价内容未验证）；销售邮件待发送（已尝试 4 次）,"
            "\"第1\r\n行2\"\r\n");
  const std::string next = localTimeText(kNextTry / 1000, kStampPattern);
  const auto undeliveredText = outboxText(undelivered(*store).value());
  EXPECT_EQ(undeliveredText.substr(0, undeliveredText.find("\n\n") + 1),
            "编号：2\n状态：待发送（已尝试 4 次）\n类型：销售邮件\n收件人：sales@decor.test\n报价时间：2026-12-09 17:30:36\n"
            "已尝试：4 次\n下次尝试：" + next + "\n最后回复：（无）\n");
  EXPECT_NE(undeliveredText.find("编号：3\n状态：发送失败\n类型：客户邮件\n收件人：张@例子.cn\n"), std::string::npos);
  EXPECT_EQ(store->visitCount(), 7);
  store.reset();

  // The server takes over: the second press of an earlier send is still known as one, and
  // new estimates and messages number on from the earlier ones.
  store = EstimateStore::open(file(), EstimateStore::Access::Serve, error);
  ASSERT_TRUE(store) << error;
  EstimateIntake intake(*store, std::nullopt, NumberLocations::builtIn());
  EXPECT_TRUE(intake.accept(estimates_[0]));
  EXPECT_EQ(store->estimatesNewestFirst().size(), 3u);
  const StoredEstimate fresh{"2026-12-09 18:00:00", "n@x.cn", "1", "new"};
  EXPECT_TRUE(intake.accept(fresh));
  const auto listed = estimatesWithMessages(*store).value();
  ASSERT_EQ(listed.size(), 4u);
  EXPECT_EQ(listed.front().estimate, fresh);
  EXPECT_EQ(listed.back().messages.size(), 2u);  // the first estimate keeps its messages
}

TEST_F(SchemaMigrationTest, AFileOfALaterLayoutIsRefused) {
  {
    std::string error;
    auto db = Database::open(file(), true, error);
    ASSERT_TRUE(db && db->execute("PRAGMA user_version = 99;"));
  }
  std::string error;
  EXPECT_FALSE(EstimateStore::open(file(), EstimateStore::Access::Read, error));
  EXPECT_EQ(error, "数据库 " + file().string() + " 无法使用：数据库由较新版本的 decor-company-server 写入（版本 99）");
}

}  // namespace
}  // namespace decor::server
