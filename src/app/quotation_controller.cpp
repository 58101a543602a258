#include "app/quotation_controller.h"

#include <QTreeWidget>
#include <optional>

#include "app/gui_dispatcher.h"
#include "app/quotation_window.h"
#include "app/quote_sharing.h"
#include "quote/item_description.h"
#include "ui/report_list.h"
#include "ui/spin_text_box.h"
#include "ui_quotation_window.h"

namespace decor {

namespace {

QString qt(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QStringList cellsOf(const QuoteItem& row) {
  return {qt(row.number), qt(row.name), qt(row.unit), qt(row.quantity), qt(row.unitPrice), qt(row.total)};
}

}  // namespace

QuotationController::QuotationController(QuotationWindow& window, std::vector<RoomEntry> rooms, std::string grade,
                                         FloorChoice floor)
    : window_(window), rooms_(std::move(rooms)), grade_(std::move(grade)), floor_(floor) {
  QTreeWidget* list = window_.form().超级列表框1;
  // A press on a row and a change of the selected row (keyboard) both show the row. Not the
  // current item as such: the list makes its first row current on its own when it gets the
  // focus with rows in it, and that is nothing the user did.
  connect(list, &QTreeWidget::itemPressed, this, [this](QTreeWidgetItem* item) { showRowDetails(item); });
  connect(list, &QTreeWidget::itemSelectionChanged, this, [this, list] {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (!selected.isEmpty()) showRowDetails(selected.front());
  });

  // Exports and prints see the table once the operations asked for before them have ended.
  sharing_ = new QuoteSharing(window_, *list, CompanyContact::from(window_.services().endpoints), window_.dispatcher(),
                              [this](std::function<void(const std::vector<QuoteItem>&)> use) {
                                enqueueTableOperation([this, use = std::move(use)](OperationQueue::Done done) {
                                  use(table_.rows());
                                  done();
                                });
                              });
}

QuotationController& QuotationController::attach(QuotationWindow& window, std::vector<RoomEntry> rooms,
                                                 std::string grade, FloorChoice floor) {
  auto controller = std::make_unique<QuotationController>(window, std::move(rooms), std::move(grade), floor);
  QuotationController& attached = *controller;
  window.setController(std::move(controller));
  return attached;
}

void QuotationController::start() {
  const std::optional<PackageScope> scope = packageScopeFromText(window_.services().state->packageScope());
  if (!scope) return;
  window_.setWindowTitle(qt(quoteCaption(*scope)));
  QuoteRequest request{.rooms = rooms_, .grade = grade_, .scope = *scope, .floor = floor_};
  building_ = true;
  enqueueTableOperation([this, request = std::move(request)](OperationQueue::Done done) mutable {
    startBuild(std::move(request), std::move(done));
  });
}

void QuotationController::enqueueTableOperation(OperationQueue::Operation operation) {
  operations_.enqueue(std::move(operation));
}

void QuotationController::startBuild(QuoteRequest request, OperationQueue::Done done) {
  // The worker builds into a table of its own (the build reads back what it wrote) and
  // hands a copy of every row to the GUI thread. It touches no widget and nothing of this
  // controller: `this` is only used by the posted tasks, which run on the GUI thread and
  // only while the window lives.
  startWorker([state = window_.services().state, dispatcher = window_.dispatcher(), request = std::move(request),
               done = std::move(done), this] {
    QuoteTable built;
    built.setRowListener(
        [&dispatcher, this](std::size_t, const QuoteItem& row) { dispatcher->post([this, row] { appendRow(row); }); });
    // A room the build cannot read is refused before it is opened (the room entry window
    // checks first); a refused build simply leaves the table empty.
    buildQuote(request, state->prices.itemPrices(), built);
    dispatcher->post([this, done] {
      building_ = false;
      done();
      emit buildFinished();
    });
  });
}

void QuotationController::appendRow(const QuoteItem& row) {
  table_.appendRow(row);
  appendReportRow(*window_.form().超级列表框1, cellsOf(row));
}

void QuotationController::showRowDetails(QTreeWidgetItem* item) {
  if (item == nullptr) return;
  const int index = window_.form().超级列表框1->indexOfTopLevelItem(item);
  if (index < 0 || static_cast<std::size_t>(index) >= table_.size()) return;
  const DetailPanel panel = detailPanelFor(table_[static_cast<std::size_t>(index)]);
  Ui::QuotationWindow& form = window_.form();
  form.编辑框1->setText(qt(panel.name));
  form.编辑框2->setText(qt(panel.unit));
  form.编辑框3->setEditText(qt(panel.quantity));
  form.编辑框4->setText(qt(panel.unitPrice));
  form.标签1->setText(qt(descriptionLabelAfterClick(panel.name, form.标签1->text().toStdString())));
}

void showQuotationWindow(const AppServices& services, std::vector<RoomEntry> rooms, std::string grade,
                         FloorChoice floor) {
  QuotationWindow window(services);
  QuotationController::attach(window, std::move(rooms), std::move(grade), floor).start();
  window.exec();
}

}  // namespace decor
