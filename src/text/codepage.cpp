#include "text/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "text/utf8.h"

namespace decor {
namespace {

// One iconv descriptor per call: cheap enough for the short texts of this program and
// safe from any thread.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible; returns false (with `in` left at the offending input) on
  // an invalid or unconvertible sequence.
  bool run(std::string_view& in, std::string& out) {
    char buffer[256];
    while (!in.empty()) {
      char* inPtr = const_cast<char*>(in.data());
      std::size_t inLeft = in.size();
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = errno;
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      in.remove_prefix(in.size() - inLeft);
      if (rc != static_cast<std::size_t>(-1)) continue;
      if (error == E2BIG) continue;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // reset the shift state
      return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string utf8ToGbk(std::string_view utf8) {
  Converter converter("GBK", "UTF-8");
  std::string out;
  out.reserve(utf8.size());
  while (!converter.run(utf8, out)) {
    // Either an invalid UTF-8 byte or a valid character without a GBK form: skip it whole.
    out.push_back('?');
    utf8.remove_prefix(decodeUtf8At(utf8, 0).length);
  }
  return out;
}

std::string gbkToUtf8(std::string_view gbk) {
  Converter converter("UTF-8", "GBK");
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  while (!converter.run(gbk, out)) {
    out.push_back('?');
    gbk.remove_prefix(1);
  }
  return out;
}

std::string acceptIncomingUtf8(std::string_view bytes) {
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) bytes = bytes.substr(0, nul);
  return gbkToUtf8(utf8ToGbk(bytes));
}

}  // namespace decor
