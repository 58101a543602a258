#include "server/web/web_edition.h"

#include <algorithm>

#include "contact/contact_rules.h"
#include "net/estimate_send.h"
#include "net/helped_counter.h"
#include "net/phone_lookup.h"
#include "pricing/price_files.h"
#include "quotation_rows/room_list.h"
#include "server/web/api_conventions.h"
#include "server/web/estimate_api.h"
#include "server/web/quotation_api.h"
#include "text/input_rules.h"

namespace decor::web {
namespace {

constexpr std::string_view kIndexFile = "index.html";

std::string lowerCase(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
  return out;
}

// "host[:port]" of "scheme://host[:port][/…]"; empty when the text is no such address.
std::string hostOf(std::string_view url) {
  const std::size_t scheme = url.find("://");
  if (scheme == std::string_view::npos) return {};
  const std::string_view rest = url.substr(scheme + 3);
  return lowerCase(rest.substr(0, rest.find_first_of("/?#")));
}

bool isSiteAddress(std::string_view origin) {
  if (!origin.starts_with("http://") && !origin.starts_with("https://")) return false;
  const std::string_view host = origin.substr(origin.find("://") + 3);
  if (host.empty()) return false;
  return std::all_of(host.begin(), host.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == ':' || c == '[' || c == ']';
  });
}

bool contains(const std::vector<std::string>& list, std::string_view item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

WebReply methodNotAllowed(std::string allow) {
  WebReply reply = errorReply({405, "不支持的请求方法"});
  reply.headers.emplace_back("Allow", std::move(allow));
  return reply;
}

bool isJsonContentType(std::string_view type) {
  const std::string media = lowerCase(type.substr(0, type.find(';')));
  const std::size_t first = media.find_first_not_of(" \t");
  const std::size_t last = media.find_last_not_of(" \t");
  return first != std::string::npos && media.substr(first, last - first + 1) == "application/json";
}

}  // namespace

const char* const kWebOptionsHelp =
    "\n"
    "网页版（http://地址:端口/ 为估算页面，/api/ 为 JSON 接口）:\n"
    "  --site 文件夹             公司自己的网页文件（标志、颜色、文字）；文件夹中没有的文件用内置的\n"
    "  --frame-ancestor 网址     允许此网站把页面嵌入框架（如 https://www.example.com），可多次指定；\n"
    "                            默认不允许任何网站嵌入\n"
    "  --api-origin 网址         允许此网站的网页调用 /api/（CORS），可多次指定；默认只允许本站\n";

bool takeWebOptions(std::vector<std::string>& args, WebSettings& settings, std::string& error) {
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg != "--site" && arg != "--frame-ancestor" && arg != "--api-origin") {
      rest.push_back(arg);
      continue;
    }
    if (i + 1 >= args.size()) {
      error = "选项 " + arg + " 缺少参数";
      return false;
    }
    const std::string& value = args[++i];
    if (arg == "--site") {
      std::error_code ignored;
      if (!std::filesystem::is_directory(value, ignored)) {
        error = "--site 应为一个文件夹：" + value;
        return false;
      }
      settings.siteDir = value;
      continue;
    }
    // The value goes into a header as it is: only a plain site address may.
    if (!isSiteAddress(value)) {
      error = arg + " 应为网站地址，如 https://www.example.com（不带路径）：" + value;
      return false;
    }
    (arg == "--frame-ancestor" ? settings.frameAncestors : settings.apiOrigins).push_back(value);
  }
  args = std::move(rest);
  return true;
}

std::string WebRequest::header(const std::string& lowerCaseName) const {
  const auto found = headers.find(lowerCaseName);
  return found == headers.end() ? std::string() : found->second;
}

WebEdition::WebEdition(WebServices services, WebSettings settings)
    : services_(std::move(services)), settings_(std::move(settings)), files_(settings_.siteDir) {
  std::string ancestors = "'none'";
  if (!settings_.frameAncestors.empty()) {
    ancestors = "'self'";
    for (const std::string& site : settings_.frameAncestors) ancestors += " " + site;
  }
  contentSecurityPolicy_ =
      "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; connect-src 'self'; "
      "base-uri 'none'; form-action 'none'; frame-ancestors " + ancestors;
}

bool WebEdition::handles(std::string_view path) {
  return path == "/" || path.starts_with(kAssetPrefix) || path.starts_with(kApiPrefix);
}

