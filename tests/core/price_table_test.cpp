#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "pricing/price_defaults.h"
#include "pricing/price_table.h"

namespace decor {
namespace {

TEST(PriceTable, EveryDefaultWithItsExactValue) {
  // The whole list, key by key: a changed or misspelt default fails here.
  const std::vector<std::pair<std::string, int>> estimate = {
      {"出租房厨房主材", 4000}, {"经济型厨房主材", 6000}, {"舒适型厨房主材", 7000}, {"精装修厨房主材", 9000},
      {"豪华型厨房主材", 12000}, {"出租房卫生间主材", 1700}, {"经济弄卫生间主材", 3500},
      {"舒适型卫生间主材", 5500}, {"精装修卫生间主材", 7000}, {"豪华型卫生间主材", 9000}, {"出租房灯", 80},
      {"经济型灯具", 150}, {"舒适型灯具", 200}, {"精装修灯具", 350}, {"豪华型灯具", 500}, {"出租房五金", 150},
      {"经济型五金", 200}, {"舒适型五金数", 300}, {"精装修五金", 350}, {"豪华型五金", 600}, {"出租房地板", 48},
      {"经济型地板", 60}, {"舒适型地板全包", 200}, {"精装修地板", 280}, {"豪华型地板", 60}, {"经济型瓷砖", 50},
      {"精装修瓷砖价格", 90}, {"豪华型瓷砖", 80}, {"出租房门", 480}, {"经济型房门", 580}, {"精装修门", 880},
      {"豪华型门", 880}, {"经济型衣柜", 2500}, {"舒适型衣柜", 3000}, {"精装修衣柜", 3500}, {"豪华型衣柜", 4000},
      {"经济型鞋柜", 550}, {"舒适型鞋柜", 650}, {"精装修鞋柜", 850}, {"豪华型鞋柜", 1000},
      {"经济型背景墙", 800}, {"舒适型背景墙面", 800}, {"精装修电视背景墙", 1300}, {"豪华型电视背景墙", 1800},
      {"舒适型玄关", 1500}, {"精装修玄关", 2000}, {"豪华型玄关", 3000}, {"舒适型吊顶", 800},
      {"精装修吊顶", 1200}, {"豪华型吊顶", 1800}, {"舒适型封阳台", 170}, {"帖砖费用", 35}, {"乳胶漆费用", 23},
      {"防水涂料", 55}, {"包水管", 190}, {"门槛石", 75}, {"衣柜移门", 400}, {"封阳台", 210}};
  const std::vector<std::pair<std::string, std::string>> items = {
      {"顶面批腻子", "13"}, {"墙面批腻子", "12"}, {"墙顶面乳胶漆", "10"}, {"出租房门", "480"},
      {"实木免漆门", "580"}, {"实木门", "1480"}, {"原木门", "1880"}, {"移门", "360"}, {"推拉门", "480"},
      {"彩铝门", "580"}, {"折叠门", "600"}, {"塑钢门", "580"}, {"单包门套1", "65"}, {"单包门套2", "85"},
      {"双包门套1", "75"}, {"双包门套2", "115"}, {"地砖铺贴", "35"}, {"墙砖铺贴", "35"}, {"防水工程", "45"},
      {"包水管", "170"}, {"鞋柜制作", "580"}, {"衣柜制作1", "450"}, {"衣柜制作2", "480"}, {"衣柜制作3", "550"},
      {"书柜制作1", "600"}, {"书柜制作2", "1200"}, {"书柜制作3", "1600"}, {"玄关制作1", "800"},
      {"玄关制作2", "1200"}, {"玄关制作3", "1500"}, {"电视背景墙1", "600"}, {"电视背景墙2", "800"},
      {"电视背景墙3", "1200"}, {"电视背景墙4", "1800"}, {"电视背景墙5", "3000"}, {"局部吊顶", "115"},
      {"艺术吊顶", "135"}, {"酒架", "460"}, {"强化地板", "80"}, {"实木地板", "260"}, {"瓷砖1", "50"},
      {"瓷砖2", "120"}, {"瓷砖3", "180"}, {"封阳台", "170"}, {"厨柜制作1", "520"}, {"厨柜制作2", "520"},
      {"厨柜制作3", "520"}, {"厨柜制作4", "520"}, {"吊柜制作2", "320"}, {"吊柜制作3", "320"},
      {"吊柜制作4", "320"}, {"人造石台面1", "150"}, {"水晶石台面2", "260"}, {"石英石3", "480"},
      {"石英石台面4", "480"}, {"厨柜五金1", "350"}, {"厨柜五金2", "350"}, {"厨柜五金3", "580"},
      {"厨柜五金4", "350"}, {"洗菜盆及龙头1", "580"}, {"洗菜盆及龙头2", "580"}, {"洗菜盆及龙头3", "680"},
      {"洗菜盆及龙头4", "780"}, {"油烟机1", "1200"}, {"油烟机2", "1200"}, {"油烟机3", "1500"},
      {"油烟机4", "1600"}, {"灶台1", "450"}, {"灶台2", "450"}, {"灶台3", "600"}, {"灶台4", "800"},
      {"吸顶灯2", "85"}, {"吸顶灯3", "160"}, {"吸顶灯4", "180"}, {"墙面砖2", "28"}, {"墙面砖3", "58"},
      {"墙面砖4", "68"}, {"地面砖2", "8"}, {"地面砖3", "28"}, {"地面砖4", "38"}, {"燃气热水器2", "1750"},
      {"燃气热水器3", "180"}, {"燃气热水器4", "2000"}, {"铝扣板吊顶2", "95"}, {"铝扣板吊顶3", "95"},
      {"铝扣板吊顶4", "95"}, {"碳纤维灯2", ""}, {"碳纤维灯3", ""}, {"墙面砖11", "49"}, {"墙面砖22", "68"},
      {"墙面砖33", "78"}, {"地面砖11", "49"}, {"地面砖22", "68"}, {"地面砖33", "78"}, {"铝扣板吊顶11", "95"},
      {"铝扣板吊顶22", "95"}, {"铝扣板吊顶33", "95"}, {"面盆11", "1300"}, {"面盆22", "1500"},
      {"面盆33", "1800"}, {"地漏11", "25"}, {"地漏22", "25"}, {"地漏33", "25"}, {"淋浴11", "460"},
      {"淋浴22", "680"}, {"淋浴33", "780"}, {"锁具11", "55"}, {"锁具22", "55"}, {"锁具33", "70"},
      {"马桶11", "950"}, {"马桶22", "1050"}, {"马桶33", "1250"}, {"碳纤维灯11", "450"}, {"碳纤维灯22", "450"},
      {"碳纤维灯33", "450"}};
  ASSERT_EQ(estimate.size(), 58u);
  ASSERT_EQ(items.size(), 115u);

  PriceTable table;
  table.resetToDefaults();
  for (const auto& [key, value] : estimate) EXPECT_EQ(table.estimatePrice(key), value) << key;
  for (const auto& [key, value] : items) EXPECT_EQ(table.itemPrice(key), value) << key;

  // The loader walks exactly these keys, each once.
  std::set<std::string_view> estimateKeys, itemKeys;
  for (const auto& entry : estimatePriceDefaults()) estimateKeys.insert(entry.key);
  for (const auto& entry : itemPriceDefaults()) itemKeys.insert(entry.key);
  EXPECT_EQ(estimateKeys.size(), 58u);
  EXPECT_EQ(itemKeys.size(), 115u);
}

TEST(PriceTable, EmptyBeforeDefaultsAndUnknownKeysAreMissingPrices) {
  PriceTable table;
  EXPECT_EQ(table.estimatePrice("豪华型厨房主材"), 0);
  EXPECT_EQ(table.itemPrice("实木门"), "");

  // A key outside a half reads as a missing price and cannot be added by setting it.
  table.resetToDefaults();
  EXPECT_EQ(table.estimatePrice("经济型卫生间主材"), 0);  // the key is 经济弄…
  EXPECT_EQ(table.itemPrice("实木"), "");
  table.setEstimatePrice("不存在", 1);
  table.setItemPrice("实木", "9");
  EXPECT_FALSE(table.estimatePrices().contains("不存在"));
  EXPECT_FALSE(table.itemPrices().contains("实木"));
  EXPECT_EQ(table.estimatePrices().size(), kEstimatePriceCount);
  EXPECT_EQ(table.itemPrices().size(), kItemPriceCount);
}

TEST(PriceTable, SharedKeysAreIndependentPrices) {
  PriceTable table;
  table.resetToDefaults();
  table.setItemPrice("包水管", "200");
  table.setEstimatePrice("出租房门", 500);
  table.setItemPrice("封阳台", "35.5");
  EXPECT_EQ(table.itemPrice("包水管"), "200");
  EXPECT_EQ(table.estimatePrice("包水管"), 190);
  EXPECT_EQ(table.estimatePrice("出租房门"), 500);
  EXPECT_EQ(table.itemPrice("出租房门"), "480");
  EXPECT_EQ(table.itemPrice("封阳台"), "35.5");
  EXPECT_EQ(table.estimatePrice("封阳台"), 210);

  table.resetToDefaults();
  EXPECT_EQ(table.itemPrice("包水管"), "170");
  EXPECT_EQ(table.estimatePrice("出租房门"), 480);
}

TEST(PriceTable, ReadersSeeTheOldOrTheNewValueNeverATornOne) {
  // Run under ThreadSanitizer in CI: readers and a writer race on the same prices.
  PriceTable table;
  table.resetToDefaults();
  const std::string longPrice(200, '7');  // long enough to live on the heap
  std::atomic<bool> stop{false};
  std::atomic<int> badReads{0};

  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        const std::string text = table.itemPrice("实木门");
        if (text != "1480" && text != longPrice) ++badReads;
        const int value = table.estimatePrice("帖砖费用");
        if (value != 35 && value != 40) ++badReads;
        const ItemPrices copy = table.itemPrices();
        if (copy.get("实木门") != "1480" && copy.get("实木门") != longPrice) ++badReads;
      }
    });
  }
  for (int i = 0; i < 2000; ++i) {
    table.setItemPrice("实木门", (i % 2) ? longPrice : "1480");
    table.setEstimatePrice("帖砖费用", (i % 2) ? 40 : 35);
    if (i % 100 == 0) table.resetToDefaults();
  }
  stop = true;
  for (auto& reader : readers) reader.join();
  EXPECT_EQ(badReads.load(), 0);
}

