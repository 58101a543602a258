#include "server/http/body_budget.h"

#include <algorithm>

namespace decor::server {
namespace {

// A body without a declared length starts this small and doubles, so that a small form
// costs little and a large one is copied only a few times.
constexpr std::size_t kFirstStep = 4096;

}  // namespace

bool BodyBudget::take(std::size_t bytes) {
  std::lock_guard lock(mutex_);
  if (bytes > limit_ - held_) return false;
  held_ += bytes;
  return true;
}

void BodyBudget::give(std::size_t bytes) {
  if (bytes == 0) return;
  std::lock_guard lock(mutex_);
  held_ -= bytes;
  givenBack_ += bytes;
}

bool BodyBudget::drained(std::size_t bytes) {
  std::lock_guard lock(mutex_);
  if (held_ != 0 || givenBack_ < bytes) return false;
  givenBack_ = 0;
  return true;
}

RequestBody::Added RequestBody::expect(std::size_t declared) {
  if (declared > maxBytes_) return Added::TooLarge;
  return declared <= bytes_.capacity() || growTo(declared) ? Added::Kept : Added::OverBudget;
}

RequestBody::Added RequestBody::append(const char* bytes, std::size_t size) {
  const std::size_t needed = bytes_.size() + size;
  if (needed > maxBytes_) return Added::TooLarge;
  if (needed > bytes_.capacity() &&
      !growTo(std::min(maxBytes_, std::max({needed, 2 * bytes_.capacity(), kFirstStep})))) {
    return Added::OverBudget;
  }
  bytes_.append(bytes, size);
  return Added::Kept;
}

bool RequestBody::growTo(std::size_t capacity) {
  if (!budget_.take(capacity - charged_)) return false;
  charged_ = capacity;
  // std::string::reserve may round a growing buffer up to twice its size; a fresh string
  // gets what it asks for (at least a few dozen bytes).
  std::string grown;
  grown.reserve(capacity);
  grown.append(bytes_);
  bytes_.swap(grown);
  return true;
}

}  // namespace decor::server