WebReply WebEdition::answer(const WebRequest& request) const {
  WebReply reply;
  if (request.path.starts_with(kApiPrefix)) {
    reply = answerApi(request);
    reply.headers.emplace_back("Cache-Control", "no-store");
  } else if (request.method != "GET" && request.method != "HEAD") {
    // The page's paths answer like the server's other pages; only the API speaks JSON.
    reply = {405, "text/plain; charset=utf-8", "不支持的请求方法", {{"Allow", "GET, HEAD"}}};
  } else {
    reply = answerFile(request, request.path == "/" ? kIndexFile : std::string_view(request.path).substr(kAssetPrefix.size()));
  }
  addPageHeaders(reply);
  return reply;
}

void WebEdition::addPageHeaders(WebReply& reply) const {
  reply.headers.emplace_back("Content-Security-Policy", contentSecurityPolicy_);
  reply.headers.emplace_back("X-Content-Type-Options", "nosniff");
  reply.headers.emplace_back("Referrer-Policy", "same-origin");
  if (settings_.frameAncestors.empty()) reply.headers.emplace_back("X-Frame-Options", "DENY");
}

WebReply WebEdition::answerFile(const WebRequest& request, std::string_view name) const {
  const auto file = files_.find(name);
  if (!file) return {404, "text/plain; charset=utf-8", "没有这个文件", {}};
  WebReply reply{200, file->contentType, {}, {{"ETag", file->etag}, {"Cache-Control", "no-cache"}}};
  // A returning browser asks with the tag it holds and gets no body when nothing changed.
  const std::string held = request.header("if-none-match");
  if (held.find(file->etag) != std::string::npos || held == "*") {
    reply.status = 304;
    return reply;
  }
  reply.body = file->bytes;
  return reply;
}

std::optional<std::string> WebEdition::foreignOrigin(const WebRequest& request) const {
  const std::string host = lowerCase(request.header("host"));
  const std::string origin = request.header("origin");
  if (!origin.empty()) {
    if (contains(settings_.apiOrigins, origin)) return std::nullopt;
    if (host.empty() || hostOf(origin) != host) return origin;
    return std::nullopt;
  }
  const std::string referer = request.header("referer");
  if (!referer.empty() && (host.empty() || hostOf(referer) != host)) return referer;
  return std::nullopt;
}

WebReply WebEdition::answerApi(const WebRequest& request) const {
  const std::string_view call = std::string_view(request.path).substr(kApiPrefix.size());
  const bool quotation = call == "quotation" || call == "quotation.xlsx" || call == "quotation/file" ||
                         call == "quotation/open";
  const bool posted = call == "estimate" || call == "send" || quotation;
  const bool read = call == "site" || call == "number";
  if (!posted && !read) return errorReply({404, "没有这个接口"});

  const std::string origin = request.header("origin");
  const bool crossSite = !origin.empty() && contains(settings_.apiOrigins, origin);
  WebReply reply;
  if (request.method == "OPTIONS" && crossSite) {
    reply = {204, "", "", {{"Access-Control-Allow-Methods", posted ? "POST" : "GET"},
                           {"Access-Control-Allow-Headers", "Content-Type"},
                           {"Access-Control-Max-Age", "600"}}};
  } else if (posted && request.method != "POST") {
    reply = methodNotAllowed("POST");
  } else if (read && request.method != "GET" && request.method != "HEAD") {
    reply = methodNotAllowed("GET, HEAD");
  } else if (const auto foreign = posted ? foreignOrigin(request) : std::nullopt) {
    // A page of another site must not send estimates in its visitor's name.
    reply = errorReply({403, "不接受来自其他网站的请求"});
  } else if (posted && !isJsonContentType(request.header("content-type"))) {
    reply = errorReply({415, "请求的 Content-Type 应为 application/json"});
  } else if (call == "estimate") {
    reply = estimate(request);
  } else if (call == "send") {
    reply = send(request);
  } else if (quotation) {
    reply = quotationCall(request, call);
  } else if (call == "site") {
    reply = site(request);
  } else {
    reply = number(request);
  }
  if (crossSite) {
    reply.headers.emplace_back("Access-Control-Allow-Origin", origin);
    reply.headers.emplace_back("Vary", "Origin");
  }
  return reply;
}

