#include <gtest/gtest.h>

#include <QPrinter>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "export/page_plan.h"
#include "export_pdf/quote_pages.h"
#include "export_test_support.h"
#include "scratch_folder.h"
#include "shell_command.h"

namespace decor {
namespace {

std::string run(const std::string& command) { return test::runShell(command).output; }

std::vector<std::string> words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> result;
  for (std::string word; in >> word;) result.push_back(word);
  return result;
}

// The text's lines that hold anything, each as its words.
std::vector<std::vector<std::string>> linesOfWords(const std::string& text) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!words(line).empty()) lines.push_back(words(line));
  }
  return lines;
}

std::vector<std::string> nonEmptyCells(const QuoteItem& row) {
  std::vector<std::string> cells;
  for (std::string_view cell : rowCells(row)) {
    if (!cell.empty()) cells.emplace_back(cell);
  }
  return cells;
}

// 200 rooms of every type the build knows, as a large flat quoted room by room.
QuoteDocument twoHundredRooms() {
  const std::array<RoomEntry, 8> kinds{{
      {"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"},
      {"餐厅", "3000*2500*2800", "600*1200", "推拉门", "2", "4"},
      {"卧室", "3600*3000*2800", "1500*1500", "实木门", "1", "4"},
      {"厨房", "3000*2000*2800", "600*1500", "推拉门", "2", "4"},
      {"卫生间", "2000*1800*2600", "600*600", "塑钢门", "1", "4"},
      {"书房", "3000*2800*2800", "1200*1500", "实木门", "1", "3"},
      {"阳台", "4000*1500*2800", "0*0", "(无)", "0", "1"},
      {"储藏室", "1500*1200*2800", "0*0", "(无)", "0", "4"},
  }};
  QuoteRequest request{.rooms = {}, .grade = "精  装  修", .scope = PackageScope::Half, .floor = FloorChoice::Tiles};
  for (int i = 0; i < 200; ++i) request.rooms.push_back(kinds[static_cast<std::size_t>(i) % kinds.size()]);
  QuoteTable table;
  buildRoomWorksAndFees(request, ItemPrices::defaults(), table);
  return QuoteDocument{.caption = "半包装修详细报价",
                       .date = "2026-12-08",
                       .rows = table.rows(),
                       .company = {"TarselCorvalen装饰", "400-820-6688", "http://www.tarselcorvalen.com"},
                       .request = request};
}

class QuotePdf : public ::testing::Test {
 protected:
  test::ScratchFolder scratch_{"decor-pdf"};
  const std::filesystem::path& folder_ = scratch_.path();
};

