#include "server/http/client_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdio>
#include <cstring>

namespace decor::server {
namespace {

constexpr std::uint8_t kV4Mapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

IpAddress fromV6(const std::uint8_t* bytes) {
  IpAddress address;
  if (std::memcmp(bytes, kV4Mapped, sizeof kV4Mapped) == 0) {
    std::memcpy(address.bytes.data(), bytes + 12, 4);
  } else {
    address.v6 = true;
    std::memcpy(address.bytes.data(), bytes, 16);
  }
  return address;
}

}  // namespace

std::optional<IpAddress> parseIpAddress(std::string_view text) {
  text = trimmed(text);
  if (text.empty() || text.size() >= INET6_ADDRSTRLEN) return std::nullopt;
  char buffer[INET6_ADDRSTRLEN] = {};
  std::memcpy(buffer, text.data(), text.size());
  std::uint8_t bytes[16] = {};
  if (inet_pton(AF_INET, buffer, bytes) == 1) {
    IpAddress address;
    std::memcpy(address.bytes.data(), bytes, 4);
    return address;
  }
  if (inet_pton(AF_INET6, buffer, bytes) == 1) return fromV6(bytes);
  return std::nullopt;
}

std::optional<IpAddress> ipAddressOf(const sockaddr* address) {
  if (address == nullptr) return std::nullopt;
  if (address->sa_family == AF_INET) {
    IpAddress result;
    std::memcpy(result.bytes.data(), &reinterpret_cast<const sockaddr_in*>(address)->sin_addr, 4);
    return result;
  }
  if (address->sa_family != AF_INET6) return std::nullopt;
  return fromV6(reinterpret_cast<const sockaddr_in6*>(address)->sin6_addr.s6_addr);
}

std::string addressKey(const IpAddress& address) {
  if (!address.v6) {
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, address.bytes.data(), text, sizeof text);
    return text;
  }
  std::string key;
  for (int group = 0; group < 4; ++group) {
    char hex[6];
    std::snprintf(hex, sizeof hex, "%x:", address.bytes[2 * group] << 8 | address.bytes[2 * group + 1]);
    key += hex;
  }
  return key + ":/64";
}

bool AddressBlock::contains(const IpAddress& address) const {
  if (address.v6 != base.v6) return false;
  const unsigned whole = prefix / 8;
  if (std::memcmp(address.bytes.data(), base.bytes.data(), whole) != 0) return false;
  const unsigned rest = prefix % 8;
  if (rest == 0) return true;
  const auto mask = static_cast<std::uint8_t>(0xff << (8 - rest));
  return (address.bytes[whole] & mask) == base.bytes[whole];
}

std::optional<AddressBlock> parseAddressBlock(std::string_view text) {
  text = trimmed(text);
  const std::size_t slash = text.find('/');
  const auto address = parseIpAddress(text.substr(0, slash));
  if (!address) return std::nullopt;
  const unsigned bits = address->v6 ? 128 : 32;
  AddressBlock block{*address, bits};
  if (slash != std::string_view::npos) {
    const std::string_view digits = text.substr(slash + 1);
    if (digits.empty() || digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string_view::npos) {
      return std::nullopt;
    }
    unsigned prefix = 0;
    for (const char c : digits) prefix = prefix * 10 + static_cast<unsigned>(c - '0');
    // An IPv4-mapped block ("::ffff:10.0.0.0/104") is the IPv4 block it maps.
    const bool mapped = text.substr(0, slash).find(':') != std::string_view::npos && !address->v6;
    if (mapped) {
      if (prefix < 96) return std::nullopt;
      prefix -= 96;
    }
    if (prefix > bits) return std::nullopt;
    block.prefix = prefix;
  }
  // "10.1.2.3/8" means 10.0.0.0/8: the bits past the prefix do not take part.
  for (unsigned bit = block.prefix; bit < bits; ++bit) {
    block.base.bytes[bit / 8] &= static_cast<std::uint8_t>(~(0x80u >> (bit % 8)));
  }
  return block;
}

bool TrustedProxies::trusts(const IpAddress& address) const {
  for (const auto& block : blocks_) {
    if (block.contains(address)) return true;
  }
  return false;
}

IpAddress TrustedProxies::clientOf(const IpAddress& peer, std::string_view forwardedFor) const {
  if (!trusts(peer)) return peer;
  while (!forwardedFor.empty()) {
    const std::size_t comma = forwardedFor.rfind(',');
    const std::string_view entry = comma == std::string_view::npos ? forwardedFor : forwardedFor.substr(comma + 1);
    forwardedFor = comma == std::string_view::npos ? std::string_view() : forwardedFor.substr(0, comma);
    const auto address = parseIpAddress(entry);
    if (!address) break;
    if (!trusts(*address)) return *address;
  }
  return peer;
}

}  // namespace decor::server
