#include "app/application_setup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace decor {

bool setUpApplication(QApplication& app) {
  auto* translator = new QTranslator(&app);
  const bool loaded =
      translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  if (loaded) {
    QApplication::installTranslator(translator);
  } else {
    delete translator;
  }

  QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"));
  QFont font(QStringLiteral("SimSun"));
  font.setPixelSize(12);
  QApplication::setFont(font);
  return loaded;
}

}  // namespace decor
