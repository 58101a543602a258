#include "app/task_barrier.h"

#include <QtGlobal>
#include <exception>
#include <string_view>

namespace decor {
namespace {

// "app/main_window.cpp": the program is built with its source folder mapped away, and a build
// without that mapping still shows no more than the path below src/.
std::string_view sourceFile(const std::source_location& where) {
  std::string_view file = where.file_name();
  const std::size_t src = file.rfind("src/");
  if (src != std::string_view::npos) file.remove_prefix(src + 4);
  return file;
}

void report(const char* runner, const std::source_location& where, const char* what) {
  const std::string_view file = sourceFile(where);
  qCritical("%s: a task handed over at %.*s:%u failed: %s", runner, static_cast<int>(file.size()), file.data(),
            static_cast<unsigned>(where.line()), what);
}

}  // namespace

bool runBehindBarrier(const std::function<void()>& task, const char* runner, const std::source_location& handedOverAt) {
  try {
    task();
    return true;
  } catch (const std::exception& e) {
    report(runner, handedOverAt, e.what());
  } catch (...) {
    report(runner, handedOverAt, "an exception that is no std::exception");
  }
  return false;
}

}  // namespace decor
