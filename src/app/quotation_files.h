#pragma once
// Keeping a quotation in a file and opening it again: "保存报价" (Ctrl+S) and "打开报价"
// (Ctrl+O) in the quotation window, and the question asked when the window closes, or another
// file is opened, with rows or edits not saved.
//
// The file is written and read on a worker thread (a slow or network drive must not freeze
// the window); the quotation it holds replaces the window's as one table operation, after
// those asked for before. A file that cannot be read, or is refused, changes nothing and is
// told in a message box.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "app/gui_dispatcher.h"
#include "app/worker_pool.h"
#include "quotation/quotation_file.h"

class QAction;
class QWidget;

namespace decor {

class QuotationController;
class UnsavedWork;

// What the quotation window and the room entry window share about files. GUI thread unless said.
// The save dialog: a name for a new file, proposed `proposed`, with the file suffix; empty
// when the user gave none.
QString askSavePath(QWidget& parent, const QString& proposed);
// The open dialog, starting at `proposed`'s folder; empty when the user chose no file.
QString askOpenPath(QWidget& parent, const QString& proposed);
// The documents folder and "<caption>-<date>.json".
QString proposedQuotationPath(const QString& caption);
// Any thread. Reads and checks the file; the error says why it was refused (unreadable, too
// large, damaged, newer).
QuotationFileReading readQuotationFileAt(const QString& path);
// Reads `path` on a worker. Back on the GUI thread, `opened` gets the file; a file that cannot
// be read or is refused is told in a message box naming it, and `refused` gets that message.
void readQuotationFileLater(WorkerPool& workers, std::shared_ptr<GuiDispatcher> dispatcher, const QString& path,
                            std::function<void(QuotationFile)> opened,
                            std::function<void(const QString& message)> refused);
// 保存报价… (Ctrl+S) and 打开报价… (Ctrl+O), added to `window` so that their keys work anywhere in it.
struct QuotationFileActions {
  QAction* save;
  QAction* open;
};
QuotationFileActions addQuotationFileActions(QWidget& window);

class QuotationFiles final : public QObject {
  Q_OBJECT

 public:
  QuotationFiles(QWidget& window, QuotationController& controller, std::shared_ptr<GuiDispatcher> dispatcher,
                 std::shared_ptr<WorkerPool> workers);

  QAction* saveAction() const { return actions_.save; }
  QAction* openAction() const { return actions_.open; }

  // Ask for a file name, then save or open. Opening over edits not saved asks first.
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
  // A file now holds the request: it was saved, or opened. Whoever handed the rooms over
  // learns that they are kept.
  void requestKept(const decor::QuoteRequest& request);

 private:
  QWidget& window_;
  QuotationController& controller_;
  std::shared_ptr<GuiDispatcher> dispatcher_;
  std::shared_ptr<WorkerPool> workers_;
  QuotationFileActions actions_;  // children of the window
  UnsavedWork* unsaved_;  // a child of this
};

}  // namespace decor
