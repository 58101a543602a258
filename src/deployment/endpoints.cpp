#include "deployment/endpoints.h"

#include "deployment/deployment_values.h"

namespace decor {

Endpoints Endpoints::compiledIn() {
  return Endpoints{
      .statisticsServer = DECOR_DEPLOY_STATISTICS_SERVER,
      .configServer = DECOR_DEPLOY_CONFIG_SERVER,
      .estimateServer = DECOR_DEPLOY_ESTIMATE_SERVER,
      .website = DECOR_DEPLOY_WEBSITE,
      .chatHost = DECOR_DEPLOY_CHAT_HOST,
      .chatAccount = DECOR_DEPLOY_CHAT_ACCOUNT,
      .locationService = DECOR_DEPLOY_LOCATION_SERVICE,
      .locationPage = DECOR_DEPLOY_LOCATION_PAGE,
      .hotline = DECOR_DEPLOY_HOTLINE,
      .companyName = DECOR_DEPLOY_COMPANY_NAME,
  };
}

Endpoints Endpoints::allAt(const std::string& baseAddress) {
  Endpoints endpoints = compiledIn();
  endpoints.statisticsServer = baseAddress;
  endpoints.configServer = baseAddress;
  endpoints.estimateServer = baseAddress;
  endpoints.chatHost = baseAddress;
  endpoints.locationService = baseAddress;
  return endpoints;
}

std::string Endpoints::counterVisitUrl() const { return statisticsServer + "/bjtj/"; }
std::string Endpoints::counterUrl() const { return statisticsServer + "/bjtj/love.txt"; }
std::string Endpoints::estimatePriceFileUrl() const { return configServer + "/bj/AppConfig.xml"; }
std::string Endpoints::itemPriceFileUrl() const { return configServer + "/bj/Xiangxi.xml"; }
std::string Endpoints::estimateSendUrl() const { return estimateServer + "/site/send"; }
std::string Endpoints::chatStatusPictureUrl() const { return chatHost + "/pa?p=2:" + chatAccount + ":41"; }
std::string Endpoints::chatPageUrl() const {
  return chatHost + "/msgrd?v=3&uin=" + chatAccount + "&site=qq&menu=yes";
}
std::string Endpoints::phoneLookupUrl(std::string_view firstSevenDigits) const {
  return locationService + "/Locating/" + locationPage + "?m=" + std::string(firstSevenDigits) +
         "&output=json&callback=querycallback";
}

}  // namespace decor
