#pragma once
// Drawing text needs a QGuiApplication. A program without windows (decor-cli) starts one on
// the headless platform, so it runs without a display.
#include <QGuiApplication>
#include <memory>

namespace decor {

// A new headless QGuiApplication when none exists yet, nothing when one does. Main thread.
std::unique_ptr<QGuiApplication> startHeadlessGuiApplication();

}  // namespace decor
