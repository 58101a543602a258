#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "server/http/client_address.h"

namespace decor::server {
namespace {

// Trusted proxies as the option takes them; a test fails on one that does not parse.
TrustedProxies trusting(const std::vector<std::string>& texts) {
  std::vector<AddressBlock> blocks;
  for (const auto& text : texts) {
    const auto block = parseAddressBlock(text);
    EXPECT_TRUE(block) << text;
    if (block) blocks.push_back(*block);
  }
  return TrustedProxies(std::move(blocks));
}

TEST(ClientAddress, TheOptionTakesAddressesAndBlocksAndRefusesTheRest) {
  struct Case {
    const char* text;
    bool valid;
    const char* inside = "";   // an address the block holds
    const char* outside = "";  // one just past it
  };
  const Case cases[] = {
      {"127.0.0.1", true, "127.0.0.1", "127.0.0.2"},
      {" 10.0.0.0/8 ", true, "10.255.255.255", "11.0.0.0"},
      {"10.1.2.3/8", true, "10.9.9.9", "9.255.255.255"},  // bits past the prefix do not count
      {"192.168.1.128/25", true, "192.168.1.255", "192.168.1.127"},
      {"0.0.0.0/0", true, "203.0.113.9", "::1"},            // every IPv4 address, no IPv6 one
      {"::1", true, "::1", "::2"},
      {"2001:db8::/32", true, "2001:db8:ffff::1", "2001:db9::"},
      {"fc00::/7", true, "fdff::1", "fe00::1"},
      {"::ffff:10.0.0.0/104", true, "10.1.1.1", "11.0.0.0"},  // a mapped block is the IPv4 one
      {"::ffff:127.0.0.1", true, "127.0.0.1", "127.0.0.2"},
      {"", false}, {"localhost", false}, {"10.0.0.0/33", false}, {"::/129", false},
      {"10.0.0.0/", false}, {"10.0.0.0/-1", false}, {"10.0.0.0/8/8", false}, {"10.0.0.256", false},
      {"10.0.0", false}, {"1.2.3.4:80", false}, {"[::1]", false}, {"::ffff:10.0.0.0/95", false},
      {"10.0.0.0/ 8", false}, {"2001:db8::/0x20", false},
  };
  for (const auto& c : cases) {
    const auto block = parseAddressBlock(c.text);
    ASSERT_EQ(block.has_value(), c.valid) << c.text;
    if (!block) continue;
    EXPECT_TRUE(block->contains(*parseIpAddress(c.inside))) << c.text << " " << c.inside;
    EXPECT_FALSE(block->contains(*parseIpAddress(c.outside))) << c.text << " " << c.outside;
  }
}

TEST(ClientAddress, TheClientIsTheRightmostForwardedAddressNoTrustedProxyHas) {
  struct Case {
    std::vector<std::string> trusted;
    const char* peer;
    const char* forwardedFor;
    const char* client;  // its addressKey()
  };
  const Case cases[] = {
      // Direct clients: whatever they write is theirs to forge.
      {{}, "198.51.100.7", "203.0.113.1", "198.51.100.7"},
      {{"127.0.0.1"}, "198.51.100.7", "203.0.113.1", "198.51.100.7"},
      // Through the proxy on this machine: the address it saw, past what the client wrote.
      {{"127.0.0.1"}, "127.0.0.1", "203.0.113.1", "203.0.113.1"},
      {{"127.0.0.1"}, "127.0.0.1", "6.6.6.6, 203.0.113.1", "203.0.113.1"},
      {{"127.0.0.1"}, "127.0.0.1", " 203.0.113.1 ", "203.0.113.1"},
      // A chain of trusted proxies is walked past, from the right.
      {{"127.0.0.1", "10.0.0.0/8"}, "127.0.0.1", "6.6.6.6, 203.0.113.1, 10.2.3.4", "203.0.113.1"},
      {{"10.0.0.0/8"}, "10.0.0.5", "203.0.113.1,10.0.0.9,10.0.0.8", "203.0.113.1"},
      // Nothing usable: the proxy itself.
      {{"127.0.0.1"}, "127.0.0.1", "", "127.0.0.1"},
      {{"127.0.0.1"}, "127.0.0.1", "127.0.0.1", "127.0.0.1"},
      {{"127.0.0.1", "10.0.0.0/8"}, "127.0.0.1", "10.0.0.1, 127.0.0.1", "127.0.0.1"},
      {{"127.0.0.1"}, "127.0.0.1", "unknown", "127.0.0.1"},
      {{"127.0.0.1"}, "127.0.0.1", ",", "127.0.0.1"},
      // Left of an entry that is not an address lies nothing to believe.
      {{"127.0.0.1"}, "127.0.0.1", "203.0.113.1, garbage", "127.0.0.1"},
      {{"127.0.0.1"}, "127.0.0.1", "203.0.113.1, , 127.0.0.1", "127.0.0.1"},
      {{"127.0.0.1"}, "127.0.0.1", "6.6.6.6, 203.0.113.1:4711", "127.0.0.1"},
      {{"127.0.0.1"}, "127.0.0.1", "garbage, 203.0.113.1", "203.0.113.1"},
      // IPv6 clients count by their /64; a mapped IPv4 address is the IPv4 one.
      {{"::1"}, "::1", "2001:db8:1:2:3:4:5:6", "2001:db8:1:2::/64"},
      {{"127.0.0.1"}, "::ffff:127.0.0.1", "::ffff:203.0.113.1", "203.0.113.1"},
      {{"::1"}, "::1", "2001:db8::1, ::1", "2001:db8:0:0::/64"},
  };
  for (const auto& c : cases) {
    const auto peer = parseIpAddress(c.peer);
    ASSERT_TRUE(peer) << c.peer;
    EXPECT_EQ(addressKey(trusting(c.trusted).clientOf(*peer, c.forwardedFor)), c.client)
        << c.peer << " X-Forwarded-For: " << c.forwardedFor;
  }
}

}  // namespace
}  // namespace decor::server
