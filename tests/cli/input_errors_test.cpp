// decor-cli given paths that are not ordinary readable files: every case ends with exit 1 and
// a message naming the path and the reason, never with an exception or a hang.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "cli/input_file.h"
#include "cli/price_folder.h"
#include "pricing/price_defaults.h"
#include "quote_command_fixture.h"
#include "shell_command.h"

namespace decor::cli {
namespace {

namespace fs = std::filesystem;

using test::kLivingRoomLine;
using InputErrorsTest = test::QuoteCommandFixture;

TEST_F(InputErrorsTest, UnusableRoomFilesAndPriceFoldersNameThePathAndTheReason) {
  const std::string rooms = write("rooms.tsv", kLivingRoomLine);
  const std::string longName = (folder_ / std::string(300, 'x')).string();
  const std::string loop = (folder_ / "loop").string();
  fs::create_symlink(loop, loop);
  fs::create_directories(folder_ / "dir-prices" / "AppConfig.xml");
  const std::string fifo = (folder_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string huge = (folder_ / "huge.tsv").string();
  std::ofstream(huge).close();
  fs::resize_file(huge, kMaxInputFileBytes + 1);  // sparse: costs no disk
  const std::string folder = folder_.string();

  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  std::vector<Case> cases{
      {{"--rooms", ""}, "无法读取房间文件 ：路径为空"},
      {{"--rooms", folder}, "无法读取房间文件 " + folder + "：是文件夹，不是文件"},
      {{"--rooms", longName}, "无法读取房间文件 " + longName + "：路径名过长"},
      {{"--rooms", rooms, "--prices", longName},
       "无法读取价格文件 " + longName + "/AppConfig.xml：路径名过长"},
      {{"--rooms", loop}, "无法读取房间文件 " + loop + "：符号链接层数过多（可能是循环链接）"},
      {{"--rooms", rooms, "--prices", loop},
       "无法读取价格文件 " + loop + "/AppConfig.xml：符号链接层数过多（可能是循环链接）"},
      {{"--rooms", rooms, "--prices", folder + "/dir-prices"},
       "无法读取价格文件 " + folder + "/dir-prices/AppConfig.xml：是文件夹，不是文件"},
      {{"--rooms", rooms, "--prices", rooms}, "无法读取价格文件 " + rooms + "/AppConfig.xml：路径中有一段不是文件夹"},
      {{"--rooms", "/dev/zero"}, "无法读取房间文件 /dev/zero：不是普通文件（设备、管道或套接字）"},
      {{"--rooms", fifo}, "无法读取房间文件 " + fifo + "：不是普通文件（设备、管道或套接字）"},
      {{"--rooms", huge}, "无法读取房间文件 " + huge + "：文件超过 64 MiB 的上限"},
      // Opens, and every read fails: what an unreadable file looks like even to root.
      {{"--rooms", "/proc/self/mem"}, "无法读取房间文件 /proc/self/mem：读取出错（Input/output error）"},
  };
  if (::geteuid() != 0) {  // root reads every file
    const std::string locked = write("locked.tsv", kLivingRoomLine);
    fs::permissions(locked, fs::perms::none);
    cases.push_back({{"--rooms", locked}, "无法读取房间文件 " + locked + "：没有读取权限"});
  }
  for (const Case& c : cases) {
    EXPECT_EQ(run(c.args), 1) << c.message;
    EXPECT_EQ(err_.str(), "decor-cli quote: " + c.message + "\n");
    EXPECT_EQ(out_.str(), "");
  }
}

TEST_F(InputErrorsTest, ReadsUpToTheLimitAndNotOneByteMore) {
  const std::string file = write("ten.txt", "0123456789");
  const InputFile atLimit = readInputFile(file, 10);
  EXPECT_EQ(atLimit.status, InputFile::Status::Read);
  EXPECT_EQ(atLimit.bytes, "0123456789");
  const InputFile over = readInputFile(file, 9);
  EXPECT_EQ(over.status, InputFile::Status::Refused);
  EXPECT_EQ(over.reason, "文件超过 9 字节 的上限");
  EXPECT_EQ(over.bytes, "");
  EXPECT_EQ(readInputFile(folder_ / "absent").status, InputFile::Status::Missing);
}

// The room entry window's rule, naming the field: letters and negative numbers are refused.
TEST_F(InputErrorsTest, LettersAndNegativeMeasuresAreRefusedWithTheirLine) {
  const std::string size = "行: 房间长宽高只能填写数字，且不能为负数";
  const std::string window = "行: 窗户长高只能填写数字，且不能为负数";
  const std::vector<std::pair<std::string, std::string>> lines{
      {"客厅\t-3200*2800*2920\t800*1500\t实木门\t1\t4", size},
      {"客厅\t3200*-2800*2920\t800*1500\t实木门\t1\t4", size},
      {"客厅\t3200*2800*－2920\t800*1500\t实木门\t1\t4", size},
      {"客厅\t3200*2800*abc\t800*1500\t实木门\t1\t4", size},
      {"客厅\t3200*2800*2920\t-800*1500\t实木门\t1\t4", window},
      {"客厅\t3200*2800*2920\t800*-1\t实木门\t1\t4", window},
      // A minus sign is refused even where it leaves the figure 0.
      {"客厅\t3200*2800*2920\t-0*1500\t实木门\t1\t4", window},
      {"客厅\t3200*2800*2920\t800*1500\t实木门\t-1\t4", "行: 门的扇数只能填写数字，且不能为负数"},
      {"客厅\t3200*2800*2920\t800*1500\t实木门\t1\t-4", "行: 墙面数只能填写数字，且不能为负数"},
  };
  for (const auto& [line, message] : lines) {
    const std::string rooms = write("rooms.tsv", std::string(kLivingRoomLine) + "\n" + line + "\n");
    EXPECT_EQ(run({"--rooms", rooms}), 1) << line;
    EXPECT_EQ(err_.str(), "decor-cli quote: 房间文件 " + rooms + " 第3" + message + "\n") << line;
    EXPECT_EQ(out_.str(), "");
  }
}

TEST_F(InputErrorsTest, SaturatedTotalsAreReportedOnStderr) {
  const std::string rooms = write("rooms.tsv", "客厅\t2000000000*2000000000*2920\t0*0\t(无)\t0\t4\n");
  EXPECT_EQ(run({"--rooms", rooms}), 0);
  EXPECT_NE(out_.str().find("\t工程总造价\t\t\t\t2147483647\n"), std::string::npos) << out_.str();
  EXPECT_EQ(err_.str(),
            "decor-cli quote: 注意：有总计超出了整数范围，按上限 2147483647 或下限 -2147483648 输出，不是真实金额\n");
}

// A folder whose second file is unusable changes neither half of the table.
TEST_F(InputErrorsTest, PriceFolderAppliesBothFilesOrNeither) {
  write("AppConfig.xml", R"(<appSettings><add key="帖砖费用" value="99" /></appSettings>)");
  write("Xiangxi.xml", "<html>not a price file</html>");
  PriceTable table;
  table.resetToDefaults();
  const std::int32_t before = table.estimatePrice("帖砖费用");
  std::string error;
  EXPECT_FALSE(applyPriceFolder(table, folder_, error));
  EXPECT_EQ(error, (folder_ / "Xiangxi.xml").string() + " 无法读取或不含 <appSettings>");
  EXPECT_EQ(table.estimatePrice("帖砖费用"), before);
  EXPECT_NE(before, 99);

  fs::create_directories(folder_ / "Xiangxi.xml.d");
  fs::remove(folder_ / "Xiangxi.xml");
  fs::create_directory_symlink(folder_ / "Xiangxi.xml.d", folder_ / "Xiangxi.xml");
  EXPECT_FALSE(applyPriceFolder(table, folder_, error));
  EXPECT_EQ(error, "无法读取价格文件 " + (folder_ / "Xiangxi.xml").string() + "：是文件夹，不是文件");
  EXPECT_EQ(table.estimatePrice("帖砖费用"), before);
}

// The program itself, not only the commands: the cases that used to end in an uncaught
// exception (exit 134) end with exit code 1.
TEST_F(InputErrorsTest, TheProgramNeverAborts) {
  const std::string longName = std::string(300, 'y');
  for (const std::string& args : {"quote --rooms " + folder_.string(), "quote --rooms " + longName,
                                  "estimate --prices " + longName}) {
    EXPECT_EQ(test::runShell(DECOR_CLI_PATH " " + args + " >/dev/null 2>&1").exitCode, 1) << args;
  }
}

}  // namespace
}  // namespace decor::cli
