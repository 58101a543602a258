#pragma once
// The quotation behind the quotation window: its created handler (caption, then the quote
// build on a worker thread), the row click that fills the detail panel and the description
// label, and the commands 修改, 删除此项 and 添加项.
//
// The rules are the quotation session's; this class only feeds it the window's input and
// shows its table. The window's QuoteTableModel holds the one copy of the table. Every change
// to it is a table operation: they run one at a time, in the order the user asked for them, the build
// first. A worker computes on a copy and hands the result back through the window's
// dispatcher, so a result that arrives after the window has gone is dropped.
#include <QObject>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "app/operation_queue.h"
#include "quotation/quotation_file.h"
#include "quotation/quotation_session.h"
#include "quotation_rows/quote_build.h"
#include "quotation_rows/quote_commands.h"
#include "quotation_rows/quote_table.h"

class QModelIndex;
class QTreeView;

namespace Ui {
class QuotationWindow;
}

namespace decor {

class QuotationWindow;
class AddItemWindow;
class QuoteSharing;

class QuotationController final : public QObject {
  Q_OBJECT

 public:
  // Built by the quotation window with its form, which outlive it. The request is what the
  // room entry window hands over: its rooms, grade and floor, and the package button pressed.
  QuotationController(QuotationWindow& window, Ui::QuotationWindow& form, QuoteRequest request);

  // The created handler: sets the caption from the package and starts the build on a worker
  // thread. Returns at once; rows reach the list as the worker produces them.
  void start();

  bool building() const { return building_; }
  const QuoteTable& table() const;
  // The request with the table as it stands now.
  QuotationSession session() const;
  // The same with the edits that made the table what it is: what a quotation file keeps.
  KeptQuotation keptQuotation() const;
  // Shows an opened quotation instead of the one there was: its request, rows and edits.
  // A table operation of its own, after those asked for before.
  void replaceQuotation(KeptQuotation quotation);
  // Whether edits have changed the rows since they were built, opened or last saved. A fresh
  // build loses nothing on closing: its rooms are still in the room entry window. A save
  // records the count of changes it wrote, so that a command run while the file was being
  // written still counts as unsaved.
  bool unsaved() const { return changes_ != savedChanges_; }
  std::uint64_t changeCount() const { return changes_; }
  void markSaved(std::uint64_t changes) { savedChanges_ = changes; }
  // No table operation running or waiting.
  bool idle() const { return operations_.idle(); }
  // Export and print; owned by the window.
  QuoteSharing& sharing() const { return *sharing_; }

  // Changes to the table run one after the other, in the order asked for; the build is the
  // first of them. GUI thread.
  void enqueueTableOperation(OperationQueue::Operation operation);

  // 修改: the detail panel into the selected row, on this thread once its turn comes.
  void modifySelectedRow();
  // 删除此项: deletes the selected row on a worker thread.
  void deleteSelectedRow();
  // 添加项: opens the add-item window modally; its 确定添加 calls addItem.
  void openAddItemWindow();
  // Adds the item on a worker thread once its turn comes.
  void addItem(AddedItem item);

  // The add-item window's 确定添加 asks the controller to add and closes the dialog.
  void connectAddItemWindow(AddItemWindow& dialog);

 signals:
  void buildFinished();
  // After each 修改, 删除此项 or 添加项 has changed the table.
  void commandFinished();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void startBuild(OperationQueue::Done done);
  // A command computed on a worker from a copy of the session, its table swapped in.
  void runOnWorker(std::function<void(QuotationSession&)> command, OperationQueue::Done done);
  QTreeView& quoteList() const;
  std::optional<std::size_t> selectedRow() const;
  void showRowDetails(const QModelIndex& index);
  void clearDetailPanel();

  QuotationWindow& window_;
  Ui::QuotationWindow& form_;
  QuoteRequest request_;
  OperationQueue operations_;
  bool building_ = false;
  std::vector<QuotationEdit> edits_;  // since the build, in the order they ran
  std::uint64_t changes_ = 0;
  std::uint64_t savedChanges_ = 0;
  QuoteSharing* sharing_ = nullptr;
};

// Opens a quotation window as a modal dialog without owner, builds the quotation in it and
// returns when the user has closed it. `kept` hears of every file the window saves or opens,
// with the request that file holds.
void showQuotationWindow(const AppServices& services, QuoteRequest request,
                         std::function<void(const QuoteRequest&)> kept = {});

}  // namespace decor
