#pragma once
// Who a request comes from. Directly connected, it is the peer; behind a proxy the company
// trusts (nginx with the certificate in front of the server), it is the address that proxy
// saw, from X-Forwarded-For. Every per-address rule counts under the result.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sockaddr;

namespace decor::server {

// An IPv4 address (in the first four bytes; also an IPv4-mapped IPv6 one) or an IPv6 address.
struct IpAddress {
  bool v6 = false;
  std::array<std::uint8_t, 16> bytes{};
  friend bool operator==(const IpAddress&, const IpAddress&) = default;
};

// "192.0.2.7" or "2001:db8::7" (blanks around it allowed); nothing for anything else.
std::optional<IpAddress> parseIpAddress(std::string_view text);
std::optional<IpAddress> ipAddressOf(const sockaddr* address);

// The key the limits count under: "a.b.c.d", or the first four groups of an IPv6 address
// followed by "::/64", which one subscriber usually holds whole.
std::string addressKey(const IpAddress& address);

// An address or a CIDR block of them: "10.0.0.0/8", "2001:db8::/32", "127.0.0.1".
struct AddressBlock {
  IpAddress base;  // the bits beyond the prefix are zero
  unsigned prefix = 0;
  bool contains(const IpAddress& address) const;
};
std::optional<AddressBlock> parseAddressBlock(std::string_view text);

class TrustedProxies {
 public:
  TrustedProxies() = default;
  explicit TrustedProxies(std::vector<AddressBlock> blocks) : blocks_(std::move(blocks)) {}

  bool empty() const { return blocks_.empty(); }
  bool trusts(const IpAddress& address) const;

  // The client of a request from `peer` with this X-Forwarded-For (all its lines joined by
  // commas). Only a trusted peer's header is read: anyone else could write anything there.
  // Each trusted proxy appends the address it was connected from, so the header is read from
  // the right, past the trusted proxies, to the first address none of them is: the one the
  // last trusted proxy saw. When there is none before an entry that is not an address (what
  // lies left of it cannot be told apart from a forgery), nor at all, the client is the peer:
  // then the proxy's own requests, and at worst all its clients together, count as one.
  IpAddress clientOf(const IpAddress& peer, std::string_view forwardedFor) const;

 private:
  std::vector<AddressBlock> blocks_;
};

}  // namespace decor::server