namespace {

// The prices the server hands out right now, as the program reads them at start.
struct CurrentPrices {
  EstimatePrices estimate;
  ItemPrices items;
};
std::variant<CurrentPrices, ApiError> currentPrices(const WebServices& services) {
  const auto files = services.priceFiles ? services.priceFiles() : std::nullopt;
  if (!files) return ApiError{500, "价格文件无法读取"};
  PriceTable table;
  table.resetToDefaults();
  applyPriceFiles(table, files->first, files->second);
  return CurrentPrices{table.estimatePrices(), table.itemPrices()};
}

// The estimate a request describes, computed on the current prices.
std::variant<EstimateAnswer, ApiError> estimateOf(const json::Value& body, const WebServices& services) {
  auto input = readEstimateInput(body);
  if (auto* error = std::get_if<ApiError>(&input)) return std::move(*error);
  auto prices = currentPrices(services);
  if (auto* error = std::get_if<ApiError>(&prices)) return std::move(*error);
  return computeEstimate(std::get<QuickEstimateInput>(input), std::get<CurrentPrices>(prices).estimate);
}

template <typename Texts>
json::Value textList(const Texts& texts) {
  json::Array list;
  for (const std::string_view text : texts) list.emplace_back(text);
  return list;
}

// What the room entry and add-item windows offer, so that the page offers the same.
json::Value quotationChoices() {
  const RoomEntry initial = initialRoomInput();
  json::Array columns;
  for (const ColumnFormat& column : kRoomListColumns) columns.emplace_back(column.title);
  json::Array defaults;
  for (const AddItemDefault& item : kAddItemDefaults) {
    defaults.push_back(json::Array{item.name, item.unitPrice});
  }
  return json::Object{
      {"roomTypes", textList(kRoomTypes)},
      {"doorTypes", textList(kDoorTypeChoices)},
      {"windowSizes", textList(kWindowSizeChoices)},
      {"wallCounts", textList(kWallCountChoices)},
      {"doorLeaves", json::Object{{"min", json::Value::integer(kDoorLeavesMin)},
                                  {"max", json::Value::integer(kDoorLeavesMax)}}},
      {"initialRoom", textList(std::array<std::string_view, 6>{initial.roomType, initial.size, initial.window,
                                                               initial.doorType, initial.doorLeaves, initial.wallCount})},
      {"columns", std::move(columns)},
      {"addItemNames", textList(kAddItemNameChoices)},
      {"addItemUnits", textList(std::array{kAddedItemUnit})},
      {"addItemQuantities", textList(kAddItemQuantityChoices)},
      {"addItemPrices", textList(kAddItemPriceChoices)},
      {"addItemInitial", textList(std::array{kAddItemInitialName, kAddItemInitialQuantity, kAddItemInitialPrice})},
      {"addItemDefaults", std::move(defaults)},
      {"grades", textList(kDecorationGrades)},
      {"packages", textList(std::array{packageScopeText(PackageScope::Half), packageScopeText(PackageScope::Full)})},
      {"floors", textList(std::array{floorText(FloorChoice::WoodenFloor), floorText(FloorChoice::Tiles)})},
      {"noRooms", kNoRoomsMessage},
  };
}

}  // namespace

WebReply WebEdition::estimate(const WebRequest& request) const {
  auto body = readJsonObject(request.body);
  if (auto* error = std::get_if<ApiError>(&body)) return errorReply(*error);
  auto answer = estimateOf(std::get<json::Value>(body), services_);
  if (auto* error = std::get_if<ApiError>(&answer)) return errorReply(*error);
  return jsonReply(200, estimateJson(std::get<EstimateAnswer>(answer)));
}

WebReply WebEdition::send(const WebRequest& request) const {
  auto parsed = readJsonObject(request.body);
  if (auto* error = std::get_if<ApiError>(&parsed)) return errorReply(*error);
  const json::Value& body = std::get<json::Value>(parsed);

  auto email = stringField(body, {"email", "邮箱"});
  if (auto* error = std::get_if<ApiError>(&email)) return errorReply(*error);
  auto phone = stringField(body, {"tel", "手机"});
  if (auto* error = std::get_if<ApiError>(&phone)) return errorReply(*error);
  const std::string& address = std::get<std::string>(email);
  const std::string& number = std::get<std::string>(phone);
  // The result window's checks, in its order.
  if (!acceptableEmail(address, EmailStrictness::DesktopBox)) return errorReply({400, std::string(kNoSuchEmail), "email"});
  if (const auto missing = missingSendInput(address, number)) {
    return errorReply({400, std::string(missing->message), missing->box == MissingSendInput::Box::Email ? "email" : "tel"});
  }
  if (!isPhoneBoxText(number)) {
    return errorReply({400, "手机（tel）应为最多 " + std::to_string(kPhoneBoxDigits) + " 位数字", "tel"});
  }

  auto answer = estimateOf(body, services_);
  if (auto* error = std::get_if<ApiError>(&answer)) return errorReply(*error);
  const WebServices::Kept kept = services_.keepEstimate(
      {.address = request.address, .email = address, .phone = number, .text = std::get<EstimateAnswer>(answer).text});
  if (kept.status != 200) return errorReply({kept.status, kept.reason});
  return jsonReply(200, json::Object{{"message", std::string(kSendSucceeded)}});
}

