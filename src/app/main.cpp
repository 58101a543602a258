// decor-estimator: the desktop program.
#include <QApplication>
#include <cfenv>

#include "app/app_services.h"
#include "app/application_setup.h"
#include "app/program.h"

int main(int argc, char** argv) {
  // Default floating-point environment: round to nearest, every exception masked, so a
  // division by zero gives inf or nan instead of a trap.
  std::fesetenv(FE_DFL_ENV);

  QApplication app(argc, argv);
  decor::setUpApplication(app);
  return decor::runProgram(decor::AppServices::forDesktop());
}
