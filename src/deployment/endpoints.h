#pragma once
// Where the program talks to: the company's three servers, its website, the chat service
// and the number-location service, plus the hotline shown in the windows. The values are
// compiled in from the build's deployment settings; tests build their own Endpoints that
// point at local servers.
#include <string>
#include <string_view>

namespace decor {

struct Endpoints {
  std::string statisticsServer;  // "http://host[:port]", no trailing slash
  std::string configServer;
  std::string estimateServer;
  std::string website;           // full address opened in the browser
  std::string chatHost;          // "http://host[:port]"
  std::string chatAccount;
  std::string locationService;   // "http://host[:port]"
  std::string locationPage;
  std::string hotline;
  std::string companyName;       // window titles, the counter text, quotations

  // The values this build was configured with.
  static Endpoints compiledIn();

  // Every server points at one base address (a local stand-in in tests and demos).
  static Endpoints allAt(const std::string& baseAddress);

  std::string counterVisitUrl() const;       // GET, reply discarded
  std::string counterUrl() const;            // GET, the number of homeowners helped
  std::string estimatePriceFileUrl() const;  // "AppConfig.xml"
  std::string itemPriceFileUrl() const;      // "Xiangxi.xml"
  std::string estimateSendUrl() const;       // POST, the estimate form
  std::string chatStatusPictureUrl() const;  // GET, a small picture
  std::string chatPageUrl() const;           // opened in the browser
  std::string phoneLookupUrl(std::string_view firstSevenDigits) const;
};

}  // namespace decor
