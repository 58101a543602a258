#pragma once
// Application-wide settings every run of the windows needs, the tests included.
class QApplication;

namespace decor {

// Loads Qt's own Chinese texts (standard buttons read 是, 否, 确定) from Qt's installed
// translations folder, sets the window icon and desktop entry name, and sets the fonts: the
// windows were designed with 宋体 (SimSun) 12 px, which maps to WenQuanYi Micro Hei where
// SimSun is missing. Returns whether the Chinese texts were found.
bool setUpApplication(QApplication& app);

}  // namespace decor
