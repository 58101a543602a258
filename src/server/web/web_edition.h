#pragma once
// The estimator on the company's web site: the page and its files at "/" and under
// kAssetPrefix, and the JSON API under "/api/". It knows nothing of how the server stores,
// counts or mails: the server hands it what it needs through WebServices.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/web/site_files.h"

namespace decor::web {

inline constexpr std::string_view kAssetPrefix = "/web/";
inline constexpr std::string_view kApiPrefix = "/api/";

struct WebRequest {
  std::string method;
  std::string path;  // without the query
  std::map<std::string, std::string> query;
  std::map<std::string, std::string> headers;  // names in lower case
  std::string address;                         // the client, as the server keys its limits
  std::string body;

  std::string header(const std::string& lowerCaseName) const;
};

struct WebReply {
  int status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

// What the server does for the web edition.
struct WebServices {
  // The texts of the two price files the server hands out right now ("AppConfig.xml",
  // "Xiangxi.xml"); nothing when they cannot be read.
  std::function<std::optional<std::pair<std::string, std::string>>()> priceFiles;

  // Keeps an estimate through the server's intake, exactly as a posted form would be.
  struct Estimate {
    std::string address;  // the client's
    std::string email;
    std::string phone;
    std::string text;
  };
  struct Kept {
    int status = 200;    // 200 when kept; else the status to answer with
    std::string reason;  // why not, for the customer
  };
  std::function<Kept(const Estimate&)> keepEstimate;

  // Counts a visit from the client (as the server's own counter does) and returns the count
  // of homeowners helped; nothing when it cannot be read.
  std::function<std::optional<std::int64_t>(const std::string& address)> visit;

  // The province of a mobile number block (seven digits) in the server's own number table.
  std::function<std::optional<std::string>(std::string_view block)> province;

  // The company's contacts on the page.
  std::string hotline;
  std::string chatPageUrl;
  std::string website;
  std::string companyName;  // names the company in the homeowner counter and its quotations

  // Today's date ("2026-12-09") for the quotations' documents and files; the local date when
  // not set.
  std::function<std::string()> today;
};

struct WebSettings {
  // A company's own files; a file missing there comes from the built-in set.
  std::filesystem::path siteDir;
  // Other sites allowed to frame the page ("frame-ancestors"); none by default.
  std::vector<std::string> frameAncestors;
  // The company's other sites whose pages may call the API (CORS); none by default.
  std::vector<std::string> apiOrigins;
};

// The serve command's help lines for the options below.
extern const char* const kWebOptionsHelp;

// Moves --site, --frame-ancestor and --api-origin with their values out of `args`; false
// with a message when one lacks its value or names no usable site.
bool takeWebOptions(std::vector<std::string>& args, WebSettings& settings, std::string& error);

class WebEdition {
 public:
  WebEdition(WebServices services, WebSettings settings);

  // Whether a request for this path belongs here.
  static bool handles(std::string_view path);

  // Any thread.
  WebReply answer(const WebRequest& request) const;

 private:
  WebReply answerFile(const WebRequest& request, std::string_view name) const;
  WebReply answerApi(const WebRequest& request) const;
  WebReply estimate(const WebRequest& request) const;
  WebReply send(const WebRequest& request) const;
  // "quotation", "quotation.xlsx", "quotation/file" or "quotation/open".
  WebReply quotationCall(const WebRequest& request, std::string_view call) const;
  WebReply site(const WebRequest& request) const;
  WebReply number(const WebRequest& request) const;
  std::optional<std::string> foreignOrigin(const WebRequest& request) const;
  void addPageHeaders(WebReply& reply) const;

  WebServices services_;
  WebSettings settings_;
  SiteFiles files_;
  std::string contentSecurityPolicy_;
};

}  // namespace decor::web
