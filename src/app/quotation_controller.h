#pragma once
// The quotation behind the quotation window: its created handler (caption, then the quote
// build on a worker thread), the row click that fills the detail panel and the description
// label, and the commands 修改, 删除此项 and 添加项.
//
// The window's QuoteTableModel holds the one copy of the quotation. Every change to it is a
// table operation: they run one at a time, in the order the user asked for them, the build
// first. A worker computes on a copy and hands the result back through the window's
// dispatcher, so a result that arrives after the window has gone is dropped.
#include <QObject>
#include <optional>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "app/operation_queue.h"
#include "quote/quote_build.h"
#include "quote/quote_commands.h"
#include "quote/quote_table.h"
#include "quote/room_list.h"

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
  // Built by the quotation window with its form, which outlive it. The rooms, grade and floor
  // are what the room entry window hands over; the package comes from the shared package scope.
  QuotationController(QuotationWindow& window, Ui::QuotationWindow& form, std::vector<RoomEntry> rooms,
                      std::string grade, FloorChoice floor);

  // The created handler: reads the package scope, sets the caption and starts the build on a
  // worker thread. Returns at once; rows reach the list as the worker produces them. With a
  // scope that is neither package, the window keeps its design caption and stays empty.
  void start();

  bool building() const { return building_; }
  const QuoteTable& table() const;
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
  void startBuild(QuoteRequest request, OperationQueue::Done done);
  // A command computed on a worker from a copy of the table, the result swapped in.
  void runOnWorker(std::function<void(QuoteTable&)> command, OperationQueue::Done done);
  QTreeView& quoteList() const;
  std::optional<std::size_t> selectedRow() const;
  // The package the caption names, read afresh by every command.
  std::optional<PackageScope> captionMode() const;
  void showRowDetails(const QModelIndex& index);
  void clearDetailPanel();

  QuotationWindow& window_;
  Ui::QuotationWindow& form_;
  std::vector<RoomEntry> rooms_;
  std::string grade_;
  FloorChoice floor_;
  OperationQueue operations_;
  bool building_ = false;
  QuoteSharing* sharing_ = nullptr;
};

// Opens a quotation window as a modal dialog without owner, builds the quote in it and
// returns when the user has closed it.
void showQuotationWindow(const AppServices& services, std::vector<RoomEntry> rooms, std::string grade,
                         FloorChoice floor);

}  // namespace decor
