// decor-cli quote: the detailed quote of a room list, printed as rows of six cells.
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/input_file.h"
#include "cli/price_folder.h"
#include "cli/quote_files.h"
#include "cli/room_file.h"
#include "pricing/price_table.h"
#include "export/quote_document.h"
#include "quotation/quotation_file.h"
#include "quotation/quotation_session.h"
#include "text/codepage.h"
#include "text/csv.h"
#include "text/system_path.h"

namespace decor::cli {
namespace {

constexpr const char* kQuoteUsage =
    "用法: decor-cli quote --rooms 文件 [--grade 装修档次] [--package 半包|全包] [--floor 地板|瓷砖]\n"
    "                      [--prices 文件夹] [--csv] [--xlsx 文件] [--pdf 文件] [--save 文件]\n"
    "      decor-cli quote --open 文件 [--csv] [--xlsx 文件] [--pdf 文件] [--save 文件]\n"
    "\n"
    "按房间列表生成详细报价表，每行一个表项，六列依次为：序号、项目名称、单位、数量、单价、总计。\n"
    "\n"
    "选项:\n"
    "  --rooms 文件      房间列表（必填）。UTF-8 文本，每行一个房间，六列以制表符分隔：\n"
    "                    房屋类型、房间长宽高、窗户长高、门的类型、门的扇数、墙面数，\n"
    "                    例如 \"客厅<TAB>3200*2800*2920<TAB>800*1500<TAB>实木门<TAB>1<TAB>4\"。\n"
    "                    空行跳过，行尾的回车符忽略；每行按原样使用（门的类型为 (无) 时不会把扇数改为 0）。\n"
    "                    房间长宽高不是 长*宽*高、或窗户长高不是 长*高 的行无法报价：\n"
    "                    命令报出该行行号和对应的格式提示，不输出报价表。\n"
    "                    尺寸、窗户尺寸、扇数或墙面数为负数的行同样报错。\n"
    "                    房间文件和价格文件须为普通文件，大小不超过 64 MiB。\n"
    "  --grade 装修档次  出租房装修、经济型装修、舒适型装修、\"精  装  修\"（两字之间各两个空格）\n"
    "                    或 豪华型装修，默认 舒适型装修。\n"
    "  --package 范围    半包 或 全包，默认 半包。全包在收费项之后加上各房间的主材和全包总价格；\n"
    "                    它也决定 --modify 按哪种方式重算总价。\n"
    "  --floor 地面      地板 或 瓷砖（客厅、餐厅地面），默认 地板。\n"
    "  --prices 文件夹   从本地文件夹读取 AppConfig.xml 和/或 Xiangxi.xml 价格文件，\n"
    "                    规则与启动时从配置服务器取得的价格文件相同。\n"
    "  --csv             以 RFC 4180 CSV 输出（逗号分隔，必要时加双引号，CRLF 换行，无标题行）。\n"
    "                    默认输出制表符分隔的文本，LF 换行；单元格中的制表符和换行符写成空格。\n"
    "  --xlsx 文件       另存为 Excel 工作簿（标题、日期、冻结的表头，数字单元格可求和）。\n"
    "  --pdf 文件        另存为 A4 页面的 PDF（每页重复表头，页脚有页码）。不需要显示器。\n"
#ifndef DECOR_HAVE_PDF
    "                    （此版本不含 PDF 导出：给出 --pdf 时报错，退出码 3。）\n"
#endif
    "                    两个文件都先写入同一文件夹的临时文件再改名，失败时原有文件不变。\n"
    "  --save 文件       执行完修改、删除和添加后，把报价保存为报价文件（.json，UTF-8）：\n"
    "                    房间、装修档次、范围、地面、按顺序的修改，以及当时的报价表和日期。\n"
    "                    桌面程序的“保存报价”写的是同一种文件。\n"
    "  --open 文件       打开报价文件：输出其中保存的报价表（不按今天的价格重算），\n"
    "                    随后的 --modify/--delete/--add 在这些行上执行并接在文件的修改之后。\n"
    "                    不能与 --rooms、--grade、--package、--floor、--prices 同时给出。\n"
    "                    较新版本保存的或已损坏的文件不会打开。\n"
    "  --help, -h        显示本帮助。\n"
    "\n"
    "以下选项对应报价窗口中的修改、删除此项和添加项命令，可重复给出，报价生成后按给出的顺序执行：\n"
    "  --modify 行 项目名称 单位 数量 单价   把这一行改为给出的内容并重算总价\n"
    "  --delete 行                          删除这一行并重算最后一行\n"
    "  --add 项目名称 数量 单价              在收费项之前加入手工项目（序号 -，单位 增），重建收费项\n"
    "  行 从 1 起按输出的顺序数，以执行该选项时的报价表为准；0 表示不选任何行（仍会重算）；\n"
    "  超出报价表的行号是选项错误。\n"
    "\n"
    "退出码: 0 成功；1 房间文件、报价文件或价格文件夹无法使用；2 选项错误；\n"
    "        3 报价表已输出，但 --xlsx、--pdf 或 --save 文件无法保存。\n";

constexpr int kExitInput = 1;
constexpr int kExitUsage = 2;
constexpr int kExitSave = 3;

// --modify, --delete or --add, applied after the build.
struct TableCommand {
  std::string option;
  QuotationEdit edit;
};

// A row number: decimal digits only.
std::optional<std::size_t> parseRow(const std::string& text) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(std::stoul(text));
}

struct QuoteOptions {
  std::optional<std::string> roomsFile;
  std::optional<std::string> openFile;
  std::optional<std::string> saveFile;
  std::string grade = kGradeComfort;
  PackageScope scope = PackageScope::Half;
  FloorChoice floor = FloorChoice::WoodenFloor;
  std::optional<std::string> pricesFolder;
  bool csv = false;
  QuoteFiles files;
  bool help = false;
  std::vector<TableCommand> commands;  // in the order given
};

// Parses the options; returns the error to report, empty when they are usable.
std::string parseOptions(const std::vector<std::string>& args, QuoteOptions& options) {
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    // The values an option takes, or an error when they are missing.
    auto values = [&](std::size_t count) -> std::optional<std::vector<std::string>> {
      if (args.size() - i - 1 < count) return std::nullopt;
      std::vector<std::string> taken(args.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                     args.begin() + static_cast<std::ptrdiff_t>(i + 1 + count));
      i += count;
      return taken;
    };
    auto once = [&]() {
      for (const auto& s : seen) {
        if (s == option) return false;
      }
      seen.push_back(option);
      return true;
    };

    if (option == "--help" || option == "-h") {
      options.help = true;
      continue;
    }
    if (option == "--csv") {
      options.csv = true;
      continue;
    }
    if (option == "--modify" || option == "--delete" || option == "--add") {
      const std::size_t count = option == "--modify" ? 5 : option == "--delete" ? 1 : 3;
      auto taken = values(count);
      if (!taken) {
        return "选项 " + option + " 需要 " + std::to_string(count) + " 个参数";
      }
      std::vector<std::string>& v = *taken;
      QuotationEdit edit;
      if (option != "--add") {
        const auto row = parseRow(v.front());
        if (!row) return "选项 " + option + " 的行号应为不小于 0 的整数，而不是 \"" + v.front() + "\"";
        edit.row = *row;
      }
      if (option == "--modify") {
        edit.op = QuotationEdit::Op::Modify;
        edit.item = ItemEdit{.name = v[1], .unit = v[2], .quantity = v[3], .unitPrice = v[4]};
      } else if (option == "--add") {
        edit.op = QuotationEdit::Op::Add;
        edit.added = AddedItem{.name = v[0], .quantity = v[1], .unitPrice = v[2]};
      }
      options.commands.push_back(TableCommand{.option = option, .edit = std::move(edit)});
      continue;
    }
    if (option == "--rooms" || option == "--grade" || option == "--package" || option == "--floor" ||
        option == "--prices" || option == "--xlsx" || option == "--pdf" || option == "--open" || option == "--save") {
      if (!once()) return "选项 " + option + " 只能给出一次";
      const auto value = values(1);
      if (!value) return "选项 " + option + " 需要 1 个参数";
      const std::string& text = value->front();
      if (option == "--rooms") options.roomsFile = text;
      if (option == "--open") options.openFile = text;
      if (option == "--save") options.saveFile = text;
      if (option == "--prices") {
        if (text.empty()) return "--prices 需要一个文件夹，不能为空";
        options.pricesFolder = text;
      }
      if (option == "--xlsx") options.files.xlsx = text;
      if (option == "--pdf") options.files.pdf = text;
      if (option == "--grade") {
        if (!decorationGradeIndex(text)) {
          return "未知的装修档次 \"" + text +
                 "\"，应为 出租房装修、经济型装修、舒适型装修、\"精  装  修\" 或 豪华型装修";
        }
        options.grade = text;
      }
      if (option == "--package") {
        const auto scope = packageScopeFromText(text);
        if (!scope) return "--package 应为 半包 或 全包，而不是 \"" + text + "\"";
        options.scope = *scope;
      }
      if (option == "--floor") {
        const auto floor = floorChoiceFromText(text);
        if (!floor) return "--floor 应为 地板 或 瓷砖，而不是 \"" + text + "\"";
        options.floor = *floor;
      }
      continue;
    }
    return "未知选项 \"" + option + "\"";
  }
  if (options.openFile) {
    // An opened file brings its own request; these would contradict it.
    for (const char* request : {"--rooms", "--grade", "--package", "--floor", "--prices"}) {
      for (const auto& s : seen) {
        if (s == request) return std::string("--open 不能与 ") + request + " 同时给出";
      }
    }
  }
  return {};
}

