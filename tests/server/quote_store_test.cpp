#include <gtest/gtest.h>

#include <fstream>

#include "server/inbox_listing.h"
#include "server/quote_store.h"
#include "server_test_support.h"

namespace decor::server {
namespace {

using QuoteStoreTest = TempFolderTest;

std::unique_ptr<QuoteStore> openStore(const std::filesystem::path& file, QuoteStore::Access access) {
  std::string error;
  auto store = QuoteStore::open(file, access, error);
  EXPECT_TRUE(store) << error;
  EXPECT_EQ(error, "");
  return store;
}

TEST_F(QuoteStoreTest, KeepsQuotesAndCountAcrossReopeningNewestFirst) {
  const auto file = folder_ / "new" / "company.sqlite3";  // the folder is created too
  const StoredQuote first{"2026-01-02 03:04:05", "a@b.cn", "13800138000", "第一行\r\n第二行"};
  const StoredQuote second{"2026-01-02 03:04:06", "c@d", "139", std::string("x\0y", 3)};
  {
    auto store = openStore(file, QuoteStore::Access::Serve);
    ASSERT_TRUE(store);
    EXPECT_EQ(store->visitCount(), 0);
    EXPECT_EQ(store->countVisit(), 1);
    EXPECT_EQ(store->countVisit(), 2);
    EXPECT_TRUE(store->addQuote(first));
    EXPECT_TRUE(store->addQuote(second));
  }
  auto store = openStore(file, QuoteStore::Access::Serve);
  ASSERT_TRUE(store);
  EXPECT_EQ(store->visitCount(), 2);
  EXPECT_EQ(store->countVisit(), 3);
  EXPECT_EQ(store->quotesNewestFirst(), (std::vector<StoredQuote>{second, first}));
}

TEST_F(QuoteStoreTest, ASecondServerIsRefusedWhileReadersAreWelcome) {
  const auto file = folder_ / "company.sqlite3";
  std::string error;
  EXPECT_FALSE(QuoteStore::open(file, QuoteStore::Access::Read, error));
  EXPECT_EQ(error, "数据库文件 " + file.string() + " 不存在");

  auto server = openStore(file, QuoteStore::Access::Serve);
  ASSERT_TRUE(server);
  EXPECT_FALSE(QuoteStore::open(file, QuoteStore::Access::Serve, error));
  EXPECT_EQ(error, "数据库文件 " + file.string() + " 正被另一个 decor-company-server 使用，不能同时启动两个服务器");

  const StoredQuote quote{"2026-01-02 03:04:05", "a@b", "1", "r"};
  ASSERT_TRUE(server->addQuote(quote));
  auto reader = openStore(file, QuoteStore::Access::Read);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->quotesNewestFirst(), std::vector<StoredQuote>{quote});

  server.reset();  // the claim ends with the server
  EXPECT_TRUE(openStore(file, QuoteStore::Access::Serve));
}

TEST_F(QuoteStoreTest, AFileThatIsNoDatabaseIsRefused) {
  const auto file = folder_ / "notes.txt";
  std::ofstream(file) << "这不是数据库，只是一段足够长的文字，用来占满文件头部的一百个字节。。。。。。。。。。。。。。。。";
  std::string error;
  EXPECT_FALSE(QuoteStore::open(file, QuoteStore::Access::Serve, error));
  EXPECT_TRUE(error.starts_with("数据库 " + file.string() + " 无法使用：")) << error;
}

// CSV quotes only the fields that need it; the text shows one block per quote.
TEST(InboxListing, CsvAndTextOfSomeQuotesAndOfNone) {
  EXPECT_EQ(inboxCsv({{"2026-01-02 03:04:06", "a,b@c", "139", "他说\"好\"\r\n下一行"},
                      {"2026-01-02 03:04:05", "x@y", "138", "一行"}}),
            "时间,邮箱,手机,报价内容\r\n"
            "2026-01-02 03:04:06,\"a,b@c\",139,\"他说\"\"好\"\"\r\n下一行\"\r\n"
            "2026-01-02 03:04:05,x@y,138,一行\r\n");
  EXPECT_EQ(inboxCsv({}), "时间,邮箱,手机,报价内容\r\n");
  EXPECT_EQ(inboxText({{"2026-01-02 03:04:06", "a@c", "139", "第一行\r\n第二行\r\n"},
                       {"2026-01-02 03:04:05", "x@y", "138", "单独的\r"}}),
            "时间：2026-01-02 03:04:06\n邮箱：a@c\n手机：139\n报价内容：\n第一行\n第二行\n\n"
            "\n"
            "时间：2026-01-02 03:04:05\n邮箱：x@y\n手机：138\n报价内容：\n单独的\r\n");
  EXPECT_EQ(inboxText({}), "没有收到报价。\n");
}

}  // namespace
}  // namespace decor::server
