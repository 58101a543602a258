#include "app/quotation_controller.h"

#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTreeView>

#include "app/add_item_window.h"
#include "app/gui_dispatcher.h"
#include "app/quotation_files.h"
#include "app/quotation_window.h"
#include "app/quote_sharing.h"
#include "app/quote_table_model.h"
#include "quotation_rows/item_description.h"
#include "ui/qt_text.h"
#include "ui/spin_text_box.h"
#include "ui_quotation_window.h"

namespace decor {

QuotationController::QuotationController(QuotationWindow& window, Ui::QuotationWindow& form, QuoteRequest request)
    : window_(window), form_(form), request_(std::move(request)) {
  QTreeView* list = &quoteList();
  // A left press on a row and a change of the selected row (keyboard) both show the row. Not
  // the current row as such: the list makes its first row current on its own when it gets
  // the focus with rows in it, and that is nothing the user did.
  // Only a left press reaches the list: the row 修改 and 删除此项 act on stays the row the panel shows.
  list->viewport()->installEventFilter(this);
  connect(list, &QAbstractItemView::pressed, this, &QuotationController::showRowDetails);
  connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, list] {
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    if (!selected.isEmpty()) showRowDetails(selected.front());
  });
  QAbstractButton* modifyButton = form_.按钮3;
  QAbstractButton* deleteButton = form_.按钮1;
  QAbstractButton* addItemButton = form_.按钮2;
  connect(modifyButton, &QAbstractButton::clicked, this, &QuotationController::modifySelectedRow);
  connect(deleteButton, &QAbstractButton::clicked, this, &QuotationController::deleteSelectedRow);
  connect(addItemButton, &QAbstractButton::clicked, this, &QuotationController::openAddItemWindow);
  // Enter in a box of the panel is 修改.
  for (QLineEdit* box : {form_.编辑框1, form_.编辑框2, form_.编辑框4}) {
    connect(box, &QLineEdit::returnPressed, this, &QuotationController::modifySelectedRow);
  }
  connect(form_.编辑框3, &SpinTextBox::returnPressed, this, &QuotationController::modifySelectedRow);

  // Exports and prints see the table once the operations asked for before them have ended.
  sharing_ = new QuoteSharing(window_, *list, std::string(quoteCaption(request_.scope)),
                              CompanyContact::from(window_.services().endpoints), window_.dispatcher(),
                              window_.services().workers, [this](std::function<void(const QuotationSession&)> use) {
                                enqueueTableOperation([this, use = std::move(use)](OperationQueue::Done done) {
                                  use(session());
                                  done();
                                });
                              });
}

QTreeView& QuotationController::quoteList() const { return *form_.超级列表框1; }

const QuoteTable& QuotationController::table() const { return window_.model().table(); }

QuotationSession QuotationController::session() const { return QuotationSession(request_, table()); }

KeptQuotation QuotationController::keptQuotation() const { return KeptQuotation(session(), edits_); }

void QuotationController::replaceQuotation(KeptQuotation quotation) {
  enqueueTableOperation([this, quotation = std::move(quotation)](OperationQueue::Done done) mutable {
    request_ = quotation.session().request();
    edits_ = quotation.edits();
    window_.setWindowTitle(qt(quoteCaption(request_.scope)));
    clearDetailPanel();
    quoteList().selectionModel()->clearSelection();
    window_.model().replaceTable(quotation.session().table());
    savedChanges_ = ++changes_;
    done();
    emit commandFinished();
  });
}

namespace {
// The edit as a file keeps it: the row from 1, 0 for none.
std::size_t fileRow(std::optional<std::size_t> row) { return row ? *row + 1 : 0; }
}  // namespace

void QuotationController::start() {
  // The caption also marks the window's package for the user.
  window_.setWindowTitle(qt(quoteCaption(request_.scope)));
  building_ = true;
  enqueueTableOperation([this](OperationQueue::Done done) { startBuild(std::move(done)); });
}

void QuotationController::enqueueTableOperation(OperationQueue::Operation operation) {
  operations_.enqueue(std::move(operation));
}

void QuotationController::startBuild(OperationQueue::Done done) {
  // The worker builds into a session of its own (the build reads back what it wrote) and
  // hands a copy of every row to the GUI thread. It touches no widget and nothing of this
  // controller: `this` is only used by the posted tasks, which run on the GUI thread and
  // only while the window lives.
  window_.services().workers->run([state = window_.services().state, dispatcher = window_.dispatcher(),
                                   work = QuotationSession(request_), done = std::move(done), this]() mutable {
    // A room the build cannot read is refused before it is opened (the room entry window
    // checks first); a refused build simply leaves the table empty.
    work.build(state->prices.itemPrices(), [&dispatcher, this](std::size_t, const QuoteItem& row) {
      dispatcher->post([this, row] { window_.model().appendRow(row); });
    });
    dispatcher->post([this, done] {
      building_ = false;
      done();
      emit buildFinished();
    });
  });
}

