#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "estimate/quick_estimate.h"
#include "quick_estimate_expected.h"

namespace decor {
namespace {

using Lines = std::vector<std::string>;

Lines splitLines(const std::string& text) {
  Lines lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

// The headline and the four prices: the first seven lines of the result text.
Lines priceLines(const std::string& resultText) {
  Lines lines = splitLines(resultText);
  lines.resize(std::min<std::size_t>(lines.size(), 7));
  return lines;
}

Lines expectedPriceLines(const std::string& headline, const std::string& firstLabel, const char* t1, const char* t2,
                         const char* t3, const char* t4) {
  return {headline, "", firstLabel + t1 + "元", std::string("客餐厅铺瓷砖半包装修的价格为：") + t2 + "元", "",
          std::string("客餐厅铺地板全包装修的价格为：") + t3 + "元", std::string("客餐厅铺瓷砖全包装修的价格为：") + t4 + "元"};
}

// The details text without its five header lines and without the empty end after the last CR LF.
Lines detailLines(const QuickEstimator& estimator) {
  Lines lines = splitLines(estimator.detailsText());
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5),
            (Lines{"", "", "**************************************", "             计算详情",
                   "**************************************"}));
  EXPECT_EQ(lines.back(), "");
  return Lines(lines.begin() + 5, lines.end() - 1);
}

QuickEstimateInput flat(const char* grade, int bedrooms = 3, int halls = 1, int kitchens = 1, int bathrooms = 1,
                        int balconies = 2, const char* area = "100") {
  return {bedrooms, halls, kitchens, bathrooms, balconies, area, grade};
}

const Lines kDefaultAreaLines = {"厨房面积为：5平方米", "卫浴面积为：7平方米", "阳台面积为：28平方米",
                                 "卧室面积为：55.5平方米", "客餐厅面积为：18.5平方米", ""};

Lines withDefaultAreas(const Lines& costLines) {
  Lines lines = kDefaultAreaLines;
  lines.insert(lines.end(), costLines.begin(), costLines.end());
  return lines;
}

class QuickEstimateTest : public ::testing::Test {
 protected:
  QuickEstimator estimator_;
  EstimatePrices prices_ = EstimatePrices::defaults();
};

TEST_F(QuickEstimateTest, ComfortDefaultFlatGivesTheWholeText) {
  estimator_.run(QuickEstimateInput{}, prices_);
  EXPECT_EQ(estimator_.resultText(), testing::kComfortDefaultResultText);
  EXPECT_EQ(resultWindowText(estimator_.resultText()),
            std::string(testing::kComfortDefaultResultText) +
                "\r\n\r\n*如差别与心里的太大，请尝试用详细报价。如果您在Tarsel，可以QQ客服在线咨询报价以及设计！");

  const QuickEstimateFigures& v = estimator_.figures();
  EXPECT_EQ((std::vector<float>{v.K, v.B, v.Y, v.R, v.P, v.H}), (std::vector<float>{5, 7, 14, 74, 18.5f, 18.5f}));
  // The sums are the stored single-precision values, not the printed digits.
  EXPECT_EQ(v.T2, static_cast<float>(v.T1 + 18.5 * 35));
  EXPECT_EQ(v.T3, static_cast<float>(v.F + 18.5 * 200));
  EXPECT_EQ(v.F, static_cast<float>(v.T1 + 17075.0));  // 5500 + 7000 + 1200 + 375 + 1200 + 1800, each stored
}

struct GradeCase {
  const char* name;
  const char* grade;
  Lines prices;
  Lines costLines;  // details after the area lines
};

class EveryGradeTest : public QuickEstimateTest, public ::testing::WithParamInterface<GradeCase> {};

TEST_P(EveryGradeTest, DefaultFlatGivesItsPricesAndCostLines) {
  estimator_.run(flat(GetParam().grade), prices_);
  EXPECT_EQ(priceLines(estimator_.resultText()), GetParam().prices);
  EXPECT_EQ(detailLines(estimator_), withDefaultAreas(GetParam().costLines));
  EXPECT_TRUE(estimator_.resultText().ends_with(estimator_.detailsText()));
}

const std::string kHalf = "客餐厅铺地板半包装修的价格为：";
const std::string kComfortable = "客餐厅铺地板舒适装修的价格为：";

INSTANTIATE_TEST_SUITE_P(
    Grades, EveryGradeTest,
    ::testing::Values(
        GradeCase{"Rental", kGradeRental,
                  expectedPriceLines("此面积的房子做为出租房装修价格如下：", kHalf, "10190.2", "10837.7", "18158.2", "18565.2"),
                  {"厨房瓷砖铺贴费用：175元", "厨房乳胶漆费用：600.697元", "卫生间瓷砖铺贴费用：245元",
                   "卫生墙砖铺贴费用：666.729元", "卫生乳胶漆费用：173.7元", "阳台铺砖漆费用：490元", "卫生间防水：1432.72元",
                   "厨房卫生间包水管：285元", "算客厅乳胶漆：1292.1元", "算卧室乳胶漆：1580.96元", "算门：2400元",
                   "算材料搬运、垃圾清理：94.3532元", "工程管理费：815.212元", "卫生间主材：1700元", "厨房主材：4000元",
                   "算灯：480元", "五金：900元", "", "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：647.5元",
                   "客餐厅铺地板全包：888元", "客餐厅铺砖全包的五金、厨房、地砖、卫生间：7247.5元"}},
        GradeCase{"Economy", kGradeEconomy,
                  expectedPriceLines("此面积的房子做为经济型装修价格如下：", kHalf, "19887.7", "20535.2", "32972.7", "34635.2"),
                  {"厨房瓷砖铺贴费用：175元", "卫生间瓷砖铺贴费用：245元", "阳台铺砖：490元", "卫生间防水：1432.72元",
                   "厨房卫生间包水管：285元", "算门槛石：175元", "客厅乳胶漆：1292.1元", "电视背景墙：800元", "鞋柜:550",
                   "卧室乳胶漆：1580.96元", "衣柜：7500元", "算材料搬运、垃圾清理：184.145元", "工程管理费：1591.01元",
                   "算卫生间主材：3500元", "算厨房主材：6000元", "算灯：900元", "算门槛石：375元", "五金：1200元", "",
                   "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：647.5元", "客餐厅铺地板全包：1110元",
                   "客餐厅铺砖全包的五金、厨房、地砖、卫生间：11625元"}},
        GradeCase{"Comfort", kGradeComfort,
                  expectedPriceLines("此面积的房子做为舒适型装修价格如下：", kComfortable, "29345.6", "29993.1", "50120.6",
                                     "49978.1"),
                  {"厨房瓷砖铺贴费用：175元", "卫生间瓷砖铺贴费用：245元", "阳台铺砖：490元", "卫生间防水：1432.72元",
                   "厨房卫生间包水管：285元", "算门槛石：175元", "客厅乳胶漆：1292.1元", "电视背景墙：800元", "鞋柜:650",
                   "玄关制作:1500元", "卧室乳胶漆：1580.96元", "衣柜：9000元", "封阳台：4770.61元",
                   "算材料搬运、垃圾清理：271.718元", "工程管理费：2347.65元", "算卫生间主材：5500元", "算厨房主材：7000元",
                   "算灯：1200元", "算门槛石：375元", "衣柜移门：1200元", "五金：1800元", " 衣柜移门：1200元", "",
                   "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：647.5元", "客餐厅铺地板全包：3700元",
                   "客餐厅铺砖全包的五金、厨房、地砖、卫生间：15410元"}},
        GradeCase{"Fine", kGradeFine,
                  expectedPriceLines("此面积的房子做为精装修价格如下：", kComfortable, "35587.7", "36235.2", "62542.7", "61775.2"),
                  {"厨房瓷砖铺贴费用：175元", "卫生间瓷砖铺贴费用：245元", "阳台铺砖：490元", "卫生间防水：1432.72元",
                   "厨房卫生间包水管：285元", "算门槛石：175元", "客厅乳胶漆：1292.1元", "电视背景墙：1300元", "鞋柜:850",
                   "玄关制作:2000元", "卧室乳胶漆：1580.96元", "衣柜：10500元", "封阳台：5893.11元",
                   "算材料搬运、垃圾清理：329.515元", "工程管理费：2847.01元", "算卫生间主材：7000元", "算厨房主材：9000元",
                   "衣柜移门：1200元", "算灯：2100元", "算门槛石：375元", "五金：2100元", "衣柜移门：1200元", "",
                   "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：647.5元", "客餐厅铺地板全包：5180元",
                   "客餐厅铺砖全包的五金、厨房、地砖、卫生间：19765元"}},
        GradeCase{"Luxury", kGradeLuxury,
                  expectedPriceLines("此面积的房子做为豪华型装修价格如下：", kComfortable, "39278.6", "39926.1", "69563.6",
                                     "73581.1"),
                  {"厨房瓷砖铺贴费用：175元", "卫生间瓷砖铺贴费用：245元", "阳台铺砖：490元", "卫生间防水：1432.72元",
                   "厨房卫生间包水管：285元", "算门槛石：175元", "客厅乳胶漆：1292.1元", "电视背景墙：1800元", "鞋柜:1000",
                   "玄关制作:3000元", "卧室乳胶漆：1580.96元", "衣柜：12000元", "封阳台：5893.11元",
                   "算材料搬运、垃圾清理：322.95元", "工程管理费：2790.29元", "算卫生间主材：9000元", "算厨房主材：12000元",
                   "衣柜移门：1200元", "算灯：3000元", "算门槛石：375元", "五金：3600元", "衣柜移门：1200元", "",
                   "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：647.5元", "客餐厅铺地板全包：1110元",
                   "客餐厅铺砖全包的五金、厨房、地砖、卫生间：25480元"}}),
    [](const ::testing::TestParamInfo<GradeCase>& info) { return std::string(info.param.name); });

// Every estimate price distinct and beyond six digits, every count different: a line that
// reads another key (several defaults coincide, e.g. 精装修灯具 and 精装修五金 at 350), multiplies
// by another count or prints as another kind changes the text. Each price is its default
// × 10 000 plus a thousands of its own. 4 bedrooms, 2 halls, 1 kitchen, 3 bathrooms,
// 5 balconies, 100 m2: K 5, B 21, Y 35, R 39, P = H = 6.5; N3 8, N4 10.
const std::vector<std::pair<const char*, std::int32_t>> kDistinctPrices = {
    {"出租房厨房主材", 40001000}, {"经济型厨房主材", 60002000}, {"舒适型厨房主材", 70003000}, {"精装修厨房主材", 90004000},
    {"豪华型厨房主材", 120005000}, {"出租房卫生间主材", 17006000}, {"经济弄卫生间主材", 35007000}, {"舒适型卫生间主材", 55008000},
    {"精装修卫生间主材", 70009000}, {"豪华型卫生间主材", 90010000}, {"出租房灯", 811000}, {"经济型灯具", 1512000}, {"舒适型灯具", 2013000},
    {"精装修灯具", 3514000}, {"豪华型灯具", 5015000}, {"出租房五金", 1516000}, {"经济型五金", 2017000}, {"舒适型五金数", 3018000},
    {"精装修五金", 3519000}, {"豪华型五金", 6020000}, {"出租房地板", 501000}, {"经济型地板", 622000}, {"舒适型地板全包", 2023000},
    {"精装修地板", 2824000}, {"豪华型地板", 625000}, {"经济型瓷砖", 526000}, {"精装修瓷砖价格", 927000}, {"豪华型瓷砖", 828000},
    {"出租房门", 4829000}, {"经济型房门", 5830000}, {"精装修门", 8831000}, {"豪华型门", 8832000}, {"经济型衣柜", 25033000},
    {"舒适型衣柜", 30034000}, {"精装修衣柜", 35035000}, {"豪华型衣柜", 40036000}, {"经济型鞋柜", 5537000}, {"舒适型鞋柜", 6538000},
    {"精装修鞋柜", 8539000}, {"豪华型鞋柜", 10040000}, {"经济型背景墙", 8041000}, {"舒适型背景墙面", 8042000}, {"精装修电视背景墙", 13043000},
    {"豪华型电视背景墙", 18044000}, {"舒适型玄关", 15045000}, {"精装修玄关", 20046000}, {"豪华型玄关", 30047000}, {"舒适型吊顶", 8048000},
    {"精装修吊顶", 12049000}, {"豪华型吊顶", 18050000}, {"舒适型封阳台", 1751000}, {"帖砖费用", 402000}, {"乳胶漆费用", 283000},
    {"防水涂料", 604000}, {"包水管", 1955000}, {"门槛石", 806000}, {"衣柜移门", 4057000}, {"封阳台", 2158000}
};

class DistinctPricesTest : public QuickEstimateTest, public ::testing::WithParamInterface<GradeCase> {};

TEST_P(DistinctPricesTest, EveryLineReadsItsOwnPriceCountAndPrintKind) {
  for (const auto& [key, value] : kDistinctPrices) prices_.set(key, value);
  estimator_.run(flat(GetParam().grade, 4, 2, 1, 3, 5), prices_);
  EXPECT_EQ(priceLines(estimator_.resultText()), GetParam().prices);
  Lines expected = {"厨房面积为：5平方米", "卫浴面积为：63平方米", "阳台面积为：175平方米", "卧室面积为：26平方米",
                    "客餐厅面积为：13平方米", ""};
  expected.insert(expected.end(), GetParam().costLines.begin(), GetParam().costLines.end());
  EXPECT_EQ(detailLines(estimator_), expected);
}

// Worked out: tiling 5 × 402 000 = 2.01e+006 (single); threshold stones 8 × 402 000 = 3 216 000, single in
// the economy grade, double above it; pipe boxing 2 × 1 955 000 × 0.75 = 2 932 500, double only in the luxury
// grade; sliding doors 4 × 4 057 000, single only on the luxury grade's last line.
INSTANTIATE_TEST_SUITE_P(
    Grades, DistinctPricesTest,
    ::testing::Values(
        GradeCase{"Rental", kGradeRental,
                     expectedPriceLines("此面积的房子做为出租房装修价格如下：", kHalf, "1.56774e+008", "1.59387e+008", "2.7432e+008",
                                        "2.76289e+008"),
                     {"厨房瓷砖铺贴费用：2.01e+006元", "厨房乳胶漆费用：7.39119e+006元", "卫生间瓷砖铺贴费用：8.442e+006元",
                      "卫生墙砖铺贴费用：1.32638e+007元", "卫生乳胶漆费用：5.94302e+006元", "阳台铺砖漆费用：1.407e+007元", "卫生间防水：3.26127e+007元",
                      "厨房卫生间包水管：2.9325e+006元", "算客厅乳胶漆：8.15994e+006元", "算卧室乳胶漆：1.02668e+007元", "算门：3.8632e+007元",
                      "算材料搬运、垃圾清理：1.45161e+006元", "工程管理费：1.25419e+007元", "卫生间主材：51018000元", "厨房主材：40001000元",
                      "算灯：8110000元", "五金：15160000元", "", "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：2.613e+006元",
                      "客餐厅铺地板全包：3.2565e+006元", "客餐厅铺砖全包的五金、厨房、地砖、卫生间：1.08792e+008元"}},
        GradeCase{"Economy", kGradeEconomy,
                     expectedPriceLines("此面积的房子做为经济型装修价格如下：", kHalf, "2.85929e+008", "2.88542e+008", "4.96733e+008",
                                        "5.18892e+008"),
                     {"厨房瓷砖铺贴费用：2.01e+006元", "卫生间瓷砖铺贴费用：8.442e+006元", "阳台铺砖：1.407e+007元", "卫生间防水：3.26127e+007元",
                      "厨房卫生间包水管：2.9325e+006元", "算门槛石：3.216e+006元", "客厅乳胶漆：8.15994e+006元", "电视背景墙：8041000元",
                      "鞋柜:5537000", "卧室乳胶漆：1.02668e+007元", "衣柜：100132000元", "算材料搬运、垃圾清理：2.64749e+006元",
                      "工程管理费：2.28743e+007元", "算卫生间主材：105021000元", "算厨房主材：60002000元", "算灯：15120000元", "算门槛石：6448000元",
                      "五金：20170000元", "", "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：2.613e+006元", "客餐厅铺地板全包：4.043e+006元",
                      "客餐厅铺砖全包的五金、厨房、地砖、卫生间：1.88612e+008元"}},
        GradeCase{"Comfort", kGradeComfort,
                     expectedPriceLines("此面积的房子做为舒适型装修价格如下：", kComfortable, "4.27558e+008", "4.30171e+008", "7.48721e+008",
                                        "7.72407e+008"),
                     {"厨房瓷砖铺贴费用：2.01e+006元", "卫生间瓷砖铺贴费用：8.442e+006元", "阳台铺砖：1.407e+007元", "卫生间防水：3.26127e+007元",
                      "厨房卫生间包水管：2.9325e+006元", "算门槛石：3216000元", "客厅乳胶漆：8.15994e+006元", "电视背景墙：8042000元", "鞋柜:6538000",
                      "玄关制作:15045000元", "卧室乳胶漆：1.02668e+007元", "衣柜：120136000元", "封阳台：7.76929e+007元",
                      "算材料搬运、垃圾清理：3.95887e+006元", "工程管理费：3.42047e+007元", "算卫生间主材：165024000元", "算厨房主材：70003000元",
                      "算灯：20130000元", "算门槛石：6448000元", "衣柜移门：16228000元", "五金：30180000元", " 衣柜移门：16228000元", "",
                      "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：2.613e+006元", "客餐厅铺地板全包：1.31495e+007元",
                      "客餐厅铺砖全包的五金、厨房、地砖、卫生间：2.6925e+008元"}},
        GradeCase{"Fine", kGradeFine,
                     expectedPriceLines("此面积的房子做为精装修价格如下：", kComfortable, "5.17087e+008", "5.197e+008", "9.28479e+008",
                                        "9.53902e+008"),
                     {"厨房瓷砖铺贴费用：2.01e+006元", "卫生间瓷砖铺贴费用：8.442e+006元", "阳台铺砖：1.407e+007元", "卫生间防水：3.26127e+007元",
                      "厨房卫生间包水管：2.9325e+006元", "算门槛石：3216000元", "客厅乳胶漆：8.15994e+006元", "电视背景墙：13043000元", "鞋柜:8539000",
                      "玄关制作:20046000元", "卧室乳胶漆：1.02668e+007元", "衣柜：140140000元", "封阳台：9.57518e+007元",
                      "算材料搬运、垃圾清理：4.78784e+006元", "工程管理费：4.13669e+007元", "算卫生间主材：210027000元", "算厨房主材：90004000元",
                      "衣柜移门：16228000元", "算灯：35140000元", "算门槛石：6448000元", "五金：35190000元", "衣柜移门：16228000元", "",
                      "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：2.613e+006元", "客餐厅铺地板全包：1.8356e+007元",
                      "客餐厅铺砖全包的五金、厨房、地砖、卫生间：3.41197e+008元"}},
        GradeCase{"Luxury", kGradeLuxury,
                     expectedPriceLines("此面积的房子做为豪华型装修价格如下：", kComfortable, "5.63593e+008", "5.66206e+008", "1.09072e+009",
                                        "1.1448e+009"),
                     {"厨房瓷砖铺贴费用：2.01e+006元", "卫生间瓷砖铺贴费用：8.442e+006元", "阳台铺砖：1.407e+007元", "卫生间防水：3.26127e+007元",
                      "厨房卫生间包水管：2932500元", "算门槛石：3216000元", "客厅乳胶漆：8.15994e+006元", "电视背景墙：18044000元", "鞋柜:10040000",
                      "玄关制作:30047000元", "卧室乳胶漆：1.02668e+007元", "衣柜：160144000元", "封阳台：9.57518e+007元",
                      "算材料搬运、垃圾清理：4.56424e+006元", "工程管理费：3.9435e+007元", "算卫生间主材：270030000元", "算厨房主材：120005000元",
                      "衣柜移门：16228000元", "算灯：50150000元", "算门槛石：6448000元", "五金：60200000元", "衣柜移门：1.6228e+007元", "",
                      "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：2.613e+006元", "客餐厅铺地板全包：4.0625e+006元",
                      "客餐厅铺砖全包的五金、厨房、地砖、卫生间：4.45567e+008元"}}),
    [](const ::testing::TestParamInfo<GradeCase>& info) { return std::string(info.param.name); });

TEST_F(QuickEstimateTest, FlatWithoutHallHasNoLivingRoom) {
  const Lines areas = {"厨房面积为：4.69042平方米", "卫浴面积为：26.2663平方米", "卧室面积为：70.1764平方米", ""};
  const Lines livingRoom = {"", "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：0元", "客餐厅铺地板全包：0元"};
  struct Case {
    const char* grade;
    Lines prices;
    Lines costLines;  // between the areas and the living-room lines
    const char* lastLine;
  };
  const std::vector<Case> cases = {
      {kGradeRental,
       expectedPriceLines("此面积的房子做为出租房装修价格如下：", kHalf, "10656.5", "10656.5", "19666.5", "19666.5"),
       {"厨房瓷砖铺贴费用：164.165元", "厨房乳胶漆费用：581.804元", "卫生间瓷砖铺贴费用：459.661元",
        "卫生墙砖铺贴费用：913.241元", "卫生乳胶漆费用：319.458元", "阳台铺砖漆费用：0元", "卫生间防水：2157.42元",
        "厨房卫生间包水管：285元", "算卧室乳胶漆：1528.73元", "算门：3360元", "算材料搬运、垃圾清理：98.6717元",
        "工程管理费：852.523元", "卫生间主材：3400元", "厨房主材：4000元", "算灯：560元", "五金：1050元"},
       "客餐厅铺砖全包的五金、厨房、地砖、卫生间：8450元"},
      {kGradeLuxury,
       expectedPriceLines("此面积的房子做为豪华型装修价格如下：", kComfortable, "30198.7", "30198.7", "70023.7",
                          "73523.7"),
       {"厨房瓷砖铺贴费用：164.165元", "卫生间瓷砖铺贴费用：459.661元", "阳台铺砖：0元", "卫生间防水：2157.42元",
        "厨房卫生间包水管：285元", "算门槛石：245元", "卧室乳胶漆：1528.73元", "衣柜：16000元",
        "算材料搬运、垃圾清理：222.581元", "工程管理费：1923.1元", "算卫生间主材：18000元", "算厨房主材：12000元",
        "衣柜移门：1600元", "算灯：3500元", "算门槛石：525元", "五金：4200元", "衣柜移门：1600元"},
       "客餐厅铺砖全包的五金、厨房、地砖、卫生间：33500元"},
  };
  for (const Case& c : cases) {
    estimator_.run(flat(c.grade, 4, 0, 1, 2, 0, "88"), prices_);
    EXPECT_EQ(priceLines(estimator_.resultText()), c.prices) << c.grade;
    Lines expected = areas;
    expected.insert(expected.end(), c.costLines.begin(), c.costLines.end());
    expected.insert(expected.end(), livingRoom.begin(), livingRoom.end());
    expected.push_back(c.lastLine);
    EXPECT_EQ(detailLines(estimator_), expected) << c.grade;
    EXPECT_EQ(estimator_.figures().H, 0.0f) << c.grade;
  }
}

TEST_F(QuickEstimateTest, NoKitchenStillShowsTheKitchenLinesWithZero) {
  estimator_.run(flat(kGradeRental, 3, 1, 0), prices_);
  EXPECT_EQ(priceLines(estimator_.resultText()),
            expectedPriceLines("此面积的房子做为出租房装修价格如下：", kHalf, "8645.58", "9336.83", "12443.6", "12878.1"));
  EXPECT_EQ(detailLines(estimator_),
            (Lines{"卫浴面积为：7平方米", "阳台面积为：28平方米", "卧室面积为：59.25平方米", "客餐厅面积为：19.75平方米", "",
                   "厨房瓷砖铺贴费用：0元", "厨房乳胶漆费用：0元", "卫生间瓷砖铺贴费用：245元", "卫生墙砖铺贴费用：666.729元",
                   "卫生乳胶漆费用：173.7元", "阳台铺砖漆费用：490元", "卫生间防水：1432.72元", "厨房卫生间包水管：0元",
                   "算客厅乳胶漆：1349.65元", "算卧室乳胶漆：1648.11元", "算门：1920元", "算材料搬运、垃圾清理：80.0516元",
                   "工程管理费：691.646元", "卫生间主材：1700元", "厨房主材：0元", "算灯：400元", "五金：750元", "",
                   "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：691.25元", "客餐厅铺地板全包：948元",
                   "客餐厅铺砖全包的五金、厨房、地砖、卫生间：3141.25元"}));
  EXPECT_EQ(estimator_.figures().K, 0.0f);
}

TEST_F(QuickEstimateTest, RunsDoNotLeakIntoEachOther) {
  estimator_.run(QuickEstimateInput{}, prices_);
  const std::string first = estimator_.resultText();
  estimator_.run(flat(kGradeLuxury, 4, 0, 1, 2, 0, "88"), prices_);
  ASSERT_NE(estimator_.resultText(), first);
  estimator_.run(QuickEstimateInput{}, prices_);
  EXPECT_EQ(estimator_.resultText(), first);
  EXPECT_EQ(estimator_.resultText(), testing::kComfortDefaultResultText);
}

TEST_F(QuickEstimateTest, FullWidthAreaReadsAsDigits) {
  estimator_.run(flat(kGradeComfort, 3, 1, 1, 1, 2, "１２０"), prices_);
  const std::string fullWidth = estimator_.resultText();
  EXPECT_EQ(priceLines(fullWidth),
            expectedPriceLines("此面积的房子做为舒适型装修价格如下：", kComfortable, "30327.3", "31128.1", "51978.2", "51375.9"));
  const Lines lines = detailLines(estimator_);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 6),
            (Lines{"厨房面积为：5.47723平方米", "卫浴面积为：7.66812平方米", "阳台面积为：30.6725平方米",
                   "卧室面积为：68.6388平方米", "客餐厅面积为：22.8796平方米", ""}));
  estimator_.run(flat(kGradeComfort, 3, 1, 1, 1, 2, "120"), prices_);
  EXPECT_EQ(estimator_.resultText(), fullWidth);
}

