#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "server/clock/time_text.h"
#include "server/intake/estimate_intake.h"
#include "server/staff/inbox_listing.h"
#include "server/storage/estimate_store.h"
#include "server_test_support.h"
#include "shell_command.h"

namespace decor::server {
namespace {

using EstimateStoreTest = TempFolderTest;

std::unique_ptr<EstimateStore> openStore(const std::filesystem::path& file, EstimateStore::Access access) {
  std::string error;
  auto store = EstimateStore::open(file, access, error);
  EXPECT_TRUE(store) << error;
  EXPECT_EQ(error, "");
  return store;
}

TEST_F(EstimateStoreTest, KeepsEstimatesAndCountAcrossReopeningNewestFirst) {
  const auto file = folder_ / "new" / "company.sqlite3";  // the folder is created too
  const StoredEstimate first{"2026-01-02 03:04:05", "a@b.cn", "13800138000", "第一行\r\n第二行"};
  const StoredEstimate second{"2026-01-02 03:04:06", "c@d", "139", std::string("x\0y", 3)};
  {
    auto store = openStore(file, EstimateStore::Access::Serve);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->visitCount(), 0);
    EXPECT_EQ(store->countVisit(), 1);
    EXPECT_EQ(store->countVisit(), 2);
    EXPECT_TRUE(store->addEstimate(first));
    EXPECT_TRUE(store->addEstimate(second));
  }
  auto store = openStore(file, EstimateStore::Access::Serve);
  ASSERT_TRUE(store);
  EXPECT_EQ(store->visitCount(), 2);
  EXPECT_EQ(store->countVisit(), 3);
  EXPECT_EQ(store->estimatesNewestFirst(), (std::vector<StoredEstimate>{second, first}));
}

TEST_F(EstimateStoreTest, ASecondServerIsRefusedWhileReadersAreWelcome) {
  const auto file = folder_ / "company.sqlite3";
  std::string error;
  EXPECT_FALSE(EstimateStore::open(file, EstimateStore::Access::Read, error));
  EXPECT_EQ(error, "数据库文件 " + file.string() + " 不存在");

  auto server = openStore(file, EstimateStore::Access::Serve);
  ASSERT_TRUE(server);
  EXPECT_FALSE(EstimateStore::open(file, EstimateStore::Access::Serve, error));
  EXPECT_EQ(error, "数据库文件 " + file.string() + " 正被另一个 decor-company-server 使用，不能同时启动两个服务器");

  const StoredEstimate estimate{"2026-01-02 03:04:05", "a@b", "1", "r"};
  ASSERT_TRUE(server->addEstimate(estimate));
  auto reader = openStore(file, EstimateStore::Access::Read);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->estimatesNewestFirst(), std::vector<StoredEstimate>{estimate});

  server.reset();  // the claim ends with the server
  EXPECT_TRUE(openStore(file, EstimateStore::Access::Serve));
}

TEST_F(EstimateStoreTest, AFileThatIsNoDatabaseIsRefused) {
  const auto file = folder_ / "notes.txt";
  std::ofstream(file) << "这不是数据库，只是一段足够长的文字，用来占满文件头部的一百个字节。。。。。。。。。。。。。。。。";
  std::string error;
  EXPECT_FALSE(EstimateStore::open(file, EstimateStore::Access::Serve, error));
  EXPECT_TRUE(error.starts_with("数据库 " + file.string() + " 无法使用：")) << error;
}

