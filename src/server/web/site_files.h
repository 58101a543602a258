#pragma once
// The web edition's files: the set compiled into the server, each of which a company may
// replace with a file of the same name in its own folder (read afresh on every request, like
// the price files, so that a changed logo needs no restart).
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace decor::web {

// One file of the built-in set; the table is generated at build time from the site folder.
struct BuiltInFile {
  std::string_view name;
  std::string_view bytes;
};
std::span<const BuiltInFile> builtInFiles();

struct SiteFile {
  std::string bytes;
  std::string contentType;
  std::string etag;  // quoted, from the bytes: the same file gives the same tag on every server
};

// By file extension; files of other kinds are not served.
std::optional<std::string_view> contentTypeOf(std::string_view name);

// A strong entity tag for the bytes.
std::string entityTag(std::string_view bytes);

class SiteFiles {
 public:
  explicit SiteFiles(std::filesystem::path ownFolder = {});

  // The file of that name (a plain file name: letters, digits, ".", "-" and "_", no leading
  // dot), from the company's folder when it has one, else built in; nothing when neither has.
  std::optional<SiteFile> find(std::string_view name) const;

 private:
  std::filesystem::path ownFolder_;
  std::vector<SiteFile> builtIn_;  // in builtInFiles() order, tags computed once
};

}  // namespace decor::web
