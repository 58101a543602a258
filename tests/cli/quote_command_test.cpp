#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "quote_command_fixture.h"

namespace decor::cli {
namespace {

using test::feeRows;
using test::kLivingRoomRows;
using test::Output;
using QuoteCommandTest = test::QuoteCommandFixture;

// A living room, a blank line and a kitchen; the first line ends in CR LF.
constexpr const char* kTwoRooms =
    "客厅\t3200*2800*2920\t800*1500\t实木门\t1\t4\r\n"
    "\n"
    "厨房\t3000*2000*2800\t600*1500\t推拉门\t2\t4\n";

TEST_F(QuoteCommandTest, PrintsTheRowsTabSeparatedOrAsCsv) {
  const std::string rooms = write("rooms.tsv", kTwoRooms);
  const std::string dining = write("dining.tsv", "\xEF\xBB\xBF餐厅\t3200*2800*2920\t0*0\t(无)\t0\t4\n");
  struct Case {
    std::vector<std::string> args;
    std::string expected;
  };
  const std::vector<Case> cases{
      {{"--rooms", rooms},
       std::string(kLivingRoomRows) +
           "\t厨房\t\t\t\t\n"
           "1\t推拉门\t扇\t2\t480\t960\n"
           "2\t双包门套\t项\t5\t115\t575\n"
           "3\t地砖铺贴\tM2\t6\t35\t210\n"
           "4\t墙砖铺贴\tM2\t6\t35\t210\n"
           "5\t包水管\t根\t1\t170\t170\n"
           "\t\t\t\t\t\n" +
           feeRows(Output::Tsv, "140.76", "70.38", "563.04", "7811")},
      {{"--csv", "--floor", "瓷砖", "--grade", "豪华型装修", "--rooms", dining, "--package", "半包"},
       ",餐厅,,,,\r\n"
       "1,顶面批腻子,M2,8.96,13,116.48\r\n"
       "2,墙面批腻子,M2,35.04,12,420.48\r\n"
       "3,墙顶面乳胶漆,M2,44,10,440\r\n"
       "4,地砖铺贴,M2,8.96,35,313\r\n"
       "5,玄关制作,项,1,1500,1500\r\n"
       "6,酒架,M2,3.2704,460,1504\r\n"
       ",,,,,\r\n" +
           feeRows(Output::Csv, "85.86", "42.93", "343.44", "4763")},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(run(c.args), 0) << err_.str();
    EXPECT_EQ(out_.str(), c.expected) << ::testing::PrintToString(c.args);
    EXPECT_EQ(err_.str(), "");
  }
}

TEST_F(QuoteCommandTest, PriceFolderTextsAreShownAndQuotedWhereNeeded) {
  const std::string rooms = write("rooms.tsv", "卧室\t3500*3000*2800\t0*0\t移门\t1\t4\n");
  std::filesystem::create_directories(folder_ / "prices");
  std::ofstream(folder_ / "prices" / "Xiangxi.xml", std::ios::binary)
      << "<appSettings>\n"
         "<add key=\"移门\" value=\"360,5\" />\n"
         "<add key=\"衣柜制作3\" value=\"5\"50\" />\n"
         "<add key=\"顶面批腻子\" value=\"13\t\" />\n"
         "</appSettings>\n";
  // The file lacks most keys: those prices are empty and their totals 0.
  ASSERT_EQ(run({"--rooms", rooms, "--grade", "豪华型装修", "--prices", (folder_ / "prices").string(), "--csv"}), 0)
      << err_.str();
  EXPECT_EQ(out_.str(),
            ",卧室,,,,\r\n"
            "1,顶面批腻子,M2,10.5,13\t,136.5\r\n"  // a tab needs no quotes in CSV
            "2,墙面批腻子,M2,36.4,,0\r\n"
            "3,墙顶面乳胶漆,M2,46.9,,0\r\n"
            "4,移门,扇,1,\"360,5\",360\r\n"
            "5,衣柜制作,M2,8.4,5,42\r\n"
            ",,,,,\r\n" +
                feeRows(Output::Csv, "10.76", "5.38", "43.04", "596"));

  // Tab-separated output keeps one row a line.
  ASSERT_EQ(run({"--rooms", rooms, "--grade", "豪华型装修", "--prices", (folder_ / "prices").string()}), 0);
  EXPECT_EQ(out_.str().substr(0, out_.str().find("2\t墙面批腻子")),
            "\t卧室\t\t\t\t\n"
            "1\t顶面批腻子\tM2\t10.5\t13 \t136.5\n");
}

TEST_F(QuoteCommandTest, QuotedCsvFieldsDoubleTheirQuotes) {
  const std::string rooms = write("rooms.tsv", "阳台\t1000*1000*2800\t0*0\t(无)\t0\t4\n");
  std::filesystem::create_directories(folder_ / "prices");
  std::ofstream(folder_ / "prices" / "Xiangxi.xml", std::ios::binary)
      << "<appSettings><add key=\"地砖铺贴\" value=\"35元,“特价”\" /></appSettings>";
  ASSERT_EQ(run({"--rooms", rooms, "--prices", (folder_ / "prices").string(), "--csv"}), 0) << err_.str();
  EXPECT_EQ(out_.str().substr(0, out_.str().find(",,,,,")),
            ",阳台,,,,\r\n"
            "1,地砖铺贴,M2,1,\"35元,“特价”\",35\r\n");
  write("names.tsv", "客\"厅\t1*1*1\t0*0\t(无)\t0\t4\n");
  ASSERT_EQ(run({"--rooms", (folder_ / "names.tsv").string(), "--csv"}), 0);
  EXPECT_EQ(out_.str().substr(0, out_.str().find("\r\n")), ",\"客\"\"厅\",,,,");
}

// A name typed as a formula stays text in a spreadsheet; the figures, negative ones and the
// "-" of a hand-added row included, stay as they are.
TEST_F(QuoteCommandTest, CsvKeepsTypedFormulasFromRunning) {
  const std::string rooms = write("rooms.tsv", "阳台\t1000*1000*2800\t0*0\t(无)\t0\t4\n");
  ASSERT_EQ(run({"--rooms", rooms, "--csv", "--add", "=HYPERLINK(\"http://x\")", "1", "-3679", "--add", "@x", "-2",
                 "+1"}),
            0);
  EXPECT_NE(out_.str().find("\r\n-,\"'=HYPERLINK(\"\"http://x\"\")\",增,1,-3679,-3679\r\n-,'@x,增,-2,'+1,-2\r\n"),
            std::string::npos)
      << out_.str();
}

TEST_F(QuoteCommandTest, RefusesARowTheBuildCannotRead) {
  const std::string rooms = write("rooms.tsv",
                                  "客厅\t3200*2800*2920\t800*1500\t实木门\t1\t4\n"
                                  "\n"
                                  "卧室\t3200*2800\t800*1500\t实木门\t1\t4\n");
  EXPECT_EQ(run({"--rooms", rooms}), 1);
  EXPECT_EQ(out_.str(), "");
  EXPECT_EQ(err_.str(), "decor-cli quote: 房间文件 " + rooms +
                            " 第3行: 您输入的房子内容格式不正确\r\n正确格式为   长*宽*高\n");

  const std::string window = write("window.tsv", "卧室\t3200*2800*2920\t1500\t实木门\t1\t4\r\n");
  EXPECT_EQ(run({"--rooms", window}), 1);
  EXPECT_EQ(out_.str(), "");
  EXPECT_EQ(err_.str(),
            "decor-cli quote: 房间文件 " + window + " 第1行: 您输入的窗子内容格式不正确\r\n正确格式为   长*高\n");
}

TEST_F(QuoteCommandTest, RefusesUnusableFiles) {
  const std::string columns = write("columns.tsv", "客厅\t3200*2800*2920\t800*1500\t实木门\t1\n");
  EXPECT_EQ(run({"--rooms", columns}), 1);
  EXPECT_EQ(err_.str(), "decor-cli quote: 房间文件 " + columns + " 第1行应有6列（以制表符分隔），实际有5列\n");

  const std::string empty = write("empty.tsv", "\r\n\n");
  EXPECT_EQ(run({"--rooms", empty}), 1);
  EXPECT_EQ(err_.str(), "decor-cli quote: 房间文件 " + empty + ": 至少要添加1房间！\n");

  const std::string missing = (folder_ / "missing.tsv").string();
  EXPECT_EQ(run({"--rooms", missing}), 1);
  EXPECT_EQ(err_.str(), "decor-cli quote: 无法读取房间文件 " + missing + "：文件不存在\n");

  const std::string rooms = write("rooms.tsv", kTwoRooms);
  EXPECT_EQ(run({"--rooms", rooms, "--prices", folder_.string()}), 1);
  EXPECT_EQ(err_.str(), "decor-cli quote: 价格文件夹 " + folder_.string() + " 中没有 AppConfig.xml 或 Xiangxi.xml\n");
  EXPECT_EQ(out_.str(), "");
}

TEST_F(QuoteCommandTest, UsageErrors) {
  const std::string rooms = write("rooms.tsv", kTwoRooms);
  const std::string hint = "\n（decor-cli quote --help 查看用法）\n";
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const std::vector<Case> cases{
      {{}, "decor-cli quote: 缺少 --rooms 文件" + hint},
      {{"--rooms"}, "decor-cli quote: 选项 --rooms 需要 1 个参数" + hint},
      {{"--rooms", rooms, "--rooms", rooms}, "decor-cli quote: 选项 --rooms 只能给出一次" + hint},
      {{"--rooms", rooms, "--grade", "精装修"},
       "decor-cli quote: 未知的装修档次 \"精装修\"，应为 出租房装修、经济型装修、舒适型装修、\"精  装  修\" 或 "
       "豪华型装修" + hint},
      {{"--rooms", rooms, "--package", "半包装修"}, "decor-cli quote: --package 应为 半包 或 全包，而不是 \"半包装修\"" + hint},
      {{"--rooms", rooms, "--floor", "铺瓷砖"}, "decor-cli quote: --floor 应为 地板 或 瓷砖，而不是 \"铺瓷砖\"" + hint},
      {{"--rooms", rooms, "--colour"}, "decor-cli quote: 未知选项 \"--colour\"" + hint},
      {{"--rooms", rooms, "--prices", ""}, "decor-cli quote: --prices 需要一个文件夹，不能为空" + hint},
      {{"--rooms", rooms, "--modify", "3", "墙面批腻子", "M2"}, "decor-cli quote: 选项 --modify 需要 5 个参数" + hint},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.args), 2) << ::testing::PrintToString(c.args);
    EXPECT_EQ(err_.str(), c.error) << ::testing::PrintToString(c.args);
    EXPECT_EQ(out_.str(), "");
  }
}

