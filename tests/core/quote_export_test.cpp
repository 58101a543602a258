#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "export/file_replace.h"
#include "export/quote_document.h"
#include "export/xlsx_export.h"
#include "export_test_support.h"
#include "scratch_folder.h"
#include "text/system_path.h"
#ifndef _WIN32
#include "shell_command.h"
#endif

namespace decor {
namespace {

TEST(QuoteDocument, PlainDecimalsBecomeNumbersEverythingElseStaysText) {
  struct Case {
    const char* text;
    std::optional<double> value;
  };
  const Case cases[] = {
      {"5453", 5453},    {"116.48", 116.48}, {"0", 0},           {"0.29", 0.29},
      {"-12.25", -12.25}, {"37.5", 37.5},    {"123456789012345", 123456789012345.0},
      {"0.000001", 0.000001},
      // Shown differently by a spreadsheet, or not a plain number at all.
      {"", std::nullopt},      {"-", std::nullopt},      {"增", std::nullopt},    {"2%", std::nullopt},
      {"1.50", std::nullopt},  {"007", std::nullopt},    {"-0", std::nullopt},    {"1e5", std::nullopt},
      {"1.", std::nullopt},    {".5", std::nullopt},     {"+3", std::nullopt},    {" 3", std::nullopt},
      {"3 ", std::nullopt},    {"１２０", std::nullopt}, {"1,000", std::nullopt}, {"1234567890123456", std::nullopt},
      {"0.1234567890123456", std::nullopt}, {"--1", std::nullopt}, {"1.2.3", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(plainDecimalValue(c.text), c.value) << '"' << c.text << '"';
}

TEST(QuoteDocument, HeadingsFeeHeadingAndTotalsAreEmphasised) {
  const std::pair<QuoteItem, bool> cases[] = {
      {{"", "客厅", "", "", "", ""}, true},
      {{"", "其它的", "", "", "", ""}, true},
      {{"", "工程总造价", "", "", "", "5453"}, true},
      {{"", "全包总价格", "", "", "", "13895"}, true},
      {{"", "全包总价格", "", "", "", ""}, true},
      {{}, false},
      {{"1", "顶面批腻子", "M2", "8.96", "13", "116.48"}, false},
      {{"", "材料搬运费", "户", "1", "2%", "98.26"}, false},
      {{"3", "客厅", "", "", "", ""}, false},
      {{"", "客厅", "", "", "", "0"}, false},
      {{"", "", "", "", "", "5453"}, false},
  };
  for (const auto& [row, emphasised] : cases) EXPECT_EQ(isEmphasisedRow(row), emphasised) << row.name;
}

TEST(QuoteDocument, TextsForNamesAndPages) {
  EXPECT_EQ(proposedFileName("全包装修详细报价", "2026-12-08", "xlsx"), "全包装修详细报价-2026-12-08.xlsx");
  EXPECT_EQ(proposedFileName("a/b\\c:d*e?f\"g<h>i|j\tk", "2026-01-02", "pdf"), "a_b_c_d_e_f_g_h_i_j_k-2026-01-02.pdf");
  EXPECT_EQ(proposedFileName(" . ", "2026-01-02", "pdf"), "报价-2026-01-02.pdf");
  EXPECT_EQ(withFileExtension("/home/u/报价", "pdf"), "/home/u/报价.pdf");
  EXPECT_EQ(withFileExtension("/home/u/报价.PDF", "pdf"), "/home/u/报价.PDF");
  EXPECT_EQ(withFileExtension("/home/u/报价.xlsx", "pdf"), "/home/u/报价.xlsx.pdf");
  EXPECT_EQ(pageNumberText(3, 12), "第 3 页 / 共 12 页");
  const struct {
    QuoteRequest request;
    std::string line;
  } requests[] = {
      {QuoteRequest{.rooms = {}, .grade = "舒适型装修", .scope = PackageScope::Full, .floor = FloorChoice::WoodenFloor},
       "装修档次：舒适型装修  报价方式：全包  地面：地板"},
      {QuoteRequest{.rooms = {}, .grade = "精  装  修", .scope = PackageScope::Half, .floor = FloorChoice::Tiles},
       "装修档次：精  装  修  报价方式：半包  地面：瓷砖"},
  };
  for (const auto& r : requests) EXPECT_EQ(requestLine(r.request), r.line);
  EXPECT_TRUE(std::regex_match(todayIsoDate(), std::regex(R"(20\d\d-(0[1-9]|1[0-2])-(0[1-9]|[12]\d|3[01]))")));
}

TEST(XlsxExport, SheetNamesAndHeaderFooterEscapes) {
  EXPECT_EQ(sheetNameFor("半包装修详细报价"), "半包装修详细报价");
  EXPECT_EQ(sheetNameFor("a[b]c:d*e?f/g\\h"), "a_b_c_d_e_f_g_h");
  EXPECT_EQ(sheetNameFor("''"), "报价");
  EXPECT_EQ(sheetNameFor(""), "报价");
  // 31 characters, not bytes: 40 Chinese characters keep their first 31 whole.
  std::string long40;
  for (int i = 0; i < 40; ++i) long40 += "装";
  EXPECT_EQ(sheetNameFor(long40), long40.substr(0, 31 * std::string("装").size()));
  EXPECT_EQ(escapeHeaderFooterText("a&b&&c"), "a&&b&&&&c");
}

class ExportFolder : public ::testing::Test {
 protected:

  static std::string read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder_), {}));
  }

