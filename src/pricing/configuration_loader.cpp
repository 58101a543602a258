#include "pricing/configuration_loader.h"

namespace decor {

PriceFilesApplied loadConfiguration(UrlFetcher& fetcher, const Endpoints& endpoints, PriceTable& table) {
  const std::string estimateFile = fetcher.fetchUrl(endpoints.estimatePriceFileUrl());
  const std::string itemFile = fetcher.fetchUrl(endpoints.itemPriceFileUrl());
  return applyPriceFiles(table, estimateFile, itemFile);
}

}  // namespace decor