TEST_F(QuickEstimateTest, PricesOfAMillionOrMorePrintInExponentForm) {
  prices_.set("舒适型衣柜", 1000000);
  estimator_.run(QuickEstimateInput{}, prices_);
  EXPECT_EQ(priceLines(estimator_.resultText()),
            expectedPriceLines("此面积的房子做为舒适型装修价格如下：", kComfortable, "3.29193e+006", "3.29258e+006",
                               "3.3127e+006", "3.31256e+006"));
  const Lines lines = detailLines(estimator_);
  // The wardrobe line prints as a double and keeps all its digits; the fees print as single.
  EXPECT_EQ(Lines(lines.begin() + 17, lines.begin() + 21),
            (Lines{"衣柜：3000000元", "封阳台：4770.61元", "算材料搬运、垃圾清理：30480.8元", "工程管理费：263354元"}));
}

// Large amounts show how each grade prints a line: single precision switches to exponent form
// at a million, double precision and integers do not.
TEST_F(QuickEstimateTest, EachGradePrintsItsLinesAsSingleDoubleOrInteger) {
  prices_.set("包水管", 1000000);
  prices_.set("衣柜移门", 1000000);
  for (const char* key : {"经济型背景墙", "舒适型背景墙面", "精装修电视背景墙", "豪华型电视背景墙"}) prices_.set(key, 12345678);
  const auto linesOf = [&](const char* grade) {
    estimator_.run(flat(grade), prices_);
    Lines picked;
    for (const std::string& line : detailLines(estimator_))
      for (const char* label : {"厨房卫生间包水管：", "电视背景墙：", "衣柜移门：", " 衣柜移门："})
        if (line.starts_with(label)) picked.push_back(line);
    return picked;
  };
  EXPECT_EQ(linesOf(kGradeRental), (Lines{"厨房卫生间包水管：1.5e+006元"}));
  EXPECT_EQ(linesOf(kGradeEconomy), (Lines{"厨房卫生间包水管：1.5e+006元", "电视背景墙：12345678元"}));
  EXPECT_EQ(linesOf(kGradeComfort), (Lines{"厨房卫生间包水管：1.5e+006元", "电视背景墙：12345678元",
                                           "衣柜移门：3000000元", " 衣柜移门：3000000元"}));
  EXPECT_EQ(linesOf(kGradeFine), (Lines{"厨房卫生间包水管：1.5e+006元", "电视背景墙：12345678元", "衣柜移门：3000000元",
                                        "衣柜移门：3000000元"}));
  EXPECT_EQ(linesOf(kGradeLuxury), (Lines{"厨房卫生间包水管：1500000元", "电视背景墙：12345678元", "衣柜移门：3000000元",
                                          "衣柜移门：3e+006元"}));
}

