#include "net/phone_lookup.h"

#include "text/codepage.h"
#include "text/text_between.h"
#include "text/utf8.h"

namespace decor {

bool isLookupDue(std::string_view phoneBoxText) { return utf8Length(phoneBoxText) == kPhoneBlockDigits; }

std::string provinceFromLookupReply(std::string_view reply) {
  return textBetween(cutAtZeroByteAndRoundTripGbk(reply), "Province\":\"", "\",");
}

std::string lookUpProvince(UrlFetcher& fetcher, const Endpoints& endpoints, std::string_view firstSevenDigits) {
  return provinceFromLookupReply(fetcher.fetchUrl(endpoints.phoneLookupUrl(firstSevenDigits)));
}

bool lookupStillApplies(std::string_view phoneBoxText, std::string_view lookedUp) {
  return phoneBoxText.substr(0, lookedUp.size()) == lookedUp;
}

}  // namespace decor
