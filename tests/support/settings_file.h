#pragma once
// Price files as the configuration server serves them, for tests.
#include <map>
#include <string>
#include <type_traits>

namespace decor::test {

// A whole settings file with every key of one half at its default, one entry a line.
template <typename Entries>
std::string settingsFile(const Entries& entries, const std::map<std::string, std::string>& overrides = {},
                         const std::string& omit = "") {
  std::string file = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<configuration>\n  <appSettings>\n";
  for (const auto& entry : entries) {
    const std::string key(entry.key);
    if (key == omit) continue;
    std::string value;
    if constexpr (std::is_integral_v<std::remove_cvref_t<decltype(entry.value)>>) {
      value = std::to_string(entry.value);
    } else {
      value = std::string(entry.value);
    }
    if (auto it = overrides.find(key); it != overrides.end()) value = it->second;
    file += "    <add key=\"" + key + "\" value=\"" + value + "\" />\n";
  }
  return file + "  </appSettings>\n</configuration>\n";
}

}  // namespace decor::test