TEST_F(QuickEstimateTest, UnknownGradeKeepsThePreviousResult) {
  estimator_.run(flat("精装修"), prices_);  // without the two blanks: not a grade
  EXPECT_EQ(estimator_.resultText(), "");

  estimator_.run(QuickEstimateInput{}, prices_);
  estimator_.run(flat("舒适型装修 ", 3, 1, 1, 1, 2, "120"), prices_);
  EXPECT_EQ(estimator_.resultText(), testing::kComfortDefaultResultText);
  // The areas are still worked out afresh.
  EXPECT_EQ(detailLines(estimator_),
            (Lines{"厨房面积为：5.47723平方米", "卫浴面积为：7.66812平方米", "阳台面积为：30.6725平方米",
                   "卧室面积为：68.6388平方米", "客餐厅面积为：22.8796平方米", ""}));
}

// No bedroom and no hall divides by zero; a remaining area below 0 takes square roots of
// negative figures. Neither may put inf or nan into a price.
TEST_F(QuickEstimateTest, FlatWithoutBedroomOrHallShowsNoBedroomArea) {
  estimator_.run(flat(kGradeRental, 0, 0, 1, 1, 1, "30"), prices_);
  EXPECT_EQ(priceLines(estimator_.resultText()),
            expectedPriceLines("此面积的房子做为出租房装修价格如下：", kHalf, "3960.79", "3960.79", "10120.8", "10120.8"));
  EXPECT_EQ(detailLines(estimator_),
            (Lines{"厨房面积为：2.73861平方米", "卫浴面积为：3.83406平方米", "阳台面积为：3.83406平方米",
                   "卧室面积为：0平方米", "", "厨房瓷砖铺贴费用：95.8514元", "厨房乳胶漆费用：444.566元",
                   "卫生间瓷砖铺贴费用：134.192元", "卫生墙砖铺贴费用：493.435元", "卫生乳胶漆费用：97.5821元",
                   "阳台铺砖漆费用：134.192元", "卫生间防水：986.271元", "厨房卫生间包水管：285元", "算门：960元",
                   "算材料搬运、垃圾清理：36.674元", "工程管理费：316.863元", "卫生间主材：1700元", "厨房主材：4000元",
                   "算灯：160元", "五金：300元", "", "下面是普地板或是地砖的，不可重复计算。", "客餐厅铺砖半包：0元",
                   "客餐厅铺地板全包：0元", "客餐厅铺砖全包的五金、厨房、地砖、卫生间：6000元"}));
  EXPECT_EQ(estimator_.figures().P, 0.0f);
}

