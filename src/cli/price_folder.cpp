#include "cli/price_folder.h"

#include <optional>

#include "cli/input_file.h"
#include "pricing/price_files.h"
#include "text/system_path.h"

namespace decor::cli {

bool applyPriceFolder(PriceTable& table, const std::filesystem::path& folder, std::string& error) {
  const auto estimatePath = folder / std::string(kEstimatePriceFileName);
  const auto itemPath = folder / std::string(kItemPriceFileName);
  const InputFile estimateFile = readInputFile(estimatePath);
  const InputFile itemFile = readInputFile(itemPath);
  for (const auto& [path, file] : {std::pair{&estimatePath, &estimateFile}, std::pair{&itemPath, &itemFile}}) {
    if (file->status == InputFile::Status::Refused) {
      error = "无法读取价格文件 " + utf8FromPath(*path) + "：" + file->reason;
      return false;
    }
  }
  const bool hasEstimate = estimateFile.status == InputFile::Status::Read;
  const bool hasItems = itemFile.status == InputFile::Status::Read;
  if (!hasEstimate && !hasItems) {
    error = "价格文件夹 " + utf8FromPath(folder) + " 中没有 AppConfig.xml 或 Xiangxi.xml";
    return false;
  }

  // Both files are parsed before either is applied, so that a refused folder changes nothing.
  std::optional<EstimatePrices> estimatePrices;
  std::optional<ItemPrices> itemPrices;
  if (hasEstimate && !(estimatePrices = parseEstimatePriceFile(estimateFile.bytes))) {
    error = utf8FromPath(estimatePath) + " 无法读取或不含 <appSettings>";
    return false;
  }
  if (hasItems && !(itemPrices = parseItemPriceFile(itemFile.bytes))) {
    error = utf8FromPath(itemPath) + " 无法读取或不含 <appSettings>";
    return false;
  }
  if (estimatePrices) table.replaceEstimatePrices(std::move(*estimatePrices));
  if (itemPrices) table.replaceItemPrices(std::move(*itemPrices));
  return true;
}

}  // namespace decor::cli
