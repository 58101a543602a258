#pragma once
// Keeping a quotation in a file and opening it again: "保存报价" (Ctrl+S) and "打开报价"
// (Ctrl+O) in the quotation window, and the question asked when the window closes with rows
// or edits not saved.
//
// The file is written and read on a worker thread (a slow or network drive must not freeze
// the window); the quotation it holds replaces the window's as one table operation, after
// those asked for before. A file that cannot be read, or is refused, changes nothing and is
// told in a message box.
#include <QObject>
#include <QString>
#include <memory>

#include "app/gui_dispatcher.h"
#include "app/worker_pool.h"

class QAction;
class QWidget;

namespace decor {

class QuotationController;

class QuotationFiles final : public QObject {
  Q_OBJECT

 public:
  QuotationFiles(QWidget& window, QuotationController& controller, std::shared_ptr<GuiDispatcher> dispatcher,
                 std::shared_ptr<WorkerPool> workers);

  QAction* saveAction() const { return save_; }
  QAction* openAction() const { return open_; }

  // Ask for a file name, then save or open.
  void saveAs();
  void open();
  // Save to or open `path` on a worker; saveFinished / openFinished tell the end. GUI thread.
  void save(const QString& path);
  void openFile(const QString& path);

  // The window is closing: with changes not saved, asks "保存" / "不保存" / "取消". Returns
  // whether it may close now; after 保存 it closes itself once the file is written.
  bool mayClose();

  // The name the save dialog proposes: the documents folder and "<caption>-<date>.json".
  QString proposedPath() const;

 signals:
  // GUI thread; `failure` is empty on success. The user has seen any message.
  void saveFinished(const QString& path, const QString& failure);
  void openFinished(const QString& path, const QString& failure);

 private:
  QWidget& window_;
  QuotationController& controller_;
  std::shared_ptr<GuiDispatcher> dispatcher_;
  std::shared_ptr<WorkerPool> workers_;
  QAction* save_;
  QAction* open_;
  bool closeWhenSaved_ = false;
};

// The close question's three answers.
enum class CloseAnswer { Save, DontSave, Cancel };

// Asks whether to save before closing; the message box of the program, buttons "保存",
// "不保存" and "取消".
CloseAnswer askToSaveBeforeClosing();

}  // namespace decor