WebReply WebEdition::quotationCall(const WebRequest& request, std::string_view call) const {
  std::optional<QuotationFile> file;
  json::Value body;
  if (call == "quotation/open") {
    QuotationFileReading reading = readQuotationFile(request.body);
    if (!reading.file) return errorReply({400, reading.error, "file"});
    file = std::move(reading.file);
    body = continuingBody(*file);
  } else {
    auto parsed = readJsonObject(request.body, kMaxQuotationBodyBytes);
    if (auto* error = std::get_if<ApiError>(&parsed)) return errorReply(*error);
    body = std::move(std::get<json::Value>(parsed));
  }
  auto prices = currentPrices(services_);
  if (auto* error = std::get_if<ApiError>(&prices)) return errorReply(*error);
  auto quotation = quotationOf(body, std::get<CurrentPrices>(prices).items);
  if (auto* error = std::get_if<ApiError>(&quotation)) return errorReply(*error);
  const KeptQuotation& kept = std::get<KeptQuotation>(quotation);
  const QuotationSession& session = kept.session();
  const std::string date = services_.today ? services_.today() : todayIsoDate();

  if (call == "quotation.xlsx") {
    const CompanyContact company{
        .name = services_.companyName, .hotline = services_.hotline, .website = services_.website};
    auto bytes = workbookBytes(session.document(company, date));
    if (auto* error = std::get_if<ApiError>(&bytes)) return errorReply(*error);
    const std::string name = proposedFileName(session.caption(), date, fileExtension(QuoteFileFormat::Excel));
    return {200, "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet",
            std::move(std::get<std::string>(bytes)),
            {{"Content-Disposition", attachment(name, "quotation-" + date + ".xlsx")}}};
  }
  if (call == "quotation/file") {
    return {200, kJsonType, writeQuotationFile(quotationFileOf(kept, date)),
            {{"Content-Disposition", attachment(kQuotationDownloadName, "quotation.json")}}};
  }
  json::Value answer = quotationJson(session);
  if (call == "quotation/open") {
    json::Object members{{"quotation", std::move(body)}};
    for (const auto& member : *answer.asObject()) members.push_back(member);
    answer = std::move(members);
  }
  return jsonReply(200, answer);
}

WebReply WebEdition::site(const WebRequest& request) const {
  json::Object answer{{"hotline", services_.hotline}, {"chatUrl", services_.chatPageUrl}, {"website", services_.website}};
  // Only a GET is a visit, as with the server's own counter.
  const auto count = services_.visit && request.method == "GET" ? services_.visit(request.address) : std::nullopt;
  if (count) answer.emplace_back("helped", helpedCounterCaption(services_.companyName, std::to_string(*count)));
  // The result window's messages, so that the page shows the desktop's own words.
  answer.emplace_back("messages", json::Object{{"noSuchEmail", std::string(kNoSuchEmail)},
                                               {"unknownPhone", std::string(kUnknownPhoneMessage)},
                                               {"sending", std::string(kSendingCaption)},
                                               {"sendSucceeded", std::string(kSendSucceeded)},
                                               {"sendFailed", std::string(kSendFailed)}});
  answer.emplace_back("quotation", quotationChoices());
  return jsonReply(200, answer);
}

WebReply WebEdition::number(const WebRequest& request) const {
  const auto found = request.query.find("m");
  const std::string block = found == request.query.end() ? std::string() : found->second;
  if (block.size() != kPhoneBlockDigits || !isPhoneBoxText(block)) {
    return errorReply({400, "号段（m）应为 " + std::to_string(kPhoneBlockDigits) + " 位数字", "m"});
  }
  const auto province = services_.province ? services_.province(block) : std::nullopt;
  if (!province) return errorReply({404, std::string(kUnknownPhoneMessage)});
  return jsonReply(200, json::Object{{"province", *province}});
}

}  // namespace decor::web