TEST_F(QuotePdf, EveryRowInOrderUnderARepeatedHeaderWithPageNumbers) {
  const QuoteDocument document = twoHundredRooms();
  ASSERT_GT(document.rows.size(), 1200u);
  const auto path = folder_ / "报价.pdf";
  ASSERT_EQ(saveQuotePdf(document, path.string()), "");

  const std::string info = run("pdfinfo '" + path.string() + "'");
  const std::size_t pagesAt = info.find("Pages:");
  ASSERT_NE(pagesAt, std::string::npos) << info;
  const int pageCount = std::stoi(info.substr(pagesAt + 6));
  const std::size_t rooms = document.request.rooms.size();
  const auto plan = planPages(document.rows.size(), PageGeometry{}, requestBlockLines(rooms));
  ASSERT_EQ(static_cast<std::size_t>(pageCount), plan.size());
  ASSERT_GT(pageCount, 30);

  // pdftotext separates pages with a form feed; -layout keeps each table row on one line.
  const std::string text = run("pdftotext -layout -enc UTF-8 '" + path.string() + "' -");
  std::vector<std::string> pages;
  std::istringstream pageStream(text);
  for (std::string page; std::getline(pageStream, page, '\f');) pages.push_back(page);
  if (!pages.empty() && words(pages.back()).empty()) pages.pop_back();
  ASSERT_EQ(pages.size(), static_cast<std::size_t>(pageCount));

  const std::vector<std::string> header{"序号", "项目名称", "单位", "数量", "单价", "总计"};
  const std::vector<std::string> roomHeader{"房屋类型", "房间长宽高", "窗户长高", "门的类型", "门的扇数", "墙面数"};
  for (int page = 0; page < pageCount; ++page) {
    SCOPED_TRACE("page " + std::to_string(page + 1));
    const std::vector<std::vector<std::string>> lines = linesOfWords(pages[static_cast<std::size_t>(page)]);
    const PageSlice& slice = plan[static_cast<std::size_t>(page)];
    // The planned block lines and rows of this page, each as one line with its texts in
    // column order, after the running head (and the title and date) and before the footer.
    std::vector<std::vector<std::string>> expected;
    for (std::size_t line = slice.firstBlockLine; line < slice.firstBlockLine + slice.blockLineCount; ++line) {
      switch (blockLineAt(line, rooms)) {
        case BlockLine::Request: expected.push_back(words(requestLine(document.request))); break;
        case BlockLine::RoomHeader: expected.push_back(roomHeader); break;
        case BlockLine::Room: {
          std::vector<std::string> cells;
          for (std::string_view cell : roomCells(document.request.rooms[line - 2])) cells.emplace_back(cell);
          expected.push_back(cells);
          break;
        }
        case BlockLine::Blank: break;
      }
    }
    if (slice.showsTable) expected.push_back(header);
    for (std::size_t row = slice.firstRow; row < slice.firstRow + slice.rowCount; ++row) {
      if (!nonEmptyCells(document.rows[row]).empty()) expected.push_back(nonEmptyCells(document.rows[row]));
    }
    const std::size_t above = page == 0 ? 3 : 1;
    ASSERT_EQ(lines.size(), above + expected.size() + 1);
    EXPECT_EQ(std::vector(lines.begin() + static_cast<std::ptrdiff_t>(above), lines.end() - 1), expected);

    const std::vector<std::string> footer{"服务热线：400-820-6688", "第", std::to_string(page + 1), "页", "/", "共",
                                          std::to_string(pageCount), "页", "网址：http://www.tarselcorvalen.com"};
    EXPECT_EQ(lines.back(), footer);
    EXPECT_EQ(lines.front(), (std::vector<std::string>{"TarselCorvalen装饰", "半包装修详细报价"}));
    if (page == 0) {
      EXPECT_EQ(lines[1], std::vector<std::string>{"半包装修详细报价"});
      EXPECT_EQ(lines[2], std::vector<std::string>{"日期：2026-12-08"});
    }
  }
}

// A printer keeps margins of its own; the pages must come out where the PDF has them.
TEST_F(QuotePdf, APrinterWithMarginsGetsTheSamePages) {
  const QuoteDocument document = test::editedFullPackageDocument();
  const auto direct = folder_ / "direct.pdf";
  ASSERT_EQ(saveQuotePdf(document, direct.string()), "");

  const auto printed = folder_ / "printed.pdf";
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(printed.string()));
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageMargins(QMarginsF(25, 18, 9, 30), QPageLayout::Millimeter);
  ASSERT_TRUE(paintQuotePages(printer, document));
  ASSERT_TRUE(std::filesystem::exists(printed));

  // Line by line the same words; a page drawn from the wrong corner loses its right column
  // and its footer off the paper. (Positions may differ by a fraction of a point.)
  const std::string layout = "pdftotext -layout -enc UTF-8 '";
  const std::string expected = run(layout + direct.string() + "' -");
  ASSERT_NE(expected.find("全包总价格"), std::string::npos) << expected;
  EXPECT_EQ(linesOfWords(run(layout + printed.string() + "' -")), linesOfWords(expected));
}

TEST_F(QuotePdf, ReplacesAnEarlierFileOnlyWhenWritten) {
  const auto path = folder_ / "报价.pdf";
  std::ofstream(path) << "earlier";
  const auto locked = test::unwritableFolder(folder_);
  ASSERT_FALSE(locked.reason.empty());
  const std::string lockedTarget = (locked.path / "报价.pdf").string();
  EXPECT_EQ(saveQuotePdf(test::editedFullPackageDocument(), lockedTarget),
            "无法保存文件“" + lockedTarget + "”：" + locked.reason);

  ASSERT_EQ(saveQuotePdf(test::editedFullPackageDocument(), path.string()), "");
  std::ifstream in(path, std::ios::binary);
  std::string start(5, '\0');
  in.read(start.data(), 5);
  EXPECT_EQ(start, "%PDF-");
}

}  // namespace
}  // namespace decor
