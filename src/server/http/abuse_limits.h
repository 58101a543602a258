#pragma once
// Per-address limits on what one client may make the server do, and the counts of what was
// refused. An address is an IPv4 address or an IPv6 /64, which one subscriber usually holds
// whole.
#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>

struct sockaddr;

namespace decor::server {

using Clock = std::chrono::steady_clock;

struct AbuseSettings {
  unsigned estimatesPerWindow = 20;
  std::chrono::seconds estimateWindow{600};
  std::chrono::seconds visitWindow{3600};  // one visit per address counted in this time
};

// What the server refused, by reason; the log line lists them in this order.
enum class Refusal {
  Connections,    // over the per-address connection limit
  Deadline,       // the request had not arrived in time
  TooLarge,       // body over the limit
  Encoded,        // a compressed body
  Unreadable,     // not a form the server can read
  Implausible,    // a field failed its check
  EstimateLimit,  // too many estimates from one address
  RepeatVisit,    // a visit already counted for this address
  Busy,           // the large bodies the server holds at a time were all in use
};
inline constexpr std::size_t kRefusalKinds = 9;

class RefusalCounts {
 public:
  void add(Refusal kind) { counts_[static_cast<std::size_t>(kind)].fetch_add(1, std::memory_order_relaxed); }
  // The counts since the last call by reason ("报价过于频繁 2，…"); empty when nothing was refused.
  std::string takeCounts();

 private:
  std::array<std::atomic<std::uint64_t>, kRefusalKinds> counts_{};
};

// The key the limits count under: "a.b.c.d" (also for an IPv4-mapped IPv6 address), or the
// first four groups of an IPv6 address followed by "::/64".
std::string addressKey(const sockaddr* address);

// Events per address in a sliding window. Bounded: when `maxAddresses` are tracked, the
// stale ones are dropped, and while all are fresh a new address is refused.
class SlidingWindowLimit {
 public:
  SlidingWindowLimit(unsigned perWindow, Clock::duration window, std::size_t maxAddresses = 100000)
      : perWindow_(perWindow), window_(window), maxAddresses_(maxAddresses) {}
  // Records the event and returns true when the address is still within its allowance.
  bool allow(const std::string& address, Clock::time_point now = Clock::now());

 private:
  void dropStale(Clock::time_point now);

  const unsigned perWindow_;
  const Clock::duration window_;
  const std::size_t maxAddresses_;
  std::mutex mutex_;
  std::unordered_map<std::string, std::deque<Clock::time_point>> events_;
};

}  // namespace decor::server
