#include "server/web/site_files.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <utility>

#include "text/fnv_hash.h"

namespace decor::web {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kContentTypes{{
    {".html", "text/html; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".svg", "image/svg+xml"},
    {".png", "image/png"},
    {".jpg", "image/jpeg"},
    {".webp", "image/webp"},
    {".ico", "image/x-icon"},
    {".json", "application/json; charset=utf-8"},
}};

bool isPlainFileName(std::string_view name) {
  if (name.empty() || name.size() > 100 || name.front() == '.') return false;
  for (const char c : name) {
    const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                         c == '-' || c == '_';
    if (!allowed) return false;
  }
  return true;
}

}  // namespace

std::optional<std::string_view> contentTypeOf(std::string_view name) {
  for (const auto& [extension, type] : kContentTypes) {
    if (name.ends_with(extension)) return type;
  }
  return std::nullopt;
}

std::string entityTag(std::string_view bytes) {
  // FNV-1a over the bytes and the length: a cache key, not a secret.
  const std::uint64_t hash = fnv1a64(bytes);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string tag = "\"";
  for (int shift = 60; shift >= 0; shift -= 4) tag += kHex[(hash >> shift) & 15];
  // Appended piece by piece: GCC 12 at -O3 flags `"-" + std::to_string(…)` falsely (-Wrestrict).
  tag += '-';
  tag += std::to_string(bytes.size());
  tag += '"';
  return tag;
}

SiteFiles::SiteFiles(std::filesystem::path ownFolder) : ownFolder_(std::move(ownFolder)) {
  for (const BuiltInFile& file : builtInFiles()) {
    const auto type = contentTypeOf(file.name);
    builtIn_.push_back(SiteFile{std::string(file.bytes), std::string(type.value_or("")), entityTag(file.bytes)});
  }
}

std::optional<SiteFile> SiteFiles::find(std::string_view name) const {
  if (!isPlainFileName(name)) return std::nullopt;
  const auto type = contentTypeOf(name);
  if (!type) return std::nullopt;
  if (!ownFolder_.empty()) {
    const std::filesystem::path path = ownFolder_ / std::string(name);
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) {
      std::ifstream in(path, std::ios::binary);
      std::string bytes(std::istreambuf_iterator<char>(in), {});
      // A file that cannot be read is as good as missing: the built-in one serves.
      if (in || in.eof()) {
        std::string tag = entityTag(bytes);
        return SiteFile{std::move(bytes), std::string(*type), std::move(tag)};
      }
    }
  }
  const auto files = builtInFiles();
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i].name == name) return builtIn_[i];
  }
  return std::nullopt;
}

}  // namespace decor::web
