#include "app/add_item_window.h"

#include <span>
#include <string_view>

#include "ui/choice_box.h"
#include "ui/qt_text.h"
#include "ui/typed_text_drop_down.h"
#include "ui_add_item_window.h"

namespace decor {

namespace {

// The three boxes open with a text but no item selected ("98" is not even an item).
void offer(QComboBox& box, std::span<const std::string_view> choices, std::string_view text) {
  for (std::string_view choice : choices) box.addItem(qt(choice));
  box.setCurrentIndex(-1);
  box.setEditText(qt(text));
}

}  // namespace

AddItemWindow::AddItemWindow(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AddItemWindow>()) {
  ui_->setupUi(this);
  setFixedSize(size());
  QComboBox* nameBox = ui_->组合框1;
  QComboBox* quantityBox = ui_->组合框2;
  QComboBox* priceBox = ui_->组合框3;
  QAbstractButton* confirmButton = ui_->按钮1;
  QAbstractButton* cancelButton = ui_->按钮2;
  for (QComboBox* box : {nameBox, quantityBox, priceBox}) keepTypedText(*box);
  offer(*nameBox, kAddItemNameChoices, kAddItemInitialName);
  offer(*quantityBox, kAddItemQuantityChoices, kAddItemInitialQuantity);
  offer(*priceBox, kAddItemPriceChoices, kAddItemInitialPrice);
  widenListToChoices(*nameBox);
  // Picked from the list only: typing a name leaves the price as it is.
  connect(nameBox, &QComboBox::textActivated, this, [priceBox](const QString& name) {
    if (const auto price = addItemDefaultPrice(name.toStdString())) {
      priceBox->setEditText(qt(*price));
    }
  });
  connect(confirmButton, &QAbstractButton::clicked, this, [this, nameBox, quantityBox, priceBox] {
    emit itemConfirmed(AddedItem{.name = nameBox->currentText().toStdString(),
                                 .quantity = quantityBox->currentText().toStdString(),
                                 .unitPrice = priceBox->currentText().toStdString()});
    accept();
  });
  connect(cancelButton, &QAbstractButton::clicked, this, &QDialog::reject);
}

AddItemWindow::~AddItemWindow() = default;

}  // namespace decor
