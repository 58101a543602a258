#pragma once
// Helpers for driving the real windows in tests: a scripted URL reader, a browser that only
// records, and an answerer for modal dialogs.
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <ostream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "app/app_services.h"

// Failure output shows texts as text, not as UTF-16 code units.
void PrintTo(const QString& text, std::ostream* out);

class QComboBox;

namespace decor::test {

// Answers from a table of URL -> body (anything else: empty, like an unreachable server) and
// records every request in order. With hold() the requests wait until release().
class ScriptedFetcher final : public UrlFetcher {
 public:
  void answer(const std::string& url, std::string body);
  std::string fetchUrl(const std::string& url) override;

  std::vector<std::string> requests() const;
  std::size_t finishedCount() const;

  void hold();
  void release();

 private:
  mutable std::mutex mutex_;
  std::condition_variable released_;
  bool held_ = false;
  std::map<std::string, std::string> bodies_;
  std::vector<std::string> requests_;
  std::size_t finished_ = 0;
};

// Records the addresses handed to the browser.
struct BrowserLog {
  std::vector<std::string> opened;
};

// Fresh state, the given fetcher, all servers at one local address, a recording browser, a
// pool of its own.
AppServices testServices(std::shared_ptr<UrlFetcher> fetcher, std::shared_ptr<BrowserLog> browser = nullptr);

// A small PNG, as the chat service's status picture would arrive.
std::string statusPictureBytes();

// What a test saw of a modal dialog.
struct SeenDialog {
  QString className;
  QString title;
  QString text;                  // message boxes only
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;           // message boxes only, in order
  bool applicationModal = false;
};

// While alive, polls for modal dialogs every few milliseconds. Each one found is recorded
// and answered with the next of `answers` (a message box button); a dialog that is no
// message box, or one beyond the answers, is recorded and closed.
class ModalAnswerer {
 public:
  explicit ModalAnswerer(std::vector<QMessageBox::StandardButton> answers = {},
                         std::function<void(QWidget&)> inspect = nullptr);
  ~ModalAnswerer();
  const std::vector<SeenDialog>& seen() const { return seen_; }

 private:
  void poll();

  QTimer timer_;
  std::vector<QMessageBox::StandardButton> answers_;
  std::function<void(QWidget&)> inspect_;
  std::vector<SeenDialog> seen_;
};

// The window's own control of that object name (the name its .ui file gives it), for driving
// the window as a user would. Controls of a dialog open on top of the window are not its own.
// Throws, failing the test, when the window has no such control.
template <class Control>
Control* control(QWidget& window, const char* objectName) {
  for (Control* found : window.findChildren<Control*>(QString::fromUtf8(objectName))) {
    if (found->window() == &window) return found;
  }
  throw std::logic_error(std::string("no control named ") + objectName);
}

// Types `text` into the widget character by character, as a keyboard with an input method
// would (QTest::keyClicks takes ASCII only).
void typeText(QWidget& widget, const QString& text);

// Types each text into its editable drop-down, presses Enter and moves the focus to `next`:
// the text must stay as typed and the drop-down must keep its items.
void expectTypedTextsStay(const std::vector<std::pair<QComboBox*, QString>>& typed, QWidget& next);

// Processes events until `done` or the time is up; returns `done()`. The limit only turns a hang
// into a failure: a loaded machine running the sanitizers must never reach it.
bool waitUntil(const std::function<bool()>& done, int milliseconds = 20000);

// Before checking that something did NOT happen: runs the event loop until the pool has no
// task waiting or running and two turns of the loop in a row started no task, so that every
// result a worker posted to a window has been shown. False (fail the test) only when that
// takes longer than the generous limit, i.e. something hangs; it never passes a test by luck.
[[nodiscard]] bool waitUntilQuiet(WorkerPool& workers, int milliseconds = 20000);

// Lets every window scheduled for deletion go.
void flushDeletes();

}  // namespace decor::test