// A price file replaces a whole half at once: a reader never sees keys of the old set mixed
// with keys of the new one. Run under ThreadSanitizer in CI.
TEST(PriceTable, WholeHalvesAreReplacedWhileReadersRead) {
  PriceTable table;
  table.resetToDefaults();
  const EstimatePrices oldEstimates = EstimatePrices::defaults();
  EstimatePrices newEstimates = EstimatePrices::zeros();
  for (const auto& entry : estimatePriceDefaults()) newEstimates.set(entry.key, entry.value + 1);
  const ItemPrices oldItems = ItemPrices::defaults();
  ItemPrices newItems = ItemPrices::blanks();
  for (const auto& entry : itemPriceDefaults()) newItems.set(entry.key, std::string(entry.value) + std::string(64, 'n'));

  std::atomic<bool> stop{false};
  std::atomic<int> mixed{0};
  std::atomic<int> reads{0};
  std::vector<std::thread> readers;
  for (int r = 0; r < 3; ++r) {
    readers.emplace_back([&] {
      while (!stop.load()) {
        const EstimatePrices estimates = table.estimatePrices();
        const bool estimatesOld = estimates.get("帖砖费用") == oldEstimates.get("帖砖费用");
        for (const auto& entry : estimatePriceDefaults())
          if (estimates.get(entry.key) != (estimatesOld ? oldEstimates : newEstimates).get(entry.key)) ++mixed;
        const ItemPrices items = table.itemPrices();
        const bool itemsOld = items.get("实木门") == oldItems.get("实木门");
        for (const auto& entry : itemPriceDefaults())
          if (items.get(entry.key) != (itemsOld ? oldItems : newItems).get(entry.key)) ++mixed;
        const std::string single = table.itemPrice("包水管");
        if (single != oldItems.get("包水管") && single != newItems.get("包水管")) ++mixed;
        ++reads;
      }
    });
  }
  for (int i = 0; i < 300 || reads.load() < 30; ++i) {
    table.replaceEstimatePrices(i % 2 ? oldEstimates : newEstimates);
    table.replaceItemPrices(i % 2 ? oldItems : newItems);
  }
  stop = true;
  for (auto& reader : readers) reader.join();
  EXPECT_EQ(mixed.load(), 0);
}

}  // namespace
}  // namespace decor