// A tab-separated quote, line by line.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

TEST_F(QuoteCommandTest, FullPackageAddsTheMainMaterialsAndTheTotal) {
  const std::string rooms = write("rooms.tsv", kTwoRooms);
  ASSERT_EQ(run({"--rooms", rooms}), 0);
  const std::string half = out_.str();
  ASSERT_EQ(run({"--rooms", rooms, "--package", "全包"}), 0) << err_.str();
  EXPECT_EQ(out_.str(), half +
                            "\t\t\t\t\t\n"
                            "\t实木地板\tM2\t8.96\t160\t1433\n"
                            "\t\t\t\t\t\n"
                            "\t厨房\t\t\t\t\n"
                            "\t厨柜制作\tM\t3\t520\t1560\n"
                            "\t吊柜制作\tM\t3\t320\t960\n"
                            "\t水晶石台面\tM\t3\t260\t780\n"
                            "\t厨柜五金\t项\t1\t350\t350\n"
                            "\t洗菜盆及龙头\t套\t1\t580\t580\n"
                            "\t油烟机\t套\t1\t1200\t1200\n"
                            "\t灶台\t套\t1\t450\t450\n"
                            "\t吸顶灯\t套\t1\t85\t85\n"
                            "\t墙面砖\tM2\t6\t28\t168\n"
                            "\t地面砖\tM2\t6\t8\t48\n"
                            "\t燃气热水器\t套\t1\t1750\t1750\n"
                            "\t铝扣板吊顶\tM2\t6\t95\t570\n"
                            "\t\t\t\t\t\n"
                            "\t全包总价格\t\t\t\t17745\n");
  EXPECT_EQ(err_.str(), "");
}

