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

// What the program keeps of text that arrives from outside as UTF-8: the bytes up to the
// first zero byte, with every character that GBK cannot hold (and every invalid byte)
// replaced by "?", exactly as a round trip through GBK would leave them.
std::string acceptIncomingUtf8(std::string_view bytes);

}  // namespace decor