TEST_F(QuickEstimateTest, NegativeRemainingAreaPaintsNothing) {
  estimator_.run(flat(kGradeComfort, 1, 1, 1, 3, 2, "10"), prices_);
  EXPECT_EQ(priceLines(estimator_.resultText()),
            expectedPriceLines("此面积的房子做为舒适型装修价格如下：", kComfortable, "16551.4", "16505.1", "43561.5", "45500.6"));
  const Lines lines = detailLines(estimator_);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 19),
            (Lines{"厨房面积为：1.58114平方米", "卫浴面积为：19.9223平方米", "阳台面积为：8.85438平方米",
                   "卧室面积为：-1.32456平方米", "客餐厅面积为：-1.32456平方米", "", "厨房瓷砖铺贴费用：55.3399元",
                   "卫生间瓷砖铺贴费用：232.427元", "阳台铺砖：154.952元", "卫生间防水：1385.72元", "厨房卫生间包水管：285元",
                   "算门槛石：175元", "客厅乳胶漆：0元", "电视背景墙：800元", "鞋柜:650", "玄关制作:1500元", "卧室乳胶漆：0元",
                   "衣柜：3000元", "封阳台：2682.71元"}));
}

TEST_F(QuickEstimateTest, AreaBeyondSinglePrecisionCountsAsZero) {
  estimator_.run(flat(kGradeComfort, 3, 1, 1, 1, 2, "0"), prices_);
  const std::string zero = estimator_.resultText();
  EXPECT_EQ(priceLines(zero),
            expectedPriceLines("此面积的房子做为舒适型装修价格如下：", kComfortable, "17572.8", "17572.8", "34647.8", "36447.8"));
  for (const char* area : {"1e999", "1e39", "-1e39", "", "abc"}) {
    estimator_.run(flat(kGradeComfort, 3, 1, 1, 1, 2, area), prices_);
    EXPECT_EQ(estimator_.resultText(), zero) << area;
  }
}