TEST_F(QuoteCommandTest, TableCommandsApplyInTheOrderGiven) {
  const std::string rooms = write("rooms.tsv", kTwoRooms);
  ASSERT_EQ(run({"--rooms", rooms}), 0);
  const std::vector<std::string> half = linesOf(out_.str());
  ASSERT_EQ(half.size(), 22U);

  struct Case {
    std::vector<std::string> commands;
    std::vector<std::string> expected;
  };
  // Rows count from 1 as the table stands: the second --delete 2 deletes the old row 3.
  std::vector<std::string> deleted = half;
  deleted.erase(deleted.begin() + 1, deleted.begin() + 3);
  deleted.back() = "\t工程总造价\t\t\t\t7282";
  std::vector<std::string> modified = half;
  modified[4] = "4\t实木门\t扇\t2\t1480\t2960";
  modified.back() = "\t工程总造价\t\t\t\t9291";
  std::vector<std::string> added(half.begin(), half.begin() + 16);
  const std::vector<std::string> addedTail =
      linesOf("\t\t\t\t\t\n-\t窗帘\t增\t2\t300\t600\n\t\t\t\t\t\n" + feeRows(Output::Tsv, "152.76", "76.38", "611.04", "8477"));
  added.insert(added.end(), addedTail.begin(), addedTail.end());
  const std::vector<Case> cases{
      {{"--delete", "2", "--delete", "2"}, deleted},
      {{"--modify", "5", "实木门", "扇", "2", "1480"}, modified},
      {{"--add", "窗帘", "2", "300"}, added},
      {{"--delete", "0", "--modify", "0", "x", "x", "9", "9"}, half},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"--rooms", rooms};
    args.insert(args.end(), c.commands.begin(), c.commands.end());
    ASSERT_EQ(run(args), 0) << err_.str();
    EXPECT_EQ(out_.str(), joined(c.expected)) << ::testing::PrintToString(c.commands);
  }
}

