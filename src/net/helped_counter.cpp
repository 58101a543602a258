#include "net/helped_counter.h"

#include "text/codepage.h"

namespace decor {

std::string fetchHelpedCount(UrlFetcher& fetcher, const Endpoints& endpoints) {
  fetcher.fetchUrl(endpoints.counterVisitUrl());
  const std::string reply = fetcher.fetchUrl(endpoints.counterUrl());
  return gbkToUtf8(std::string_view(reply).substr(0, reply.find('\0')));
}

std::string helpedCounterCaption(std::string_view companyName, std::string_view count) {
  std::string caption(companyName);
  caption += "公司报价评估工具 － 已帮助 ";
  caption += count;
  caption += " 位业主预算过报价！";
  return caption;
}

std::string helpedCounterDesignText(std::string_view companyName) {
  return std::string(companyName) + "公司报价评估工具 － 已帮助位业主预算过报价";
}

}  // namespace decor
