#include "app/application_setup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/artwork.h"

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

  QApplication::setWindowIcon(applicationIcon());
  // Ties the windows to the installed desktop entry, whose icon and name the desktop shows.
  QGuiApplication::setDesktopFileName(QStringLiteral(DECOR_APP_ID));

  QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"));
  QFont font(QStringLiteral("SimSun"));
  font.setPixelSize(12);
  QApplication::setFont(font);
  return loaded;
}

}  // namespace decor
