#include "app/program.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "app/main_window.h"

namespace decor {

int runProgram(AppServices services) {
  MainWindow window(std::move(services));
  // exit(), not quit(): quit() first asks every other window to close, and the result
  // window would answer with its question instead of letting the program end.
  QObject::connect(&window, &MainWindow::closed, qApp, [] { QCoreApplication::exit(0); });
  window.start();
  QApplication::exec();
  return 0;
}

void endProgram(int exitCode) {
  std::fflush(nullptr);
#ifdef _WIN32
  std::_Exit(exitCode);  // MinGW's C library has no quick_exit; nothing is registered with it
#else
  std::quick_exit(exitCode);
#endif
}

}  // namespace decor
