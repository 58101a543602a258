#include "export_pdf/gui_application.h"

#include <QDir>
#include <cstdlib>
#include <string>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace decor {

namespace {

// Without a desktop session Qt warns on stderr that XDG_RUNTIME_DIR is not set. A command-line
// program prints only its own messages, so it gets a private folder of its own (or, should
// that folder be somebody else's, leaves Qt to say so).
void providePrivateRuntimeFolder() {
#if defined(Q_OS_UNIX)
  const char* given = std::getenv("XDG_RUNTIME_DIR");
  if (given != nullptr && *given != '\0') return;
  const std::string folder =
      QDir::temp().filePath(QStringLiteral("decor-cli-runtime-%1").arg(getuid())).toStdString();
  mkdir(folder.c_str(), 0700);  // an existing one is checked below
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
      (info.st_mode & 0077) != 0) {
    return;
  }
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
#endif
}

}  // namespace

std::unique_ptr<QGuiApplication> startHeadlessGuiApplication() {
  if (QCoreApplication::instance()) return nullptr;
  providePrivateRuntimeFolder();
  // QGuiApplication keeps argc and argv for its whole life.
  static int argc = 3;
  static char name[] = "decor-cli";
  static char platformOption[] = "-platform";
  static char platform[] = "offscreen";
  static char* argv[] = {name, platformOption, platform, nullptr};
  argc = 3;
  return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace decor
