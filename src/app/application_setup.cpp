#include "app/application_setup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "ui/artwork.h"

namespace decor {

bool setUpApplication(QApplication& app) {
  auto* translator = new QTranslator(&app);
#ifdef _WIN32
  // Installed on Windows, Qt's translations sit in a folder beside the program.
  const QString translations = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
#else
  const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
  const bool loaded = translator->load(QStringLiteral("qtbase_zh_CN"), translations);
  if (loaded) {
    QApplication::installTranslator(translator);
  } else {
    delete translator;
  }

  QApplication::setWindowIcon(applicationIcon());
  // Ties the windows to the installed desktop entry, whose icon and name the desktop shows.
  QGuiApplication::setDesktopFileName(QStringLiteral(DECOR_APP_ID));

#ifdef _WIN32
  // Every Chinese Windows has SimSun; Microsoft YaHei takes any character it lacks.
  QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("Microsoft YaHei"));
#else
  QFont::insertSubstitution(QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"));
#endif
  QFont font(QStringLiteral("SimSun"));
  font.setPixelSize(12);
  QApplication::setFont(font);
  return loaded;
}

}  // namespace decor
