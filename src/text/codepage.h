#pragma once
// Conversions between UTF-8, the program's text encoding, and GBK (code page 936), which
// the outside world and a few rules still need. Neither conversion ever fails.
#include <string>
#include <string_view>

namespace decor {

// A character GBK cannot represent, and an invalid UTF-8 byte, become "?" (the converter's
// default character); the conversion goes on after it.
std::string utf8ToGbk(std::string_view utf8);

// An invalid GBK byte becomes "?" and the conversion goes on after it.
std::string gbkToUtf8(std::string_view gbk);

// How the program keeps text that arrives from outside as UTF-8 (price files, room files,
// server replies): drops everything from the first zero byte on, then converts the rest to
// GBK and back, so every character GBK cannot hold and every invalid byte becomes "?".
// The result is valid UTF-8 without a zero byte, and passing it through again changes nothing.
std::string cutAtZeroByteAndRoundTripGbk(std::string_view bytes);

}  // namespace decor
