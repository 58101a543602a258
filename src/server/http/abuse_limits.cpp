#include "server/http/abuse_limits.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstring>

namespace decor::server {

std::string RefusalCounts::takeCounts() {
  static constexpr std::array<const char*, kRefusalKinds> kNames = {
      "连接过多", "请求超时", "请求过大", "压缩请求", "表单无法读取", "字段不合理", "报价过于频繁", "重复访问未计数",
      "大请求过多"};
  std::string line;
  for (std::size_t k = 0; k < kRefusalKinds; ++k) {
    const std::uint64_t count = counts_[k].exchange(0, std::memory_order_relaxed);
    if (count == 0) continue;
    line += (line.empty() ? "" : "，") + std::string(kNames[k]) + " " + std::to_string(count);
  }
  return line;
}

std::string addressKey(const sockaddr* address) {
  char text[INET6_ADDRSTRLEN] = {};
  if (address == nullptr) return "?";
  if (address->sa_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, text, sizeof text);
    return text;
  }
  if (address->sa_family != AF_INET6) return "?";
  const in6_addr& v6 = reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr;
  if (IN6_IS_ADDR_V4MAPPED(&v6)) {
    inet_ntop(AF_INET, v6.s6_addr + 12, text, sizeof text);
    return text;
  }
  std::string key;
  for (int group = 0; group < 4; ++group) {
    char hex[6];
    std::snprintf(hex, sizeof hex, "%x:", v6.s6_addr[2 * group] << 8 | v6.s6_addr[2 * group + 1]);
    key += hex;
  }
  return key + ":/64";
}

bool SlidingWindowLimit::allow(const std::string& address, Clock::time_point now) {
  std::lock_guard lock(mutex_);
  auto found = events_.find(address);
  if (found == events_.end()) {
    if (events_.size() >= maxAddresses_) dropStale(now);
    if (events_.size() >= maxAddresses_) return false;
    found = events_.emplace(address, std::deque<Clock::time_point>{}).first;
  }
  auto& times = found->second;
  while (!times.empty() && now - times.front() >= window_) times.pop_front();
  if (times.size() >= perWindow_) return false;
  times.push_back(now);
  return true;
}

void SlidingWindowLimit::dropStale(Clock::time_point now) {
  for (auto it = events_.begin(); it != events_.end();) {
    it = it->second.empty() || now - it->second.back() >= window_ ? events_.erase(it) : std::next(it);
  }
}

}  // namespace decor::server
