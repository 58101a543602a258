#pragma once
// The one question asked before a customer's work that no file holds is lost, whichever window
// holds it (the quotation window's edits, the room entry window's rooms) and whatever would
// lose it (closing the window, opening another file over it): "保存" / "不保存" / "取消".
#include <QObject>
#include <functional>

namespace decor {

// The question's three answers.
enum class CloseAnswer { Save, DontSave, Cancel };

// Asks whether to save first; the message box of the program, buttons "保存", "不保存" and "取消".
CloseAnswer askToSaveBeforeClosing();

class UnsavedWork final : public QObject {
  Q_OBJECT

 public:
  // `unsaved` says whether there is work no file holds; `saveAs` starts saving it (a file
  // dialog first) and reports the end through saveEnded, whatever became of it.
  UnsavedWork(QObject& owner, std::function<bool()> unsaved, std::function<void()> saveAs);

  // Whether the work may go now: nothing unsaved, or the user answered 不保存. After 保存 the
  // save starts and the answer is no; `afterSaving` runs once the file is written (saving takes
  // a worker, so it cannot be waited for here). 取消, a save that fails or a file dialog left
  // with 取消 lose nothing and run nothing.
  bool mayLose(std::function<void()> afterSaving);

  // The save started by the question, or any other, has ended; `written` says whether the
  // file was written.
  void saveEnded(bool written);

 private:
  std::function<bool()> unsaved_;
  std::function<void()> saveAs_;
  std::function<void()> afterSaving_;
};

}  // namespace decor
