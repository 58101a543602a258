// The GUI tests run headless unless QT_QPA_PLATFORM says otherwise (set it to xcb to watch
// the windows on a display). `gui_tests --screenshots DIR` saves a picture of every window.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <cstring>

#include "app/application_setup.h"
#include "offscreen_qt.h"
#include "screenshots.h"

#if defined(__SANITIZE_THREAD__)
// Qt's libraries are not instrumented. Their own thread pools (image conversion while
// painting) allocate on one thread and free on another, synchronised in ways ThreadSanitizer
// cannot see; so does GLib, whose per-thread data those pool threads free when they end.
// Ignore what its interceptors see when called from inside Qt or GLib; our own code, the
// worker hand-off included, stays fully checked.
extern "C" const char* __tsan_default_suppressions() {
  return "called_from_lib:libQt6Core.so.6\n"
         "called_from_lib:libQt6Gui.so.6\n"
         "called_from_lib:libglib-2.0.so.0\n";
}
#endif

int main(int argc, char** argv) {
  decor::test::prepareHeadlessQt("decor-gui-tests");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  app.setApplicationName(QStringLiteral("decor-gui-tests"));
  if (!decor::setUpApplication(app)) {
    std::fprintf(stderr, "gui_tests: Qt's Chinese translations (qtbase_zh_CN.qm) are missing\n");
  }
  if (argc == 3 && std::strcmp(argv[1], "--screenshots") == 0) {
    return decor::test::saveScreenshots(QString::fromLocal8Bit(argv[2]));
  }
  return RUN_ALL_TESTS();
}
