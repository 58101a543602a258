#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/helped_counter.h"
#include "recording_url_fetcher.h"
#include "text/codepage.h"

namespace decor {
namespace {

TEST(HelpedCounter, CaptionPutsTheCountBetweenTwoBlanksAfterTheCompanyName) {
  struct Case {
    std::string company, count, caption, designText;
  };
  const std::vector<Case> cases = {
      {"TarselCorvalen装饰", "123", "TarselCorvalen装饰公司报价评估工具 － 已帮助 123 位业主预算过报价！",
       "TarselCorvalen装饰公司报价评估工具 － 已帮助位业主预算过报价"},
      {"TarselCorvalen装饰", "", "TarselCorvalen装饰公司报价评估工具 － 已帮助  位业主预算过报价！",
       "TarselCorvalen装饰公司报价评估工具 － 已帮助位业主预算过报价"},
      {"宁远家居", "7", "宁远家居公司报价评估工具 － 已帮助 7 位业主预算过报价！", "宁远家居公司报价评估工具 － 已帮助位业主预算过报价"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(helpedCounterCaption(c.company, c.count), c.caption);
    EXPECT_EQ(helpedCounterDesignText(c.company), c.designText);
  }
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
