#include "export/xlsx_export.h"

#include <xlsxwriter.h>

#include <array>
#include <cerrno>
#include <clocale>
#include <locale.h>
#include <span>

#include "export/file_replace.h"
#include "text/utf8.h"

namespace decor {
namespace {

// libxlsxwriter prints numbers with snprintf, which follows LC_NUMERIC: under a locale with
// a decimal comma the workbook would be corrupt. The C locale is set for this thread only,
// so other threads keep theirs.
#ifdef _WIN32
class CNumericLocale {
 public:
  CNumericLocale() : perThread_(_configthreadlocale(_ENABLE_PER_THREAD_LOCALE)) {
    if (const char* current = std::setlocale(LC_NUMERIC, nullptr)) previous_ = current;
    std::setlocale(LC_NUMERIC, "C");
  }
  ~CNumericLocale() {
    if (!previous_.empty()) std::setlocale(LC_NUMERIC, previous_.c_str());
    if (perThread_ != -1) _configthreadlocale(perThread_);
  }
  CNumericLocale(const CNumericLocale&) = delete;
  CNumericLocale& operator=(const CNumericLocale&) = delete;

 private:
  int perThread_;
  std::string previous_;
};
#else
class CNumericLocale {
 public:
  CNumericLocale() : locale_(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr))) {
    if (locale_) previous_ = uselocale(locale_);
  }
  ~CNumericLocale() {
    if (!locale_) return;
    uselocale(previous_);
    freelocale(locale_);
  }
  CNumericLocale(const CNumericLocale&) = delete;
  CNumericLocale& operator=(const CNumericLocale&) = delete;

 private:
  locale_t locale_;
  locale_t previous_ = LC_GLOBAL_LOCALE;
};
#endif

// The window's column widths scaled for a spreadsheet's larger default font.
constexpr double kColumnScale = 1.25;

struct Formats {
  lxw_format* label;
  lxw_format* title;
  lxw_format* date;
  lxw_format* header[2];  // left, right
  lxw_format* cell[2][2];  // [bold][right]
};

Formats addFormats(lxw_workbook* workbook) {
  Formats formats{};
  formats.label = workbook_add_format(workbook);
  format_set_bold(formats.label);
  formats.title = workbook_add_format(workbook);
  format_set_bold(formats.title);
  format_set_font_size(formats.title, 16);
  format_set_align(formats.title, LXW_ALIGN_CENTER);
  format_set_align(formats.title, LXW_ALIGN_VERTICAL_CENTER);
  formats.date = workbook_add_format(workbook);
  format_set_align(formats.date, LXW_ALIGN_RIGHT);
  for (int right = 0; right < 2; ++right) {
    lxw_format* header = workbook_add_format(workbook);
    format_set_bold(header);
    format_set_bg_color(header, 0xD9E1F2);
    format_set_border(header, LXW_BORDER_THIN);
    format_set_align(header, right ? LXW_ALIGN_RIGHT : LXW_ALIGN_LEFT);
    formats.header[right] = header;
    for (int bold = 0; bold < 2; ++bold) {
      lxw_format* cell = workbook_add_format(workbook);
      if (bold) format_set_bold(cell);
      format_set_bottom(cell, LXW_BORDER_HAIR);
      format_set_align(cell, right ? LXW_ALIGN_RIGHT : LXW_ALIGN_LEFT);
      formats.cell[bold][right] = cell;
    }
  }
  return formats;
}

std::string describe(lxw_error error) {
  const int systemError = errno;
  if (systemError != 0 &&
      (error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE ||
       error == LXW_ERROR_ZIP_FILE_OPERATION || error == LXW_ERROR_ZIP_CLOSE || error == LXW_ERROR_ZIP_FILE_ADD)) {
    return fileErrorReason(systemError);
  }
  return std::string("生成 Excel 文件时出错：") + lxw_strerror(error);
}

// Writes a row of texts as they are, in the columns' alignments: the header's look or a cell's.
void writeTextRow(lxw_worksheet* sheet, lxw_row_t row, std::span<const ColumnFormat> columns,
                  std::span<const std::string_view> texts, lxw_format* const (&formats)[2]) {
  for (std::size_t i = 0; i < columns.size() && i < texts.size(); ++i) {
    const auto column = static_cast<lxw_col_t>(i);
    lxw_format* format = formats[columns[i].alignment == ColumnAlignment::Right];
    if (texts[i].empty()) {
      worksheet_write_blank(sheet, row, column, format);
    } else {
      worksheet_write_string(sheet, row, column, std::string(texts[i]).c_str(), format);
    }
  }
}

