#include "server/http/abuse_limits.h"

namespace decor::server {

std::string RefusalCounts::takeCounts() {
  static constexpr std::array<const char*, kRefusalKinds> kNames = {
      "连接过多", "请求超时", "请求过大", "压缩请求", "表单无法读取", "字段不合理", "报价过于频繁", "重复访问未计数",
      "服务器繁忙"};
  std::string line;
  for (std::size_t k = 0; k < kRefusalKinds; ++k) {
    const std::uint64_t count = counts_[k].exchange(0, std::memory_order_relaxed);
    if (count == 0) continue;
    line += (line.empty() ? "" : "，") + std::string(kNames[k]) + " " + std::to_string(count);
  }
  return line;
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
