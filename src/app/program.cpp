#include "app/program.h"

#include <QApplication>
#include <memory>

#include "app/main_window.h"

namespace decor {

int runProgram(AppServices services) {
  const std::shared_ptr<WorkerPool> workers = services.workers;
  {
    MainWindow window(std::move(services));
    // exit(), not quit(): quit() first asks every other window to close, and the result
    // window would answer with its question instead of letting the program end.
    QObject::connect(&window, &MainWindow::closed, qApp, [] { QCoreApplication::exit(0); });
    window.start();
    QApplication::exec();
  }
  // Every window has gone, and every dispatcher closed with it: what the workers still hand
  // back, a cancelled request's failure among it, reaches no one.
  workers->stop();
  return 0;
}

}  // namespace decor
