#pragma once
// The location lookup of a mobile number's first seven digits (its number block) with the
// outside number-location service: a number whose block the service does not know is
// taken for a mistyped one.
#include <string>
#include <string_view>

#include "deployment/endpoints.h"
#include "net/url_fetcher.h"

namespace decor {

inline constexpr std::size_t kPhoneBlockDigits = 7;
inline constexpr std::string_view kUnknownPhoneMessage = "亲，您输入的是外星号码！";

// The lookup runs whenever the phone box's content becomes exactly this long.
bool isLookupDue(std::string_view phoneBoxText);

// The province named in a reply of the service (UTF-8), empty when it names none.
std::string provinceFromLookupReply(std::string_view reply);

// Fetches the lookup for `firstSevenDigits` and returns the province, empty when the service
// was not reached or does not know the block. Blocks; call it from a worker.
std::string lookUpProvince(UrlFetcher& fetcher, const Endpoints& endpoints, std::string_view firstSevenDigits);

// A late answer still concerns the box when the box begins with the digits looked up.
bool lookupStillApplies(std::string_view phoneBoxText, std::string_view lookedUp);

}  // namespace decor