// Applies the table commands in order; returns the error to report, empty when all applied.
std::string applyCommands(const std::vector<TableCommand>& commands, KeptQuotation& quotation) {
  for (const TableCommand& command : commands) {
    const QuoteTable& table = quotation.session().table();
    if (!editRowInTable(command.edit, table)) {
      return "选项 " + command.option + " 的行号 " + std::to_string(command.edit.row) + " 超出了报价表（共 " +
             std::to_string(table.size()) + " 行）";
    }
    quotation.apply(command.edit);
  }
  return {};
}

// The quotation of --open, or of --rooms built afresh; nothing after an error was reported.
std::optional<KeptQuotation> startQuotation(const QuoteOptions& options, std::ostream& err) {
  if (options.openFile) {
    const InputFile input = readInputFile(pathFromUtf8(*options.openFile));
    if (input.status != InputFile::Status::Read) {
      err << "decor-cli quote: 无法读取报价文件 " << *options.openFile << "：" << input.reason << '\n';
      return std::nullopt;
    }
    const QuotationFileReading reading = readQuotationFile(input.bytes);
    if (!reading.file) {
      err << "decor-cli quote: 报价文件 " << *options.openFile << ": " << reading.error << '\n';
      return std::nullopt;
    }
    return keptQuotationOf(*reading.file);
  }

  PriceTable prices;
  prices.resetToDefaults();
  if (options.pricesFolder) {
    std::string error;
    if (!applyPriceFolder(prices, pathFromUtf8(*options.pricesFolder), error)) {
      err << "decor-cli quote: " << error << '\n';
      return std::nullopt;
    }
  }

  RoomFile file;
  if (const std::string error = readRoomFile(*options.roomsFile, file); !error.empty()) {
    err << "decor-cli quote: " << error << '\n';
    return std::nullopt;
  }
  if (file.rooms.empty()) {
    err << "decor-cli quote: 房间文件 " << *options.roomsFile << ": " << kNoRoomsMessage << '\n';
    return std::nullopt;
  }

  QuotationSession session(QuoteRequest{
      .rooms = std::move(file.rooms), .grade = options.grade, .scope = options.scope, .floor = options.floor});
  const QuoteBuildResult result = session.build(prices.itemPrices());
  if (!result.built()) {
    err << "decor-cli quote: 房间文件 " << *options.roomsFile << " 第" << file.lineNumbers[result.refused->row]
        << "行: " << result.refused->message() << '\n';
    return std::nullopt;
  }
  return KeptQuotation(std::move(session));
}

