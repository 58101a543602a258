#include "cli/price_folder.h"

#include <fstream>
#include <iterator>
#include <optional>

#include "pricing/price_files.h"

namespace decor::cli {
namespace {

std::optional<std::string> readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

bool applyPriceFolder(PriceTable& table, const std::filesystem::path& folder, std::string& error) {
  const auto estimatePath = folder / std::string(kEstimatePriceFileName);
  const auto itemPath = folder / std::string(kItemPriceFileName);
  const bool hasEstimate = std::filesystem::exists(estimatePath);
  const bool hasItems = std::filesystem::exists(itemPath);
  if (!hasEstimate && !hasItems) {
    error = "价格文件夹 " + folder.string() + " 中没有 AppConfig.xml 或 Xiangxi.xml";
    return false;
  }
  const std::string estimateBytes = hasEstimate ? readFile(estimatePath).value_or("") : "";
  const std::string itemBytes = hasItems ? readFile(itemPath).value_or("") : "";
  const PriceFilesApplied applied = applyPriceFiles(table, estimateBytes, itemBytes);
  if (hasEstimate && !applied.estimatePrices) {
    error = estimatePath.string() + " 无法读取或不含 <appSettings>";
    return false;
  }
  if (hasItems && !applied.itemPrices) {
    error = itemPath.string() + " 无法读取或不含 <appSettings>";
    return false;
  }
  return true;
}

}  // namespace decor::cli