TEST_F(QuickEstimateTest, NoFigureOrLineIsEverInfOrNan) {
  constexpr int kMax = std::numeric_limits<std::int32_t>::max();
  const std::vector<QuickEstimateInput> flats = {
      flat("", 0, 0, 1, 1, 1, "30"),       flat("", 0, 0, 0, 0, 0, "0"),      flat("", -1, 1, 1, 1, 1, "50"),
      flat("", 3, 1, 9, 9, 9, "1"),        flat("", 3, 1, 1, 1, 2, "-100"),   flat("", 3, 1, 1, 1, 2, "3e38"),
      flat("", 3, 1, 1, 1, 2, "1e-45"),    flat("", kMax, kMax, kMax, kMax, kMax, "1e30"),
      flat("", 9, 9, 9, 9, 9, "1e999"),
  };
  for (const std::string_view grade : kDecorationGrades) {
    for (QuickEstimateInput input : flats) {
      input.grade = grade;
      SCOPED_TRACE(std::string(grade) + " area " + input.area + " bedrooms " + std::to_string(input.bedrooms));
      estimator_.run(input, prices_);
      const QuickEstimateFigures& v = estimator_.figures();
      for (const float figure : {v.K, v.B, v.Y, v.R, v.P, v.H, v.T1, v.F, v.T2, v.T3, v.T4})
        EXPECT_TRUE(std::isfinite(figure));
      const std::string& text = estimator_.resultText();
      ASSERT_TRUE(text.ends_with(estimator_.detailsText()));
      for (const char* word : {"inf", "INF", "nan", "NAN", "Inf", "NaN"}) EXPECT_EQ(text.find(word), std::string::npos);
    }
  }
}

