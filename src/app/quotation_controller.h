#pragma once
// The quotation behind the quotation window: its created handler (caption, then the quote
// build on a worker thread) and the row click that fills the detail panel and the
// description label.
//
// The controller holds the table the list view shows (a QuoteTable mirror, one row per list
// row): every change to the table goes through here, one operation at a time.
#include <QObject>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "app/operation_queue.h"
#include "quote/quote_build.h"
#include "quote/quote_table.h"
#include "quote/room_list.h"

class QTreeWidgetItem;

namespace decor {

class QuotationWindow;
class QuoteSharing;

class QuotationController final : public QObject {
  Q_OBJECT

 public:
  // What the room entry window hands over; the package comes from the shared package scope.
  QuotationController(QuotationWindow& window, std::vector<RoomEntry> rooms, std::string grade, FloorChoice floor);

  // Creates a controller and gives it to the window.
  static QuotationController& attach(QuotationWindow& window, std::vector<RoomEntry> rooms, std::string grade,
                                     FloorChoice floor);

  // The created handler: reads the package scope, sets the caption and starts the build on a
  // worker thread. Returns at once; rows reach the list as the worker produces them. With a
  // scope that is neither package, the window keeps its design caption and stays empty.
  void start();

  bool building() const { return building_; }
  const QuoteTable& table() const { return table_; }
  // Export and print; owned by the window.
  QuoteSharing& sharing() const { return *sharing_; }

  // Changes to the table run one after the other, in the order asked for; the build is the
  // first of them. GUI thread.
  void enqueueTableOperation(OperationQueue::Operation operation);

 signals:
  void buildFinished();

 private:
  void startBuild(QuoteRequest request, OperationQueue::Done done);
  void appendRow(const QuoteItem& row);
  void showRowDetails(QTreeWidgetItem* item);

  QuotationWindow& window_;
  std::vector<RoomEntry> rooms_;
  std::string grade_;
  FloorChoice floor_;
  QuoteTable table_;
  OperationQueue operations_;
  bool building_ = false;
  QuoteSharing* sharing_ = nullptr;
};

// Opens a quotation window as a modal dialog without owner, builds the quote in it and
// returns when the user has closed it.
void showQuotationWindow(const AppServices& services, std::vector<RoomEntry> rooms, std::string grade,
                         FloorChoice floor);

}  // namespace decor
