// decor-cli estimate: the quick estimate of the main window, for scripts. Prints the result
// text exactly as the result window receives it (without the window's closing advice).
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string_view>

#include "cli/commands.h"
#include "text/system_path.h"
#include "cli/price_folder.h"
#include "estimate/quick_estimate.h"

namespace decor::cli {
namespace {

constexpr const char* kEstimateUsage =
    "用法: decor-cli estimate [选项]\n"
    "\n"
    "按房间数、实际面积和装修档次快速估算报价，把报价结果（四个价格、说明和计算详情）\n"
    "写到标准输出：UTF-8 文本，CR LF 换行，前后不加任何内容。\n"
    "\n"
    "选项:\n"
    "  --bedrooms N    室（卧室数），默认 3\n"
    "  --halls N       厅（客餐厅数），默认 1\n"
    "  --kitchens N    厨（厨房数），默认 1\n"
    "  --bathrooms N   卫（卫生间数），默认 1\n"
    "  --balconies N   阳（阳台数），默认 2\n"
    "  --area TEXT     实际面积（平方米），默认 100；按数字规则读取：全角数字可用（１２０ 即 120），\n"
    "                  只读开头的数字（\"85平方\" 即 85），不是数字的文本读作 0；\n"
    "                  读出的面积须在 0 到 1000000 之间\n"
    "  --grade TEXT    装修档次，默认 舒适型装修；可选 出租房装修、经济型装修、舒适型装修、\n"
    "                  \"精  装  修\"（字间各两个空格）、豪华型装修，\n"
    "                  也可写 rental、economy、comfort、fine、luxury\n"
    "  --prices DIR    先读取本地文件夹中的价格文件 AppConfig.xml / Xiangxi.xml，\n"
    "                  规则与启动时从配置服务器取得的相同（不指定时使用内置价格）\n"
    "  -h, --help      显示本帮助\n"
    "\n"
    "房间数为 0 到 99 的整数（窗口中可选 0 到 9）。\n"
    "没有室也没有厅、或面积小到扣除厨卫阳台后为负时，无法计算的数额按 0 计。\n"
    "\n"
    "退出码: 0 成功；1 价格文件夹无法使用；2 选项错误。\n";

constexpr std::int32_t kMaxCount = 99;

struct GradeAlias {
  std::string_view alias;
  std::string_view grade;
};
constexpr std::array<GradeAlias, 5> kGradeAliases = {{
    {"rental", kGradeRental},
    {"economy", kGradeEconomy},
    {"comfort", kGradeComfort},
    {"fine", kGradeFine},
    {"luxury", kGradeLuxury},
}};

std::optional<std::string> gradeFromText(const std::string& text) {
  for (const std::string_view grade : kDecorationGrades)
    if (text == grade) return text;
  for (const auto& entry : kGradeAliases)
    if (text == entry.alias) return std::string(entry.grade);
  return std::nullopt;
}

// Plain decimal digits only: a count typed wrong must not quietly become 0 or 3.
std::optional<std::int32_t> countFromText(std::string_view text) {
  if (text.empty()) return std::nullopt;
  std::int32_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > kMaxCount) return std::nullopt;
  }
  return value;
}

int usageError(std::ostream& err, const std::string& message) {
  err << "decor-cli estimate: " << message << "\n\n" << kEstimateUsage;
  return 2;
}

}  // namespace

int runEstimateCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  QuickEstimateInput input;
  std::optional<std::string> priceFolder;
  const std::array<std::pair<std::string_view, std::int32_t*>, 5> counts = {{
      {"--bedrooms", &input.bedrooms},
      {"--halls", &input.halls},
      {"--kitchens", &input.kitchens},
      {"--bathrooms", &input.bathrooms},
      {"--balconies", &input.balconies},
  }};

  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help" || option == "-h") {
      out << kEstimateUsage;
      return 0;
    }
    const bool known = option == "--area" || option == "--grade" || option == "--prices" ||
                       std::any_of(counts.begin(), counts.end(), [&](const auto& c) { return c.first == option; });
    if (!known) return usageError(err, "未知选项 \"" + option + "\"");
    if (i + 1 == args.size()) return usageError(err, "选项 " + option + " 缺少取值");
    const std::string& value = args[++i];

    if (option == "--area") {
      if (!isAcceptedArea(value))
        return usageError(err, "--area 读出的面积须在 0 到 1000000 平方米之间，收到 \"" + value + "\"");
      input.area = value;
    } else if (option == "--grade") {
      const auto grade = gradeFromText(value);
      if (!grade) return usageError(err, "未知的装修档次 \"" + value + "\"");
      input.grade = *grade;
    } else if (option == "--prices") {
      if (value.empty()) return usageError(err, "--prices 需要一个文件夹，不能为空");
      priceFolder = value;
    } else {
      const auto count = countFromText(value);
      if (!count) return usageError(err, option + " 需要 0 到 99 的整数，收到 \"" + value + "\"");
      for (const auto& [name, target] : counts)
        if (name == option) *target = *count;
    }
  }

  PriceTable table;
  table.resetToDefaults();
  if (priceFolder) {
    std::string error;
    if (!applyPriceFolder(table, pathFromUtf8(*priceFolder), error)) {
      err << "decor-cli estimate: " << error << "\n";
      return 1;
    }
  }

  QuickEstimator estimator;
  estimator.run(input, table.estimatePrices());
  out << estimator.resultText();
  return 0;
}

}  // namespace decor::cli
