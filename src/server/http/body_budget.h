#pragma once
// The memory all unfinished request bodies hold together. Each body is read into one buffer
// of its declared length (or grown in steps up to the limit when it has none), and that
// buffer is charged here; a body the budget cannot hold is refused at once, so that many
// clients sending large bodies slowly cannot take the server's memory.
#include <cstddef>
#include <mutex>
#include <string>

namespace decor::server {

class BodyBudget {
 public:
  explicit BodyBudget(std::size_t bytes) : limit_(bytes) {}

  // Takes `bytes`; false, taking nothing, when they are not left. Any thread.
  bool take(std::size_t bytes);
  void give(std::size_t bytes);
  // True once after bodies of at least `bytes` together were given back and none is held
  // now: the moment to hand freed memory back to the system.
  bool drained(std::size_t bytes);

 private:
  std::mutex mutex_;
  const std::size_t limit_;
  std::size_t held_ = 0;
  std::size_t givenBack_ = 0;
};

// One request's body as it arrives: one buffer, never more than `maxBytes`, charged to the
// budget for as long as this lives.
class RequestBody {
 public:
  RequestBody(BodyBudget& budget, std::size_t maxBytes) : budget_(budget), maxBytes_(maxBytes) {}
  ~RequestBody() { budget_.give(charged_); }
  RequestBody(const RequestBody&) = delete;
  RequestBody& operator=(const RequestBody&) = delete;

  enum class Added { Kept, TooLarge, OverBudget };
  // Room for a body of the declared length (at most maxBytes), taken before a byte arrives.
  Added expect(std::size_t declared);
  Added append(const char* bytes, std::size_t size);
  // The bytes, moved out; the charge stays until this is destroyed.
  std::string take() { return std::move(bytes_); }
  std::size_t maxBytes() const { return maxBytes_; }

 private:
  // Gives the buffer exactly `capacity` bytes, charged first.
  bool growTo(std::size_t capacity);

  BodyBudget& budget_;
  const std::size_t maxBytes_;
  std::string bytes_;
  std::size_t charged_ = 0;
};

}  // namespace decor::server