  test::ScratchFolder scratch_{"decor-export"};
  const std::filesystem::path& folder_ = scratch_.path();
};

TEST_F(ExportFolder, ReplaceFileSwapsInOnlyAFinishedFile) {
  const std::string target = utf8FromPath(folder_ / u8"报价.xlsx");
  std::ofstream(pathFromUtf8(target)) << "earlier";

  const std::string failure = replaceFile(target, [](const std::string& temp) {
    std::ofstream(pathFromUtf8(temp)) << "half";
    return std::string("磁盘空间不足");
  });
  EXPECT_EQ(failure, "无法保存文件“" + target + "”：磁盘空间不足");
  EXPECT_EQ(read(pathFromUtf8(target)), "earlier");
  EXPECT_EQ(entries(), 1u) << "the temporary file is removed";

  std::string tempSeen;
  EXPECT_EQ(replaceFile(target,
                        [&](const std::string& temp) {
                          tempSeen = temp;
                          std::ofstream(pathFromUtf8(temp)) << "new";
                          return std::string();
                        }),
            "");
  EXPECT_EQ(read(pathFromUtf8(target)), "new");
  EXPECT_EQ(pathFromUtf8(tempSeen).parent_path(), folder_) << "written beside the target";
  EXPECT_EQ(entries(), 1u);
}

#ifndef _WIN32
TEST_F(ExportFolder, ReplaceFileReportsFoldersItCannotUse) {
  const test::UnwritableFolder locked = test::unwritableFolder(folder_);
  ASSERT_FALSE(locked.reason.empty()) << "could not find a folder this process cannot write";
  bool called = false;
  const std::string target = (locked.path / "报价.xlsx").string();
  EXPECT_EQ(replaceFile(target, [&](const std::string&) { return std::string((called = true, "")); }),
            "无法保存文件“" + target + "”：" + locked.reason);
  EXPECT_FALSE(called);

  const std::string missing = (folder_ / "无此文件夹" / "a.xlsx").string();
  EXPECT_EQ(replaceFile(missing, [](const std::string&) { return std::string(); }),
            "无法保存文件“" + missing + "”：文件夹不存在");
  EXPECT_EQ(replaceFile(folder_.string(), [](const std::string&) { return std::string(); }),
            "无法保存文件“" + folder_.string() + "”：同名的文件夹已存在");
}

// What a spreadsheet reader no one here wrote sees in the workbook.
std::string readBack(const std::filesystem::path& workbook) {
  return test::runShell("/usr/bin/python3 " DECOR_TEST_TOOLS_DIR "/dump_xlsx.py '" + workbook.string() + "' 2>&1").output;
}

// The cell as the reader should print it: numbers for texts a spreadsheet shows back the
// same, everything else as text; bold on the heading and total rows.
std::string expectedCell(const std::string& text, bool bold) {
  if (text.empty()) return "";
  static const std::regex plainNumber(R"(-?(0|[1-9]\d{0,14})(\.\d*[1-9])?)");
  const bool number = std::regex_match(text, plainNumber) && text != "-0";
  return std::string(bold ? "*" : "") + (number ? "n:" : "t:") + text;
}