// CSV quotes only the fields that need it; the text shows one block per estimate.
// The double-send rule: an estimate equal in e-mail, phone and text to one accepted within
// the window is acknowledged and not stored again. The lookup goes by fingerprint; an earlier
// row is written by hand where a case needs a time or a fingerprint the intake would not write.
TEST_F(EstimateStoreTest, ASecondSendWithinTheWindowIsKeptOnceWhateverShareItsFingerprint) {
  const StoredEstimate sent{"2026-12-09 10:00:00", "ab@x.cn", "13800138000", "报价"};
  auto with = [&sent](std::string email, std::string phone, std::string result) {
    return StoredEstimate{sent.received, std::move(email), std::move(phone), std::move(result)};
  };
  const std::int64_t window = std::chrono::milliseconds(kRepeatWindow).count();
  struct Earlier {
    StoredEstimate estimate;
    std::int64_t ageMs;            // how long ago it was accepted
    const StoredEstimate* keyOf;   // whose fingerprint its row carries (its own when null)
  };
  struct Case {
    const char* what;
    Earlier earlier;
    StoredEstimate second;
    std::size_t stored;
  };
  const Case cases[] = {
      {"the same, a minute later", {sent, 60'000, nullptr}, sent, 1},
      {"the same, just inside the window", {sent, window - 5'000, nullptr}, sent, 1},
      {"the same, after the window", {sent, window + 1'000, nullptr}, sent, 2},
      {"another text", {sent, 60'000, nullptr}, with(sent.email, sent.phone, "报价2"), 2},
      {"another phone", {sent, 60'000, nullptr}, with(sent.email, "13800138001", sent.result), 2},
      {"another address", {sent, 60'000, nullptr}, with("AB@x.cn", sent.phone, sent.result), 2},
      {"text moved between fields", {sent, 60'000, nullptr}, with("ab@x.cn1", "3800138000", sent.result), 2},
      // A fingerprint two different estimates share: the texts decide.
      {"another estimate under the same fingerprint", {with("c@d.cn", "1", "x"), 60'000, &sent}, sent, 2},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto store = openStore(folder_ / std::to_string(++n) / "company.sqlite3", EstimateStore::Access::Serve);
    ASSERT_TRUE(store);
    const StoredEstimate& key = c.earlier.keyOf ? *c.earlier.keyOf : c.earlier.estimate;
    ASSERT_TRUE(store->transaction([&](Database& db) {
      const std::int64_t id = EstimateStore::insertEstimate(db, c.earlier.estimate);
      Statement row(db, "INSERT INTO estimate_intake (estimate_id, accepted_ms, fingerprint) VALUES (?1, ?2, ?3);");
      return row.bind(1, id)
          .bind(2, nowMilliseconds() - c.earlier.ageMs)
          .bind(3, estimateFingerprint(key.email, key.phone, key.result))
          .done();
    }));
    EstimateIntake intake(*store, std::nullopt, NumberLocations::builtIn());
    EXPECT_TRUE(intake.accept(c.second));
    EXPECT_EQ(store->estimatesNewestFirst().size(), c.stored);
  }
}

TEST(InboxListing, CsvAndTextOfSomeEstimatesAndOfNone) {
  EXPECT_EQ(inboxCsv({{"2026-01-02 03:04:06", "a,b@c", "139", "他说\"好\"\r\n下一行"},
                      {"2026-01-02 03:04:05", "x@y", "138", "一行"}}),
            "\xEF\xBB\xBF时间,邮箱,手机,报价内容\r\n"
            "2026-01-02 03:04:06,\"a,b@c\",139,\"他说\"\"好\"\"\r\n下一行\"\r\n"
            "2026-01-02 03:04:05,x@y,138,一行\r\n");
  EXPECT_EQ(inboxCsv({}), "\xEF\xBB\xBF时间,邮箱,手机,报价内容\r\n");
  EXPECT_EQ(inboxText({{"2026-01-02 03:04:06", "a@c", "139", "第一行\r\n第二行\r\n"},
                       {"2026-01-02 03:04:05", "x@y", "138", "单独的\r"}}),
            "时间：2026-01-02 03:04:06\n邮箱：a@c\n手机：139\n报价内容：\n  第一行\n  第二行\n\n"
            "\n"
            "时间：2026-01-02 03:04:05\n邮箱：x@y\n手机：138\n报价内容：\n  单独的\\r\n");
  EXPECT_EQ(inboxText({}), "没有收到报价。\n");
}

// Estimates built to attack the staff who read them: formulas for a spreadsheet, and records
// that would show a second, forged record in a terminal.
const std::vector<StoredEstimate> kHostileEstimates = {
    {"2026-01-02 03:04:09", "=HYPERLINK(\"http://x\",\"点我\")@x", "+86 138", "-2+3\r\n@SUM(A1)"},
    {"2026-01-02 03:04:08", "\tcmd@x", "'139", "\r=1+1\r\n'引号开头"},
    {"2026-01-02 03:04:07", "a@b", "138",
     "正文\r\n\r\n时间：2026-01-01 00:00:00\n邮箱：boss@x\r\n\x1b[2J\x1b[H清屏\x07\\反斜杠\xe2\x80\xae反向\xc2\x85"},
};

TEST(InboxListing, CsvFieldsNeverStartAFormulaAndReadBackThroughPythonsCsvModule) {
  EXPECT_EQ(inboxCsv(kHostileEstimates),
            "\xEF\xBB\xBF时间,邮箱,手机,报价内容\r\n"
            "2026-01-02 03:04:09,\"'=HYPERLINK(\"\"http://x\"\",\"\"点我\"\")@x\",'+86 138,\"'-2+3\r\n@SUM(A1)\"\r\n"
            "2026-01-02 03:04:08,'\tcmd@x,''139,\"'\r=1+1\r\n'引号开头\"\r\n"
            "2026-01-02 03:04:07,a@b,138,\"正文\r\n\r\n时间：2026-01-01 00:00:00\n邮箱：boss@x\r\n\x1b[2J\x1b[H清屏\x07\\"
            "反斜杠\xe2\x80\xae反向\xc2\x85\"\r\n");

  // What a spreadsheet reader sees, each field with its one leading "'" removed.
  const test::ScratchFolder scratch{"decor-inbox"};
  std::ofstream(scratch / "inbox.csv", std::ios::binary) << inboxCsv(kHostileEstimates);
  // Printed as the hex of each field's UTF-8, one record a line, so that every byte counts.
  const auto read = test::runShell(
      "/usr/bin/python3 -c 'import csv,sys\n"
      "for r in list(csv.reader(open(sys.argv[1], encoding=\"utf-8-sig\", newline=\"\")))[1:]:\n"
      "  print(\" \".join((f[1:] if f.startswith(chr(39)) else f).encode().hex() for f in r))' " +
      (scratch / "inbox.csv").string());
  ASSERT_EQ(read.exitCode, 0) << read.output;
  auto hex = [](const std::string& text) {
    std::string out;
    char digits[4];
    for (const unsigned char c : text) {
      std::snprintf(digits, sizeof digits, "%02x", c);
      out += digits;
    }
    return out;
  };
  std::string expected;
  for (const auto& e : kHostileEstimates) {
    expected += hex(e.received) + " " + hex(e.email) + " " + hex(e.phone) + " " + hex(e.result) + "\n";
  }
  EXPECT_EQ(read.output, expected);
}

TEST(InboxListing, TextShowsControlCharactersSoNoRecordLooksLikeTwo) {
  const std::string text = inboxText(kHostileEstimates);
  EXPECT_EQ(text.substr(text.rfind("时间：2026-01-02 03:04:07")),
            "时间：2026-01-02 03:04:07\n邮箱：a@b\n手机：138\n报价内容：\n"
            "  正文\n"
            "\n"
            "  时间：2026-01-01 00:00:00\\n邮箱：boss@x\n"
            "  \\x1B[2J\\x1B[H清屏\\x07\\\\反斜杠\\u{202E}反向\\u{0085}\n");
  // Every record starts a line with "时间："; nothing inside a record does.
  std::size_t starts = 0;
  for (std::size_t at = text.find("时间："); at != std::string::npos; at = text.find("时间：", at + 1)) {
    starts += at == 0 || text[at - 1] == '\n' ? 1 : 0;
  }
  EXPECT_EQ(starts, kHostileEstimates.size());
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_EQ(text.find('\x1b'), std::string::npos);
}

}  // namespace
}  // namespace decor::server
