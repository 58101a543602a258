#include "export_pdf/gui_application.h"

namespace decor {

std::unique_ptr<QGuiApplication> startHeadlessGuiApplication() {
  if (QCoreApplication::instance()) return nullptr;
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