TEST_F(ExportFolder, WorkbookReadsBackCellForCell) {
  const QuoteDocument document = test::editedFullPackageDocument();
  const auto path = folder_ / "全包装修详细报价-2026-12-08.xlsx";
  ASSERT_EQ(saveQuoteWorkbook(document, path.string()), "");

  std::string expected =
      "sheets=全包装修详细报价|房间\n"
      "freeze=A4\n"
      "merged=A1:F1 A2:F2\n"
      "print_title_rows=$3:$3\n"
      "header_center=TarselCorvalen装饰\n"
      "footer=服务热线：400-820-6688 | 第 &P 页 / 共 &N 页 | 网址：http://www.example.com/?a=1&&b=2\n"
      "widths=8.86 35.71 8.86 14.29 21.43 21.43\n"
      "row 1:\t*t:全包装修详细报价\t\t\t\t\t\n"
      "row 2:\tt:日期：2026-12-08\t\t\t\t\t\n"
      "row 3:\t*t:序号\t*t:项目名称\t*t:单位\t*t:数量\t*t:单价\t*t:总计\n";
  int line = 4;
  for (const QuoteItem& row : document.rows) {
    // Room and package headings (a name alone), the fee heading and the two totals.
    const bool heading = !row.name.empty() && row.number.empty() && row.unit.empty() && row.quantity.empty() &&
                         row.unitPrice.empty() && row.total.empty();
    const bool bold = heading || row.name == "其它的" || row.name == "工程总造价" || row.name == "全包总价格";
    expected += "row " + std::to_string(line++) + ":";
    for (std::string_view cell : rowCells(row)) expected.append("\t").append(expectedCell(std::string(cell), bold));
    expected += "\n";
  }
  // The second sheet: what the quotation prices, the rooms as typed and kept as text.
  expected +=
      "sheet 房间:\n"
      "freeze=A6\n"
      "widths=14.29 21.43 21.43 21.43 14.29 10.71\n"
      "row 1:\t*t:装修档次\tt:舒适型装修\t\t\t\t\n"
      "row 2:\t*t:报价方式\tt:全包\t\t\t\t\n"
      "row 3:\t*t:地面\tt:地板\t\t\t\t\n"
      "row 4:\t\t\t\t\t\t\n"
      "row 5:\t*t:房屋类型\t*t:房间长宽高\t*t:窗户长高\t*t:门的类型\t*t:门的扇数\t*t:墙面数\n"
      "row 6:\tt:客厅\tt:3200*2800*2920\tt:800*1500\tt:实木门\tt:1\tt:4\n"
      "row 7:\tt:厨房\tt:3000*2000*2800\tt:600*1500\tt:推拉门\tt:2\tt:4\n"
      "row 8:\tt:卫生间\tt:2000*1800*2600\tt:600*600\tt:塑钢门\tt:1\tt:4\n"
      "row 9:\tt:阳台\tt:4000*1500*2800\tt:0*0\tt:(无)\tt:0\tt:1\n";
  const std::string dump = readBack(path);
  EXPECT_EQ(dump, expected);

  // Spot checks that the rule above is the one meant: an edited product is a number, the
  // percentages and marks are text.
  EXPECT_NE(dump.find("\tn:1\tt:顶面批腻子（增）\tt:M2\tn:3\tn:12.5\tn:37.5\n"), std::string::npos);
  EXPECT_NE(dump.find("\tt:烟机灶具\tt:套\tn:1\tt:2%\tn:-12.25\n"), std::string::npos);
  EXPECT_NE(dump.find("\tn:3\tt:手工录入\tt:个\tt:007\tt:1.50\tn:0.000001\n"), std::string::npos);
  EXPECT_NE(dump.find("\tt:-\tt:手工添加项\tt:增\tn:2\tn:18.75\tn:37.5\n"), std::string::npos);
  EXPECT_NE(dump.find("\t*t:全包总价格\t\t\t\t*n:"), std::string::npos);
  EXPECT_NE(dump.find("\t*t:卫生间\t\t\t\t\n"), std::string::npos);
}

TEST_F(ExportFolder, WorkbookFailuresAreReported) {
  const test::UnwritableFolder locked = test::unwritableFolder(folder_);
  const std::string lockedTarget = (locked.path / "报价.xlsx").string();
  EXPECT_EQ(saveQuoteWorkbook(test::editedFullPackageDocument(), lockedTarget),
            "无法保存文件“" + lockedTarget + "”：" + locked.reason);
  // The workbook itself cannot be created inside a missing folder either.
  EXPECT_EQ(writeQuoteWorkbook(test::editedFullPackageDocument(), (folder_ / "无" / "a.xlsx").string()),
            "文件夹不存在");
}

#endif

}  // namespace
}  // namespace decor
