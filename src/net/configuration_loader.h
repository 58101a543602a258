#pragma once
// Fetches the two price files from the configuration server and applies them.
#include "deployment/endpoints.h"
#include "net/url_fetcher.h"
#include "pricing/price_files.h"

namespace decor {

// Both files are fetched before either is parsed. Failures are silent: a half whose file
// cannot be fetched, did not arrive whole or lacks the marker keeps its prices.
PriceFilesApplied loadConfiguration(UrlFetcher& fetcher, const Endpoints& endpoints, PriceTable& table);

}  // namespace decor
