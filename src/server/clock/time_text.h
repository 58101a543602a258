#pragma once
// The server's clock and its one way of writing a time: the estimates' stamps, the outbox's
// next try and the mails' Date header all read the machine's local time the same way.
#include <cstdint>
#include <ctime>
#include <string>

namespace decor::server {

std::int64_t nowMilliseconds();

// `seconds` since the epoch as a calendar time in the machine's time zone.
std::tm localCalendar(std::int64_t seconds);

// `seconds` since the epoch in the machine's time zone, written with a strftime pattern;
// at most 63 bytes.
std::string localTimeText(std::int64_t seconds, const char* strftimePattern);

// "YYYY-MM-DD HH:MM:SS", as estimates are stamped and listed.
inline constexpr const char* kStampPattern = "%Y-%m-%d %H:%M:%S";

// Now as the store stamps an estimate.
std::string localTimeNow();

}  // namespace decor::server
