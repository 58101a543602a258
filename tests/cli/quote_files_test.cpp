#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "quote_command_fixture.h"
#include "shell_command.h"

namespace decor::cli {
namespace {

using test::runShell;
using test::ShellResult;

class QuoteFilesTest : public test::QuoteCommandFixture {
 protected:
  const std::string rooms_ = write("rooms.tsv", test::kLivingRoomLine);
};

const std::string kLivingRoomQuote =
    test::kLivingRoomRows + test::feeRows(test::Output::Tsv, "98.26", "49.13", "393.04", "5453");

TEST_F(QuoteFilesTest, WorkbookBesideThePrintedRows) {
  const std::string xlsx = (folder_ / "报价.xlsx").string();
  ASSERT_EQ(run({"--rooms", rooms_, "--xlsx", xlsx}), 0) << err_.str();
  EXPECT_EQ(out_.str(), kLivingRoomQuote);
  EXPECT_EQ(err_.str(), "");

  const ShellResult dump = runShell("/usr/bin/python3 " DECOR_TEST_TOOLS_DIR "/dump_xlsx.py '" + xlsx + "' 2>&1");
  ASSERT_EQ(dump.exitCode, 0) << dump.output;
  EXPECT_TRUE(dump.output.starts_with("sheets=半包装修详细报价|房间\nfreeze=A4\n")) << dump.output;
  // The second sheet says what was priced: the room as the file gave it.
  const std::size_t rooms = dump.output.find("sheet 房间:\n");
  ASSERT_NE(rooms, std::string::npos) << dump.output;
  EXPECT_NE(dump.output.find("row 2:\t*t:报价方式\tt:半包\t\t\t\t\n", rooms), std::string::npos) << dump.output;
  EXPECT_NE(dump.output.find("row 6:\tt:客厅\tt:3200*2800*2920\tt:800*1500\tt:实木门\tt:1\tt:4\n", rooms),
            std::string::npos)
      << dump.output;
  EXPECT_NE(dump.output.find("row 5:\tn:1\tt:顶面批腻子\tt:M2\tn:8.96\tn:13\tn:116.48\n"), std::string::npos);
  EXPECT_NE(dump.output.find("row 18:\t\t*t:工程总造价\t\t\t\t*n:5453\n"), std::string::npos);

  EXPECT_EQ(run({"--rooms", rooms_, "--xlsx", xlsx, "--xlsx", xlsx}), 2);
  EXPECT_EQ(run({"--rooms", rooms_, "--pdf"}), 2);
}

TEST_F(QuoteFilesTest, AFileThatCannotBeSavedStillPrintsTheRows) {
  const std::string missing = (folder_ / "无此文件夹" / "报价.xlsx").string();
  EXPECT_EQ(run({"--rooms", rooms_, "--xlsx", missing}), 3);
  EXPECT_EQ(out_.str(), kLivingRoomQuote);
  EXPECT_EQ(err_.str(), "decor-cli quote: 无法保存文件“" + missing + "”：文件夹不存在\n");
}

// The program itself, with no display and no session to be had: the PDF is drawn headless,
// and Qt has nothing to say about it.
TEST_F(QuoteFilesTest, PdfWithoutADisplay) {
#ifndef DECOR_HAVE_PDF
  GTEST_SKIP() << "built without Qt: no PDF";
#endif
  const std::string pdf = (folder_ / "报价.pdf").string();
  const std::string errors = (folder_ / "stderr.txt").string();
  const ShellResult cli =
      runShell("env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=xcb " DECOR_CLI_PATH
               " quote --rooms '" + rooms_ + "' --pdf '" + pdf + "' 2>'" + errors + "'");
  ASSERT_EQ(cli.exitCode, 0);
  EXPECT_EQ(cli.output, kLivingRoomQuote);
  EXPECT_EQ(runShell("cat '" + errors + "'").output, "");

  // Each table row on a line of its own, the columns apart by blanks.
  const ShellResult text = runShell("pdftotext -layout '" + pdf + "' - | sed -e 's/^ *//' -e 's/  */ /g'");
  ASSERT_EQ(text.exitCode, 0) << text.output;
  for (const char* line : {"\n半包装修详细报价\n", "\n4 实木门 扇 1 1480 1480\n", "\n工程总造价 5453\n"}) {
    EXPECT_NE(text.output.find(line), std::string::npos) << line << "\n" << text.output;
  }
  // The narrow blanks around the page number may or may not read as blanks.
  std::string packed = text.output;
  std::erase(packed, ' ');
  EXPECT_NE(packed.find("第1页/共1页"), std::string::npos) << text.output;
}

}  // namespace
}  // namespace decor::cli
