#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../core/quick_estimate_expected.h"
#include "cli/commands.h"
#include "estimate/quick_estimate.h"
#include "pricing/price_defaults.h"

namespace decor::cli {
namespace {

struct Outcome {
  int code;
  std::string out;
  std::string err;
};

Outcome estimate(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int code = runEstimateCommand(args, out, err);
  return {code, out.str(), err.str()};
}

std::string calculatorText(const QuickEstimateInput& input, const EstimatePrices& prices = EstimatePrices::defaults()) {
  QuickEstimator estimator;
  estimator.run(input, prices);
  return estimator.resultText();
}

TEST(EstimateCommandTest, WithoutOptionsPrintsTheMainWindowDefault) {
  const Outcome run = estimate({});
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out, testing::kComfortDefaultResultText);
  EXPECT_EQ(run.err, "");
}

TEST(EstimateCommandTest, OptionsReachTheCalculator) {
  const Outcome run = estimate({"--bedrooms", "4", "--halls", "0", "--kitchens", "1", "--bathrooms", "2", "--balconies",
                                "0", "--area", "88", "--grade", "豪华型装修"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, calculatorText({4, 0, 1, 2, 0, "88", kGradeLuxury}));
  EXPECT_TRUE(run.out.starts_with("此面积的房子做为豪华型装修价格如下：\r\n\r\n客餐厅铺地板舒适装修的价格为：30198.7元\r\n"
                                  "客餐厅铺瓷砖半包装修的价格为：30198.7元\r\n\r\n客餐厅铺地板全包装修的价格为：70023.7元\r\n"
                                  "客餐厅铺瓷砖全包装修的价格为：73523.7元\r\n"));

  // Full-width digits, the largest count, and the grade under its short name.
  const Outcome wide = estimate({"--area", "１２０", "--bedrooms", "99", "--grade", "fine"});
  ASSERT_EQ(wide.code, 0) << wide.err;
  EXPECT_EQ(wide.out, calculatorText({99, 1, 1, 1, 2, "120", kGradeFine}));
  EXPECT_EQ(estimate({"--grade", "精  装  修", "--area", "120", "--bedrooms", "99"}).out, wide.out);
}

TEST(EstimateCommandTest, DegenerateFlatPrintsNoInfOrNan) {
  const Outcome run = estimate({"--bedrooms", "0", "--halls", "0", "--area", "0", "--grade", "rental"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, calculatorText({0, 0, 1, 1, 2, "0", kGradeRental}));
  EXPECT_NE(run.out.find("卧室面积为：0平方米\r\n"), std::string::npos);
}

class EstimatePricesFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("decor-estimate-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path folder_;
};

TEST_F(EstimatePricesFolderTest, PriceFileOverridesTheDefaults) {
  std::string file = "<configuration>\n  <appSettings>\n";
  for (const auto& entry : estimatePriceDefaults()) {
    std::string value = std::to_string(entry.value);
    if (entry.key == "舒适型衣柜") value = "1000000";
    if (entry.key == "帖砖费用") value = "40.9";
    file += "    <add key=\"" + std::string(entry.key) + "\" value=\"" + value + "\" />\n";
  }
  std::ofstream(folder_ / "AppConfig.xml", std::ios::binary) << file << "  </appSettings>\n</configuration>\n";

  const Outcome run = estimate({"--prices", folder_.string()});
  ASSERT_EQ(run.code, 0) << run.err;
  EstimatePrices prices = EstimatePrices::defaults();
  prices.set("舒适型衣柜", 1000000);
  prices.set("帖砖费用", 40);
  EXPECT_EQ(run.out, calculatorText({}, prices));
  EXPECT_TRUE(run.out.starts_with("此面积的房子做为舒适型装修价格如下：\r\n\r\n客餐厅铺地板舒适装修的价格为：3.29222e+006元\r\n"))
      << run.out.substr(0, 200);
}

TEST_F(EstimatePricesFolderTest, UnusableFolderFailsWithItsReason) {
  const Outcome run = estimate({"--prices", folder_.string()});
  EXPECT_EQ(run.code, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "decor-cli estimate: 价格文件夹 " + folder_.string() + " 中没有 AppConfig.xml 或 Xiangxi.xml\n");
}

TEST(EstimateCommandTest, HelpDocumentsEveryOption) {
  const Outcome help = estimate({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(estimate({"--area", "50", "-h"}).out, help.out);
  for (const char* option : {"--bedrooms N", "--halls N", "--kitchens N", "--bathrooms N", "--balconies N", "--area TEXT",
                             "--grade TEXT", "--prices DIR", "-h, --help", "0 到 99", "\"精  装  修\""})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST(EstimateCommandTest, UsageErrorsNameTheProblemAndPrintNothing) {
  const std::string usage = estimate({"--help"}).out;
  std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--rooms", "3"}, "未知选项 \"--rooms\""},
      {{"3"}, "未知选项 \"3\""},
      {{"--grade", "comfort", "--area"}, "选项 --area 缺少取值"},
      {{"--kitchens"}, "选项 --kitchens 缺少取值"},
      {{"--bedrooms", "x"}, "--bedrooms 需要 0 到 99 的整数，收到 \"x\""},
      {{"--halls", "-1"}, "--halls 需要 0 到 99 的整数，收到 \"-1\""},
      {{"--bathrooms", "100"}, "--bathrooms 需要 0 到 99 的整数，收到 \"100\""},
      {{"--balconies", "99999999999999999999"}, "--balconies 需要 0 到 99 的整数，收到 \"99999999999999999999\""},
      {{"--kitchens", "1.5"}, "--kitchens 需要 0 到 99 的整数，收到 \"1.5\""},
      {{"--bedrooms", ""}, "--bedrooms 需要 0 到 99 的整数，收到 \"\""},
      {{"--grade", "精装修"}, "未知的装修档次 \"精装修\""},
      {{"--prices", ""}, "--prices 需要一个文件夹，不能为空"},
  };
  for (const char* area : {"1e38", "1e999", "1000000.5", "-1", "－５"})
    cases.push_back({{"--area", area}, "--area 读出的面积须在 0 到 1000000 平方米之间，收到 \"" + std::string(area) + "\""});
  for (const auto& [args, message] : cases) {
    const Outcome run = estimate(args);
    EXPECT_EQ(run.code, 2) << message;
    EXPECT_EQ(run.out, "") << message;
    EXPECT_EQ(run.err, "decor-cli estimate: " + message + "\n\n" + usage);
  }
}

// The real binary: the bytes on standard output and the exit status.
TEST(EstimateCommandTest, ProgramWritesExactlyTheResultText) {
  FILE* pipe = ::popen(DECOR_CLI_PATH " estimate", "r");
  ASSERT_NE(pipe, nullptr);
  std::string out;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
  const int status = ::pclose(pipe);
  EXPECT_EQ(out, testing::kComfortDefaultResultText);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  const int bad = std::system(DECOR_CLI_PATH " estimate --bedrooms ten 2>/dev/null >/dev/null");
  EXPECT_TRUE(WIFEXITED(bad) && WEXITSTATUS(bad) == 2);
}

}  // namespace
}  // namespace decor::cli