// The second sheet: what was asked for. The choices as label and value, then the rooms as
// typed, kept as text so that "３２００" or "3200*2800*2920" read back as entered.
void writeRequestSheet(lxw_workbook* workbook, const Formats& formats, const QuoteRequest& request) {
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, std::string(kRequestSheetName).c_str());
  if (!sheet) return;
  for (std::size_t i = 0; i < kRoomListColumns.size(); ++i) {
    const auto column = static_cast<lxw_col_t>(i);
    worksheet_set_column_pixels(sheet, column, column,
                                static_cast<std::uint32_t>(kRoomListColumns[i].width * kColumnScale), nullptr);
  }
  lxw_row_t row = 0;
  for (const RequestField& field : requestFields(request)) {
    worksheet_write_string(sheet, row, 0, std::string(field.label).c_str(), formats.label);
    worksheet_write_string(sheet, row, 1, field.value.c_str(), nullptr);
    ++row;
  }
  row = kRequestSheetHeaderRows - 1;
  writeTextRow(sheet, row++, kRoomListColumns, columnTitles(kRoomListColumns), formats.header);
  for (const RoomEntry& room : request.rooms) writeTextRow(sheet, row++, kRoomListColumns, roomCells(room), formats.cell[0]);
  worksheet_freeze_panes(sheet, kRequestSheetHeaderRows, 0);
}

}  // namespace

std::string sheetNameFor(std::string_view caption) {
  std::string name;
  for (char c : caption) name += std::string_view("[]:*?/\\").find(c) == std::string_view::npos ? c : '_';
  name = utf8Left(name, 31);
  while (name.starts_with('\'')) name.erase(0, 1);
  while (name.ends_with('\'')) name.pop_back();
  return name.empty() ? std::string("报价") : name;
}

std::string escapeHeaderFooterText(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    escaped += c;
    if (c == '&') escaped += '&';
  }
  return escaped;
}

std::string writeQuoteWorkbook(const QuoteDocument& document, const std::string& path) {
  const CNumericLocale cLocale;
  errno = 0;
  lxw_workbook* workbook = workbook_new(path.c_str());
  if (!workbook) return fileErrorReason(errno != 0 ? errno : EIO);

  const std::string sheetName = sheetNameFor(document.caption);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.c_str());
  if (!sheet) sheet = workbook_add_worksheet(workbook, nullptr);
  if (!sheet) {
    workbook_close(workbook);
    return "生成 Excel 文件时出错";
  }
  const Formats formats = addFormats(workbook);

  constexpr lxw_col_t lastColumn = kQuoteColumns.size() - 1;
  for (lxw_col_t column = 0; column <= lastColumn; ++column) {
    worksheet_set_column_pixels(sheet, column, column,
                                static_cast<std::uint32_t>(kQuoteColumns[column].width * kColumnScale), nullptr);
  }

  worksheet_set_row(sheet, 0, 28, nullptr);
  worksheet_merge_range(sheet, 0, 0, 0, lastColumn, document.caption.c_str(), formats.title);
  worksheet_merge_range(sheet, 1, 0, 1, lastColumn, dateLine(document.date).c_str(), formats.date);
  writeTextRow(sheet, kWorkbookHeaderRows - 1, kQuoteColumns, columnTitles(kQuoteColumns), formats.header);
  worksheet_freeze_panes(sheet, kWorkbookHeaderRows, 0);

  lxw_row_t row = kWorkbookHeaderRows;
  for (const QuoteItem& item : document.rows) {
    const bool bold = isEmphasisedRow(item);
    const auto cells = rowCells(item);
    for (lxw_col_t column = 0; column <= lastColumn; ++column) {
      const std::string_view text = cells[column];
      lxw_format* format = formats.cell[bold][kQuoteColumns[column].alignment == ColumnAlignment::Right];
      if (text.empty()) {
        worksheet_write_blank(sheet, row, column, format);
      } else if (const auto value = plainDecimalValue(text)) {
        worksheet_write_number(sheet, row, column, *value, format);
      } else {
        worksheet_write_string(sheet, row, column, std::string(text).c_str(), format);
      }
    }
    ++row;
  }

  // The printed pages: A4 upright, one page wide, the column header repeated on each.
  worksheet_set_paper(sheet, 9);
  worksheet_set_portrait(sheet);
  worksheet_set_margins(sheet, 0.6, 0.6, 0.8, 0.8);
  worksheet_fit_to_pages(sheet, 1, 0);
  worksheet_center_horizontally(sheet);
  worksheet_repeat_rows(sheet, kWorkbookHeaderRows - 1, kWorkbookHeaderRows - 1);
  worksheet_set_header(sheet, ("&C" + escapeHeaderFooterText(document.company.name)).c_str());
  worksheet_set_footer(sheet, ("&L" + escapeHeaderFooterText(hotlineLine(document.company)) +
                               "&C第 &P 页 / 共 &N 页&R" + escapeHeaderFooterText(websiteLine(document.company)))
                                  .c_str());

  writeRequestSheet(workbook, formats, document.request);

  errno = 0;
  const lxw_error closed = workbook_close(workbook);
  return closed == LXW_NO_ERROR ? std::string{} : describe(closed);
}

std::string saveQuoteWorkbook(const QuoteDocument& document, const std::string& path) {
  return replaceFile(path, [&document](const std::string& tempPath) { return writeQuoteWorkbook(document, tempPath); });
}

}  // namespace decor
