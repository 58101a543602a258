// The PDF tests draw text, which needs a QGuiApplication; it runs headless.
#include <gtest/gtest.h>

#include "export_pdf/gui_application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const auto application = decor::startHeadlessGuiApplication();
  return RUN_ALL_TESTS();
}