void QuotationController::runOnWorker(std::function<void(QuotationSession&)> command, OperationQueue::Done done) {
  window_.services().workers->run([dispatcher = window_.dispatcher(), copy = session(), command = std::move(command),
                                   done = std::move(done), this]() mutable {
    command(copy);
    dispatcher->post([this, result = std::move(copy).takeTable(), done]() mutable {
      window_.model().replaceTable(std::move(result));
      done();
      emit commandFinished();
    });
  });
}

std::optional<std::size_t> QuotationController::selectedRow() const {
  const QModelIndexList selected = quoteList().selectionModel()->selectedRows();
  if (selected.isEmpty()) return std::nullopt;
  return static_cast<std::size_t>(selected.front().row());
}

void QuotationController::modifySelectedRow() {
  // The panel and the selection as they are when the user presses 修改.
  ItemEdit edit{.name = form_.编辑框1->text().toStdString(),
                .unit = form_.编辑框2->text().toStdString(),
                .quantity = form_.编辑框3->editText().toStdString(),
                .unitPrice = form_.编辑框4->text().toStdString()};
  const std::optional<std::size_t> row = selectedRow();
  enqueueTableOperation([this, edit = std::move(edit), row](OperationQueue::Done done) {
    edits_.push_back(QuotationEdit{.op = QuotationEdit::Op::Modify, .row = fileRow(row), .item = edit, .added = {}});
    ++changes_;
    window_.model().apply([&](QuoteTable& table) {
      QuotationSession work(request_, std::move(table));
      work.modify(row, edit);
      table = std::move(work).takeTable();
    });
    QTreeView* list = &quoteList();
    if (row && *row < table().size()) {
      const QModelIndex index = window_.model().index(static_cast<int>(*row), 0);
      list->selectionModel()->setCurrentIndex(index,
                                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
      list->scrollTo(index);
    }
    list->setFocus();
    done();
    emit commandFinished();
  });
}

void QuotationController::deleteSelectedRow() {
  const std::optional<std::size_t> row = selectedRow();
  enqueueTableOperation([this, row](OperationQueue::Done done) {
    edits_.push_back(QuotationEdit{.op = QuotationEdit::Op::Delete, .row = fileRow(row), .item = {}, .added = {}});
    ++changes_;
    // The row the panel showed is gone: a later 修改 must find nothing to write.
    runOnWorker([row](QuotationSession& work) { work.remove(row); },
                [this, done = std::move(done)] {
                  clearDetailPanel();
                  done();
                });
  });
}

void QuotationController::clearDetailPanel() {
  form_.编辑框1->clear();
  form_.编辑框2->clear();
  form_.编辑框3->setEditText(QString());
  form_.编辑框4->clear();
}

void QuotationController::addItem(AddedItem item) {
  enqueueTableOperation([this, item = std::move(item)](OperationQueue::Done done) {
    edits_.push_back(QuotationEdit{.op = QuotationEdit::Op::Add, .row = 0, .item = {}, .added = item});
    ++changes_;
    runOnWorker([item](QuotationSession& work) { work.add(item); }, std::move(done));
  });
}

void QuotationController::connectAddItemWindow(AddItemWindow& dialog) {
  connect(&dialog, &AddItemWindow::itemConfirmed, this, [this](const AddedItem& item) { addItem(item); });
}

void QuotationController::openAddItemWindow() {
  AddItemWindow dialog(&window_);
  connectAddItemWindow(dialog);
  dialog.exec();
}

bool QuotationController::eventFilter(QObject* watched, QEvent* event) {
  // A right or middle press would select a row the panel does not show. The context menu
  // comes with an event of its own.
  if (watched == quoteList().viewport() &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) &&
      static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void QuotationController::showRowDetails(const QModelIndex& index) {
  if (!index.isValid() || static_cast<std::size_t>(index.row()) >= table().size()) return;
  const DetailPanel panel = detailPanelFor(table()[static_cast<std::size_t>(index.row())]);
  form_.编辑框1->setText(qt(panel.name));
  form_.编辑框2->setText(qt(panel.unit));
  form_.编辑框3->setEditText(qt(panel.quantity));
  form_.编辑框4->setText(qt(panel.unitPrice));
  form_.标签1->setText(qt(descriptionLabelAfterClick(panel.name, form_.标签1->text().toStdString())));
}

void showQuotationWindow(const AppServices& services, QuoteRequest request,
                         std::function<void(const QuoteRequest&)> kept) {
  QuotationWindow window(services, std::move(request));
  if (kept) QObject::connect(&window.files(), &QuotationFiles::requestKept, &window, std::move(kept));
  window.controller().start();
  window.exec();
}

}  // namespace decor
