// The company's name is a deployment value: a build for another company shows its name in the
// counter text, the quotation window and the quotation's files, and nowhere the default name.
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/main_window.h"
#include "app/quotation_controller.h"
#include "app/quotation_window.h"
#include "app/quote_sharing.h"
#include "app/room_entry_window.h"
#include "gui_test_support.h"
#include "quote_test_support.h"

namespace decor::test {
namespace {

// Its UTF-16 bytes hold no "(", ")" or "\", so a PDF string keeps them unescaped.
const QString kCompany = QStringLiteral("宁远装饰");

class CompanyNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    services_.endpoints.companyName = kCompany.toStdString();
    services_.state->prices.resetToDefaults();
  }
  void TearDown() override { flushDeletes(); }

  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  AppServices services_ = testServices(fetcher_);
};

TEST_F(CompanyNameTest, CounterTextOfBothWindowsBeforeAndAfterTheCount) {
  const QString designText = kCompany + QStringLiteral("公司报价评估工具 － 已帮助位业主预算过报价");
  RoomEntryWindow rooms(services_, QStringLiteral("舒适型装修详细报价！"), [] { return std::string("舒适型装修"); },
                        nullptr);
  EXPECT_EQ(control<QLabel>(rooms, "标签17")->text(), designText);

  fetcher_->answer(services_.endpoints.counterUrl(), "42");
  MainWindow window(services_);
  QLabel* counter = control<QLabel>(window, "标签17");
  EXPECT_EQ(counter->text(), designText);
  window.start();
  EXPECT_TRUE(waitUntil(
      [&] { return counter->text() == kCompany + QStringLiteral("公司报价评估工具 － 已帮助 42 位业主预算过报价！"); }))
      << counter->text().toStdString();
  ASSERT_TRUE(waitUntil([&] { return fetcher_->finishedCount() >= 5; }));
}

TEST_F(CompanyNameTest, QuotationWindowTitleAboutTextAndSavedFile) {
  QuotationWindow window(services_, QuoteRequest{.rooms = {livingRoom()}, .grade = "舒适型装修"});
  EXPECT_EQ(window.windowTitle(), kCompany + QStringLiteral("——用心装点每一个家"));
  EXPECT_TRUE(control<QLabel>(window, "标签1")->text().startsWith(kCompany + QStringLiteral("\n用心装点每一个家\n")));

  QuotationController& controller = window.controller();
  controller.start();
  ASSERT_TRUE(waitUntil([&] { return !controller.building(); }));
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath(QStringLiteral("报价.pdf"));
  QSignalSpy finished(&controller.sharing(), &QuoteSharing::saveFinished);
  controller.sharing().save(QuoteFileFormat::Pdf, path);
  ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }, 10000));
  EXPECT_EQ(finished.at(0).at(1).toString(), QString());

  // The file names its maker: the company, as a PDF text string (UTF-16 big-endian).
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray utf16 = QByteArray("\xfe\xff", 2);
  for (const QChar c : kCompany) {
    utf16.append(static_cast<char>(c.unicode() >> 8));
    utf16.append(static_cast<char>(c.unicode() & 0xff));
  }
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(bytes.contains("/Creator (" + utf16 + ")"));
}

}  // namespace
}  // namespace decor::test
