#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/price_folder.h"

namespace decor::cli {
namespace {

class PriceFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("decor-prices-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    table_.resetToDefaults();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void write(const std::string& name, const std::string& text) { std::ofstream(folder_ / name, std::ios::binary) << text; }

  std::filesystem::path folder_;
  PriceTable table_;
  std::string error_;
};

TEST_F(PriceFolderTest, AppliesTheFilesThatArePresent) {
  write("AppConfig.xml", R"(<appSettings><add key="帖砖费用" value="40.9" /></appSettings>)");
  ASSERT_TRUE(applyPriceFolder(table_, folder_, error_)) << error_;
  EXPECT_EQ(table_.estimatePrice("帖砖费用"), 40);
  EXPECT_EQ(table_.estimatePrice("门槛石"), 0);        // the file lacks it
  EXPECT_EQ(table_.itemPrice("实木门"), "1480");      // no Xiangxi.xml: defaults stay
}

TEST_F(PriceFolderTest, RefusesAFolderWithoutPriceFilesOrAFileWithoutTheMarker) {
  EXPECT_FALSE(applyPriceFolder(table_, folder_, error_));
  EXPECT_EQ(error_, "价格文件夹 " + folder_.string() + " 中没有 AppConfig.xml 或 Xiangxi.xml");
  write("Xiangxi.xml", "<html>not a price file</html>");
  EXPECT_FALSE(applyPriceFolder(table_, folder_, error_));
  EXPECT_EQ(error_, (folder_ / "Xiangxi.xml").string() + " 无法读取或不含 <appSettings>");
  EXPECT_EQ(table_.itemPrice("实木门"), "1480");
}

}  // namespace
}  // namespace decor::cli