// No bedroom but a hall: the hall lines are priced, the bedroom lines are left out (and
// with a bedroom added they come back, so the check can tell the two apart).
TEST_F(QuickEstimateTest, FlatWithAHallButNoBedroomHasHallLinesOnly) {
  struct Case {
    const char* grade;
    Lines hallLines;
    Lines bedroomLines;
  };
  const std::vector<Case> cases{
      {kGradeRental, {"客餐厅面积为：", "算客厅乳胶漆："}, {"算卧室乳胶漆："}},
      {kGradeEconomy, {"客餐厅面积为：", "客厅乳胶漆：", "电视背景墙："}, {"卧室乳胶漆：", "衣柜："}},
      {kGradeComfort, {"客餐厅面积为：", "客厅乳胶漆：", "电视背景墙：", "鞋柜:", "玄关制作:"}, {"卧室乳胶漆：", "衣柜："}},
      {kGradeFine, {"客餐厅面积为：", "客厅乳胶漆：", "电视背景墙：", "鞋柜:", "玄关制作:"}, {"卧室乳胶漆：", "衣柜："}},
      {kGradeLuxury, {"客餐厅面积为：", "客厅乳胶漆：", "电视背景墙：", "鞋柜:", "玄关制作:"}, {"卧室乳胶漆：", "衣柜："}},
  };
  const auto hasLine = [](const Lines& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(start); });
  };
  for (const Case& c : cases) {
    estimator_.run(flat(c.grade, 0, 2, 1, 1, 1, "90"), prices_);
    const Lines noBedroom = splitLines(estimator_.detailsText());
    for (const std::string& line : c.hallLines) EXPECT_TRUE(hasLine(noBedroom, line)) << c.grade << " " << line;
    for (const std::string& line : c.bedroomLines) EXPECT_FALSE(hasLine(noBedroom, line)) << c.grade << " " << line;
    EXPECT_TRUE(hasLine(noBedroom, "卧室面积为：0平方米")) << c.grade;
    EXPECT_EQ(noBedroom.end(), std::find_if(noBedroom.begin(), noBedroom.end(), [](const std::string& line) {
                return line.find("inf") != std::string::npos || line.find("nan") != std::string::npos;
              })) << c.grade;

    estimator_.run(flat(c.grade, 1, 2, 1, 1, 1, "90"), prices_);
    const Lines oneBedroom = splitLines(estimator_.detailsText());
    for (const std::string& line : c.bedroomLines) EXPECT_TRUE(hasLine(oneBedroom, line)) << c.grade << " " << line;
  }
}

}  // namespace
}  // namespace decor
