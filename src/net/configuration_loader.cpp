#include "net/configuration_loader.h"

namespace decor {

PriceFilesApplied loadConfiguration(UrlFetcher& fetcher, const Endpoints& endpoints, PriceTable& table) {
  const FetchedBody estimateFile = fetcher.fetchBody(endpoints.estimatePriceFileUrl());
  const FetchedBody itemFile = fetcher.fetchBody(endpoints.itemPriceFileUrl());
  // A file cut off after its marker would set every key past the cut to 0: only whole
  // files count.
  const auto usable = [](const FetchedBody& file) {
    return file.complete ? std::string_view(file.bytes) : std::string_view();
  };
  return applyPriceFiles(table, usable(estimateFile), usable(itemFile));
}

}  // namespace decor
