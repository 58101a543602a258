#include "app/add_item_window.h"

#include "ui/typed_text_drop_down.h"
#include "ui_add_item_window.h"

namespace decor {

namespace {

// The three boxes open with a text but no item selected ("98" is not even an item).
void keepTextWithoutSelection(QComboBox& box) {
  const QString text = box.currentText();
  box.setCurrentIndex(-1);
  box.setEditText(text);
}

}  // namespace

AddItemWindow::AddItemWindow(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AddItemWindow>()) {
  ui_->setupUi(this);
  setFixedSize(size());
  for (QComboBox* box : {ui_->组合框1, ui_->组合框2, ui_->组合框3}) {
    keepTypedText(*box);
    keepTextWithoutSelection(*box);
  }
  // Picked from the list only: typing a name leaves the price as it is.
  connect(ui_->组合框1, &QComboBox::textActivated, this, [this](const QString& name) {
    if (const auto price = addItemDefaultPrice(name.toStdString())) {
      ui_->组合框3->setEditText(QString::fromUtf8(price->data(), qsizetype(price->size())));
    }
  });
  connect(ui_->按钮1, &QPushButton::clicked, this, [this] {
    emit itemConfirmed(AddedItem{.name = ui_->组合框1->currentText().toStdString(),
                                 .quantity = ui_->组合框2->currentText().toStdString(),
                                 .unitPrice = ui_->组合框3->currentText().toStdString()});
    accept();
  });
  connect(ui_->按钮2, &QPushButton::clicked, this, &QDialog::reject);
}

AddItemWindow::~AddItemWindow() = default;

void AddItemWindow::setController(std::unique_ptr<QObject> controller) { controller_ = std::move(controller); }

}  // namespace decor
