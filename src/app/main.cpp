// decor-estimator: the desktop program.
#include <QApplication>
#include <QtGlobal>
#include <cfenv>
#include <exception>

#include "app/app_services.h"
#include "app/application_setup.h"
#include "app/program.h"

int main(int argc, char** argv) {
  // Default floating-point environment: round to nearest, every exception masked, so a
  // division by zero gives inf or nan instead of a trap.
  std::fesetenv(FE_DFL_ENV);

  // Whatever still escapes the windows and the worker barriers ends the program with one
  // line on standard error and exit code 1, never an abort without a word.
  try {
    QApplication app(argc, argv);
    decor::setUpApplication(app);
    return decor::runProgram(decor::AppServices::forDesktop());
  } catch (const std::exception& e) {
    qCritical("decor-estimator: 内部错误：%s", e.what());
  } catch (...) {
    qCritical("decor-estimator: 内部错误");
  }
  return 1;
}
