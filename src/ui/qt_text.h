#pragma once
// Texts inside the program are UTF-8; widgets take QString.
#include <QString>
#include <string_view>

namespace decor {

inline QString qt(std::string_view utf8) { return QString::fromUtf8(utf8.data(), qsizetype(utf8.size())); }

}  // namespace decor
