// The whole system: the program's own windows, start-up and HTTP client against a
// decor-company-server process with a temporary database and price folder.
#include <gtest/gtest.h>
#include <signal.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/result_window.h"
#include "app/room_entry_window.h"
#include "estimate/quick_estimate.h"
#include "gui_test_support.h"
#include "quotation_rows/quote_build.h"
#include "quote_test_support.h"
#include "scratch_folder.h"
#include "server_process.h"
#include "shell_command.h"
#include "ui/picture_box.h"
#include "ui/picture_button.h"

namespace decor::test {
namespace {

const std::filesystem::path kServer = DECOR_SERVER_PATH;
const std::filesystem::path kMailCatcher = DECOR_MAIL_CATCHER;

// A result text with everything the form encoding has to carry through: Chinese, blanks,
// "%", "&", "+", "=", a comma for the CSV and a line break.
const std::string kSentText = "总价 100% 含税 & 运费 + 1=1，\r\n第二行：a+b&c";

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Staff start from the built-in prices and change one of each file.
    const auto written = decor::testing::runCommand(kServer, {"prices", "--write", prices().string()});
    ASSERT_EQ(written.code, 0) << written.output;
    editPriceFile("AppConfig.xml", "\"舒适型厨房主材\" value=\"7000\"", "\"舒适型厨房主材\" value=\"7777\"");
    editPriceFile("Xiangxi.xml", "\"实木门\" value=\"1480\"", "\"实木门\" value=\"1555\"");

    // The mail catcher of scripts/run.sh, on a port of its own.
    catcher_ = std::make_unique<decor::testing::ServerProcess>(
        kMailCatcher, std::vector<std::string>{"--folder", mail().string()});
    ASSERT_NE(catcher_->address(), "") << catcher_->output();
    server_ = std::make_unique<decor::testing::ServerProcess>(
        kServer, std::vector<std::string>{"--data", database().string(), "--prices", prices().string(), "--smtp",
                                          catcher_->address(), "--mail-from", "noreply@decor.test", "--sales-mail",
                                          "sales@decor.test"});
    ASSERT_NE(server_->address(), "") << server_->output();
    services_.endpoints = Endpoints::allAt(server_->address());
  }
  void TearDown() override {
    server_.reset();
    catcher_.reset();
    flushDeletes();
  }

  std::filesystem::path prices() const { return folder_ / "prices"; }
  std::filesystem::path database() const { return folder_ / "company.sqlite3"; }
  std::filesystem::path mail() const { return folder_ / "mail"; }

  // The time stamp of the one estimate received.
  std::string inboxTime() const {
    const auto inbox = decor::testing::runCommand(kServer, {"inbox", "--data", database().string(), "--csv"});
    const std::size_t row = inbox.output.find("\r\n") + 2;
    return inbox.output.substr(row, inbox.output.find(',', row) - row);
  }
  static std::string lf(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text;
  }

  // Each message the catcher kept: envelope recipients, subject and body, as Python reads them.
  std::string receivedMail() const {
    const std::string script =
        "import email, email.policy, glob, json, sys\n"
        "for p in sorted(glob.glob(sys.argv[1] + '/*.eml')):\n"
        "    m = email.message_from_bytes(open(p, 'rb').read(), policy=email.policy.default)\n"
        "    to = json.load(open(p[:-4] + '.json'))['to']\n"
        "    print(','.join(to), m['Subject'], m.get_content().replace('\\r\\n', '\\n'), sep='\\n', end='=====\\n')\n";
    return runShell("/usr/bin/python3 -c \"" + script + "\" '" + mail().string() + "'").output;
  }

  void editPriceFile(const std::string& name, const std::string& from, const std::string& to) {
    std::ifstream in(prices() / name, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << name << " lacks " << from;
    text.replace(at, from.size(), to);
    std::ofstream(prices() / name, std::ios::binary | std::ios::trunc) << text;
  }

  // The inbox as staff list it in CSV, the one estimate's time of arrival cut out.
  std::string inboxWithoutTime() const {
    const auto inbox = decor::testing::runCommand(kServer, {"inbox", "--data", database().string(), "--csv"});
    EXPECT_EQ(inbox.code, 0) << inbox.output;
    std::string csv = inbox.output;
    const std::size_t row = csv.find("\r\n") + 2;
    if (row <= csv.size()) csv.erase(row, csv.find(',', row) - row);
    return csv;
  }

  // The program's own services (its HTTP client), with every server at the test's server.
  AppServices services_ = AppServices::forDesktop();
  ScratchFolder folder_{"decor-e2e"};
  std::unique_ptr<decor::testing::ServerProcess> catcher_;
  std::unique_ptr<decor::testing::ServerProcess> server_;
};

// Sends from a result window and returns the outcome message shown.
QString sendFrom(ResultWindow& result, const QString& email, const QString& phone) {
  control<QLineEdit>(result, "编辑框2")->setText(email);
  control<QLineEdit>(result, "编辑框3")->setText(phone);
  ModalAnswerer answerer({QMessageBox::Ok});
  control<PictureButton>(result, "图形按钮1")->click();
  if (!waitUntil([&] { return answerer.seen().size() == 1; }, 20000)) return QStringLiteral("(no message)");
  EXPECT_EQ(result.windowTitle(), answerer.seen()[0].text);
  return answerer.seen()[0].text;
}

TEST_F(EndToEndTest, TheProgramWorksOnTheServedPricesSendsIntactAndOutlivesTheServer) {
  MainWindow window(services_);
  window.start();

  // Start-up: the visit is counted and the count shown; both price files are applied.
  ASSERT_TRUE(waitUntil(
      [&] {
        return control<QLabel>(window, "标签17")->text() ==
               QStringLiteral("TarselCorvalen装饰公司报价评估工具 － 已帮助 1 位业主预算过报价！");
      },
      20000))
      << control<QLabel>(window, "标签17")->text().toStdString();
  ASSERT_TRUE(waitUntil([&] { return services_.state->prices.itemPrice("实木门") == "1555"; }, 20000));
  EXPECT_EQ(services_.state->prices.estimatePrice("舒适型厨房主材"), 7777);
  EXPECT_EQ(services_.state->prices.estimatePrice("帖砖费用"), 35);  // served unchanged
  EXPECT_FALSE(control<PictureBox>(window, "图片框1")->pixmap().isNull());  // the chat status picture

  // A quick estimate prices the kitchen with the served value.
  QTest::mouseClick(control<PictureButton>(window, "按钮1"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return window.resultWindow() != nullptr; }, 20000));
  QuickEstimator expected;
  expected.run(window.estimateInput(), services_.state->prices.estimatePrices());
  EXPECT_EQ(window.resultWindow()->shownText(), resultWindowText(expected.resultText()));
  EXPECT_NE(window.resultWindow()->shownText().find("算厨房主材：7777元"), std::string::npos);
  window.resultWindow()->markSent();
  window.resultWindow()->close();
  ASSERT_TRUE(waitUntil([&] { return control<PictureButton>(window, "按钮1")->isEnabled(); }));
  flushDeletes();

