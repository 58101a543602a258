#pragma once
// What one client may cost the server: connections, time and bytes. The defaults suit a
// server on the open internet that customers' programs post a few kilobytes to.
#include <chrono>
#include <cstddef>
#include <string>

namespace decor::server {

// The largest request body read: a customer's estimate form is a few kilobytes.
inline constexpr std::size_t kMaxBodyBytes = 64 * 1024;

struct RequestLimits {
  // A request (headers and body) that has not fully arrived by then is cut off.
  std::chrono::milliseconds deadline = std::chrono::seconds(10);
  unsigned connectionsPerAddress = 50;
  unsigned connections = 4000;
  // Each connection's buffer: the request line and all headers must fit in it, so it caps
  // them too (more gets 431).
  std::size_t connectionMemory = 32 * 1024;
  // A larger body is refused (413) before it is read into memory.
  std::size_t bodyBytes = kMaxBodyBytes;
  // A path starting with this (none when empty) may post up to largeBodyBytes instead: a call
  // that takes a whole document in one body. At most largeBodies such requests are held at a
  // time (more get 503 before their body is read), so that the bodies held stay within
  // largeBodies * largeBodyBytes however many clients post them.
  std::string largeBodyPath;
  std::size_t largeBodyBytes = kMaxBodyBytes;
  unsigned largeBodies = 8;
  unsigned threads = 4;
  unsigned backlog = 1024;
};

}  // namespace decor::server
