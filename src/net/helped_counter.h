#pragma once
// The homeowners-helped counter of the main window and the room entry window.
#include <string>
#include <string_view>

#include "deployment/endpoints.h"
#include "net/url_fetcher.h"

namespace decor {

// Counts the visit, then reads the count: the reply of the counter address, taken as GBK up
// to its first zero byte. An unreachable server gives an empty count.
std::string fetchHelpedCount(UrlFetcher& fetcher, const Endpoints& endpoints);

// The counter label's caption; the count goes in as it arrived, between two blanks.
std::string helpedCounterCaption(std::string_view companyName, std::string_view count);

// What the counter label shows until a count has arrived.
std::string helpedCounterDesignText(std::string_view companyName);

}  // namespace decor