void writeTabSeparated(std::ostream& out, const QuoteTable& table) {
  for (const QuoteItem& row : table.rows()) {
    bool first = true;
    for (std::string_view cell : rowCells(row)) {
      if (!first) out << '\t';
      first = false;
      for (char c : cell) out << ((c == '\t' || c == '\r' || c == '\n') ? ' ' : c);
    }
    out << '\n';
  }
}

// Figures stay numbers for the spreadsheet; a name typed as "=…" stays text.
void writeCsv(std::ostream& out, const QuoteTable& table) {
  for (const QuoteItem& row : table.rows()) out << csvRecord(rowCells(row), PlainNumbers::Kept);
}

}  // namespace

int runQuoteCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  QuoteOptions options;
  if (const std::string error = parseOptions(args, options); !error.empty()) {
    err << "decor-cli quote: " << error << "\n（decor-cli quote --help 查看用法）\n";
    return kExitUsage;
  }
  if (options.help) {
    out << kQuoteUsage;
    return 0;
  }
  if (!options.roomsFile && !options.openFile) {
    err << "decor-cli quote: 缺少 --rooms 文件\n（decor-cli quote --help 查看用法）\n";
    return kExitUsage;
  }

  std::optional<KeptQuotation> quotation = startQuotation(options, err);
  if (!quotation) return kExitInput;
  if (const std::string error = applyCommands(options.commands, *quotation); !error.empty()) {
    err << "decor-cli quote: " << error << "\n（decor-cli quote --help 查看用法）\n";
    return kExitUsage;
  }

  const QuotationSession& session = quotation->session();
  const QuoteTable& table = session.table();
  if (anyTotalSaturated(table.rows())) {
    err << "decor-cli quote: 注意：有总计超出了整数范围，按上限 2147483647 或下限 -2147483648 输出，不是真实金额\n";
  }

  if (options.csv) {
    writeCsv(out, table);
  } else {
    writeTabSeparated(out, table);
  }
  out.flush();
  bool saved = saveQuoteFiles(session, options.files, err);
  if (options.saveFile) {
    const std::string failure = saveQuotationFile(quotationFileOf(*quotation, todayIsoDate()), *options.saveFile);
    if (!failure.empty()) {
      err << "decor-cli quote: " << failure << '\n';
      saved = false;
    }
  }
  return saved ? 0 : kExitSave;
}

}  // namespace decor::cli
