#pragma once
// Headless runs of the windows (tests, benchmarks): Qt's offscreen platform unless the caller
// asked for another, and a private runtime folder where the session provides none.
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <unistd.h>

namespace decor::test {

// Call before the QApplication is made. `runName` names the runtime folder, per user.
inline void prepareHeadlessQt(const char* runName) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (std::getenv("XDG_RUNTIME_DIR") != nullptr) return;
  const QString runtime = QDir::temp().filePath(QStringLiteral("%1-%2").arg(QString::fromUtf8(runName)).arg(getuid()));
  QDir().mkpath(runtime);
  QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  setenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit().constData(), 1);
}

}  // namespace decor::test