TEST_F(QuoteCommandTest, RowNumbersPastTheTableOrNotNumbersAreUsageErrors) {
  const std::string rooms = write("rooms.tsv", kTwoRooms);
  const std::string hint = "\n（decor-cli quote --help 查看用法）\n";
  ASSERT_EQ(run({"--rooms", rooms, "--delete", "22"}), 0) << err_.str();
  struct Case {
    std::vector<std::string> args;
    std::string error;
  };
  const std::vector<Case> cases{
      {{"--rooms", rooms, "--delete", "23"}, "decor-cli quote: 选项 --delete 的行号 23 超出了报价表（共 22 行）" + hint},
      {{"--rooms", rooms, "--delete", "22", "--modify", "22", "a", "b", "1", "1"},
       "decor-cli quote: 选项 --modify 的行号 22 超出了报价表（共 21 行）" + hint},
      {{"--rooms", rooms, "--delete", "-1"}, "decor-cli quote: 选项 --delete 的行号应为不小于 0 的整数，而不是 \"-1\"" + hint},
      {{"--rooms", rooms, "--modify", "２", "a", "b", "1", "1"},
       "decor-cli quote: 选项 --modify 的行号应为不小于 0 的整数，而不是 \"２\"" + hint},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.args), 2) << ::testing::PrintToString(c.args);
    EXPECT_EQ(err_.str(), c.error) << ::testing::PrintToString(c.args);
    EXPECT_EQ(out_.str(), "");
  }
}

TEST_F(QuoteCommandTest, HelpDocumentsEveryOption) {
  EXPECT_EQ(run({"--help"}), 0);
  const std::string help = out_.str();
  EXPECT_TRUE(help.starts_with("用法: decor-cli quote --rooms 文件")) << help;
  for (const char* option : {"--rooms", "--grade", "--package", "--floor", "--prices", "--csv", "--modify",
                             "--delete", "--add", "--save", "--open", "退出码"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(err_.str(), "");
  EXPECT_EQ(run({"-h"}), 0);
  EXPECT_EQ(out_.str(), help);
}

TEST_F(QuoteCommandTest, TheProgramWritesOnlyRowsToStdout) {
  const std::string rooms = write("rooms.tsv", kTwoRooms);
  const std::string command = std::string(DECOR_CLI_PATH) + " quote --rooms '" + rooms + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  EXPECT_EQ(pclose(pipe), 0);
  ASSERT_EQ(run({"--rooms", rooms}), 0);
  EXPECT_EQ(output, out_.str());
}

}  // namespace
}  // namespace decor::cli