  // A quotation prices the door with the served value.
  {
    ModalAnswerer answerer({QMessageBox::Yes});
    QTest::mouseClick(control<PictureButton>(window, "按钮2"), Qt::LeftButton);
  }
  RoomEntryWindow* rooms = window.roomEntryWindow();
  ASSERT_NE(rooms, nullptr);
  const RoomEntry room = livingRoom();
  enterRoom(*rooms, room);
  QTest::mouseClick(control<PictureButton>(*rooms, "按钮4"), Qt::LeftButton);
  ASSERT_EQ(roomRowsOf(*control<QTreeView>(*rooms, "超级列表框1")), std::vector<RoomEntry>{room});
  const std::vector<QuoteItem> quoted = quotationRowsOpenedBy(*control<PictureButton>(*rooms, "按钮5"));
  QuoteTable reference;
  buildRoomWorksAndFees(QuoteRequest{.rooms = {room}, .grade = "舒适型装修", .scope = PackageScope::Half,
                          .floor = FloorChoice::WoodenFloor},
             services_.state->prices.itemPrices(), reference);
  EXPECT_EQ(quoted, reference.rows());
  ASSERT_GT(quoted.size(), 4u);
  EXPECT_EQ(quoted[4], (QuoteItem{"4", "实木门", "扇", "1", "1555", "1555"}));
  {
    // Its room is in no file: closing asks, and 不保存 lets it go.
    ModalAnswerer letGo({QMessageBox::Discard});
    EXPECT_TRUE(rooms->close());
    EXPECT_EQ(letGo.seen().size(), 1u);
  }
  flushDeletes();

  // A send arrives with every field as typed and the text as shown (the result text and the
  // closing advice line, CR LF line breaks and all).
  auto result = std::make_unique<ResultWindow>(services_, kSentText);
  result->show();
  ASSERT_EQ(result->shownText().find('"'), std::string::npos);  // the CSV row below quotes it as is
  ASSERT_NE(result->shownText().find(kSentText), std::string::npos);
  EXPECT_EQ(sendFrom(*result, QStringLiteral("客户a+b&c=d@qq.com"), QStringLiteral("13800138000")),
            QStringLiteral("发送成功！"));
  // Sales hear of the lead; the text is not the estimator's, so no mail goes to the address.
  ASSERT_TRUE(waitUntil([&] { return receivedMail().starts_with("sales@decor.test\n"); }, 20000)) << receivedMail();
  EXPECT_EQ(receivedMail(), "sales@decor.test\n未验证的报价 — TarselCorvalen装饰\n未验证的报价\n\n时间：" +
                                inboxTime() + "\n邮箱：客户a+b&c=d@qq.com\n手机：13800138000\n号码归属地：北京\n"
                                "客户邮件：未发送（邮箱地址无效）\n"
                                "这份报价不是本公司估算软件生成的格式，只供销售核实，没有发给客户。\n\n报价内容：\n" +
                                lf(result->shownText()) + "\n=====\n");
  // The server notes the delivery just after the mail server took the mail.
  const std::string inbox = "\xEF\xBB\xBF时间,邮箱,手机,投递,报价内容\r\n,客户a+b&c=d@qq.com,13800138000,"
                            "客户邮件未发送（邮箱地址无效）；销售邮件已发送,\"" + result->shownText() + "\"\r\n";
  waitUntil([&] { return inboxWithoutTime() == inbox; }, 20000);
  EXPECT_EQ(inboxWithoutTime(), inbox);

  // The server goes away while the program runs: a send fails, the program carries on.
  EXPECT_EQ(server_->stop(SIGKILL), 128 + SIGKILL);
  EXPECT_EQ(sendFrom(*result, QStringLiteral("b@qq.com"), QStringLiteral("13900000000")), QStringLiteral("发送失败！"));
  result->markSent();
  result.reset();
  QTest::mouseClick(control<PictureButton>(window, "按钮1"), Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return window.resultWindow() != nullptr; }, 20000));
  EXPECT_EQ(window.resultWindow()->shownText(), resultWindowText(expected.resultText()));
  window.resultWindow()->markSent();
  window.resultWindow()->close();
  EXPECT_TRUE(waitUntil([&] { return control<PictureButton>(window, "按钮1")->isEnabled(); }));
}

}  // namespace
}  // namespace decor::test
