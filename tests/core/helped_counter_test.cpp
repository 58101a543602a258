#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/helped_counter.h"
#include "recording_url_fetcher.h"
#include "text/codepage.h"

namespace decor {
namespace {

TEST(HelpedCounter, CaptionPutsTheCountBetweenTwoBlanks) {
  EXPECT_EQ(helpedCounterCaption("123"), "TarselCorvalen装饰公司报价评估工具 － 已帮助 123 位业主预算过报价！");
  EXPECT_EQ(helpedCounterCaption(""), "TarselCorvalen装饰公司报价评估工具 － 已帮助  位业主预算过报价！");
}

TEST(HelpedCounter, CountsTheVisitThenReadsTheGbkCountUpToItsFirstZeroByte) {
  RecordingUrlFetcher fetcher;
  const Endpoints endpoints = Endpoints::allAt("http://stats.test");
  fetcher.answer(endpoints.counterUrl(), std::string("12\r\n", 4) + std::string(1, '\0') + "99");
  EXPECT_EQ(fetchHelpedCount(fetcher, endpoints), "12\r\n");
  EXPECT_EQ(fetcher.requested, (std::vector<std::string>{"http://stats.test/bjtj/", "http://stats.test/bjtj/love.txt"}));

  fetcher.answer(endpoints.counterUrl(), utf8ToGbk("一万二"));
  EXPECT_EQ(fetchHelpedCount(fetcher, endpoints), "一万二");

  OfflineUrlFetcher offline;
  EXPECT_EQ(fetchHelpedCount(offline, endpoints), "");
}

}  // namespace
}  // namespace decor
