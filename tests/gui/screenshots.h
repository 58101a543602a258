#pragma once
#include <QString>

namespace decor::test {

// Shows every window as a user first sees it and saves it as DIR/<window>.png. Returns the
// process exit code.
int saveScreenshots(const QString& directory);

}  // namespace decor::test
