#pragma once
// `--prices DIR`: apply "AppConfig.xml" and "Xiangxi.xml" from a local folder with the same
// rules as the files fetched from the configuration server, so that a price file can be
// tried before it is published.
#include <filesystem>
#include <string>

#include "pricing/price_table.h"

namespace decor::cli {

// Returns false with a message when the folder holds neither file or a file is unusable
// (unreadable or without "<appSettings>"); a file that is absent leaves its half alone.
bool applyPriceFolder(PriceTable& table, const std::filesystem::path& folder, std::string& error);

}  // namespace decor::cli
