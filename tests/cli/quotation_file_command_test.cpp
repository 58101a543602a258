// decor-cli quote --save and --open: a saved quotation opens with the rows it was saved with,
// later edits go on from them and are kept in order, and an unusable file changes nothing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "quotation/quotation_file.h"
#include "quote_command_fixture.h"

namespace decor::cli {
namespace {

using QuotationFileCommandTest = test::QuoteCommandFixture;

constexpr const char* kRooms =
    "客厅\t3200*2800*2920\t800*1500\t实木门\t1\t4\n"
    "卫生间\t2000*1800*2600\t600*1500\t塑钢门\t1\t4\n";

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(QuotationFileCommandTest, SaveThenOpenGivesTheSameRowsAndLaterEditsGoOn) {
  const std::string rooms = write("rooms.tsv", kRooms);
  struct Case {
    std::vector<std::string> request;  // the package, the floor and the grade
    std::vector<std::string> edits;    // before saving
    std::vector<std::string> later;    // after opening
  };
  const std::vector<Case> cases{
      {{"--package", "半包"}, {}, {"--delete", "2"}},
      {{"--package", "半包", "--floor", "瓷砖", "--grade", "豪华型装修"},
       {"--modify", "2", "墙面批腻子", "M2", "40", "12", "--delete", "3", "--add", "清水漆", "3", "44.5"},
       {"--add", "铲墙面", "20", "8", "--modify", "0", "", "", "", ""}},
      {{"--package", "全包"},
       {"--add", "包水管", "2", "75", "--delete", "1"},
       {"--modify", "4", "实木门", "扇", "2", "1480"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.request) + ::testing::PrintToString(c.edits));
    const std::string file = (folder_ / "报价.json").string();
    std::vector<std::string> args{"--rooms", rooms};
    args.insert(args.end(), c.request.begin(), c.request.end());
    args.insert(args.end(), c.edits.begin(), c.edits.end());

    std::vector<std::string> saving = args;
    saving.insert(saving.end(), {"--save", file});
    ASSERT_EQ(run(saving), 0) << err_.str();
    const std::string savedRows = out_.str();
    ASSERT_NE(savedRows, "");

    ASSERT_EQ(run({"--open", file}), 0) << err_.str();
    EXPECT_EQ(out_.str(), savedRows);
    EXPECT_EQ(err_.str(), "");

    // Edits after opening: the same rows as all edits given at once, and the file they are
    // saved to keeps both lists in order.
    std::vector<std::string> opening{"--open", file};
    opening.insert(opening.end(), c.later.begin(), c.later.end());
    opening.insert(opening.end(), {"--save", file});
    ASSERT_EQ(run(opening), 0) << err_.str();
    const std::string reopenedRows = out_.str();
    std::vector<std::string> allAtOnce = args;
    allAtOnce.insert(allAtOnce.end(), c.later.begin(), c.later.end());
    ASSERT_EQ(run(allAtOnce), 0) << err_.str();
    EXPECT_EQ(reopenedRows, out_.str());

    const QuotationFileReading reading = readQuotationFile(readAll(file));
    ASSERT_TRUE(reading.file) << reading.error;
    const std::size_t editCount = static_cast<std::size_t>(
        std::count_if(allAtOnce.begin(), allAtOnce.end(), [](const std::string& a) { return a.starts_with("--") &&
                      (a == "--modify" || a == "--delete" || a == "--add"); }));
    EXPECT_EQ(reading.file->edits.size(), editCount);
    EXPECT_EQ(reading.file->request.rooms.size(), 2u);
  }
}

TEST_F(QuotationFileCommandTest, AnUnusableFileOrRequestIsRefusedAndNothingIsWritten) {
  const std::string rooms = write("rooms.tsv", kRooms);
  const std::string good = (folder_ / "good.json").string();
  ASSERT_EQ(run({"--rooms", rooms, "--save", good}), 0) << err_.str();
  std::string newer = readAll(good);
  newer.replace(newer.find("\"version\":1"), 11, "\"version\":7");
  const std::string newerFile = write("newer.json", newer);
  const std::string damaged = write("damaged.json", readAll(good).substr(0, 100));
  const std::string hint = "\n（decor-cli quote --help 查看用法）\n";

  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string error;
  };
  const std::vector<Case> cases{
      {{"--open", newerFile, "--save", good}, 1,
       "decor-cli quote: 报价文件 " + newerFile +
           ": 这个报价文件由较新版本的程序保存（文件版本 7），本程序只能打开版本 1 的报价文件。请更新程序后再打开。\n"},
      {{"--open", (folder_ / "none.json").string()}, 1,
       "decor-cli quote: 无法读取报价文件 " + (folder_ / "none.json").string() + "：文件不存在\n"},
      {{"--open", good, "--rooms", rooms}, 2, "decor-cli quote: --open 不能与 --rooms 同时给出" + hint},
      {{"--open", good, "--package", "全包"}, 2, "decor-cli quote: --open 不能与 --package 同时给出" + hint},
      {{"--open", good, "--open", good}, 2, "decor-cli quote: 选项 --open 只能给出一次" + hint},
      {{"--open", good, "--delete", "999", "--save", good}, 2,
       "decor-cli quote: 选项 --delete 的行号 999 超出了报价表（共 23 行）" + hint},
  };
  const std::string before = readAll(good);
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    EXPECT_EQ(run(c.args), c.exitCode);
    EXPECT_EQ(err_.str(), c.error);
    EXPECT_EQ(out_.str(), "");
    EXPECT_EQ(readAll(good), before) << "the saved file is left as it was";
  }

  EXPECT_EQ(run({"--open", damaged}), 1);
  EXPECT_TRUE(err_.str().starts_with("decor-cli quote: 报价文件 " + damaged + ": 报价文件已损坏：")) << err_.str();

  // The rows are printed even when the file cannot be written.
  EXPECT_EQ(run({"--open", good, "--save", (folder_ / "no-such-folder" / "x.json").string()}), 3);
  EXPECT_NE(out_.str(), "");
  EXPECT_NE(err_.str().find("无法保存文件"), std::string::npos) << err_.str();
}

}  // namespace
}  // namespace decor::cli
