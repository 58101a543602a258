#include "app/room_entry_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/room_list_controller.h"
#include "app/room_list_files.h"
#include "app/room_list_model.h"
#include "app/unsaved_work.h"
#include "net/helped_counter.h"
#include "quotation_rows/room_list.h"
#include "ui/artwork.h"
#include "ui/choice_box.h"
#include "ui/report_list.h"
#include "ui/typed_text_drop_down.h"
#include "ui/window_growth.h"
#include "ui_room_entry_window.h"

namespace decor {

RoomEntryWindow::RoomEntryWindow(AppServices services, const QString& caption,
                                 std::function<std::string()> currentGrade, QWidget* owner)
    : QWidget(owner, Qt::Window),
      ui_(std::make_unique<Ui::RoomEntryWindow>()),
      model_(new RoomListModel(this)),
      services_(std::move(services)),
      background_(artworkPicture(QStringLiteral(":/artwork/room_entry_background.jpg"))) {
  ui_->setupUi(this);
  new WindowGrowth(*this, *ui_->超级列表框1, GrowthAnchor::BottomBelowList);
  ui_->超级列表框1->setModel(model_);
  const RoomEntry initial = initialRoomInput();
  setChoices(*ui_->组合框2, kRoomTypes, initial.roomType);
  setChoices(*ui_->组合框4, kDoorTypeChoices, initial.doorType);
  // Every column wide enough for what the inputs offer, 10 door leaves included.
  auto items = [](const QComboBox& box) {
    QStringList texts;
    for (int i = 0; i < box.count(); ++i) texts << box.itemText(i);
    return texts;
  };
  fitReportColumns(*ui_->超级列表框1, kRoomListColumns,
                   {items(*ui_->组合框2), {ui_->编辑框5->text()}, items(*ui_->组合框3), items(*ui_->组合框4),
                    {QStringLiteral("10")}, items(*ui_->组合框5)});
  for (QComboBox* box : {ui_->组合框2, ui_->组合框3, ui_->组合框4, ui_->组合框5}) keepTypedText(*box);
  setWindowTitle(caption);
  ui_->标签17->setText(QString::fromStdString(helpedCounterDesignText(services_.endpoints.companyName)));
  controller_ = std::make_unique<RoomListController>(*ui_, services_, *model_, std::move(currentGrade));
  files_ = new RoomListFiles(*this, *controller_, *model_, services_);
  connect(ui_->saveQuotationButton, &QAbstractButton::clicked, files_->saveAction(), &QAction::trigger);
  connect(ui_->openQuotationButton, &QAbstractButton::clicked, files_->openAction(), &QAction::trigger);
}

RoomEntryWindow::~RoomEntryWindow() = default;

void RoomEntryWindow::setHelpedCounterCaption(const QString& caption) { ui_->标签17->setText(caption); }

void RoomEntryWindow::closeEvent(QCloseEvent* event) {
  if (!files_->unsavedWork().mayLose([this] { close(); })) {
    event->ignore();
    return;
  }
  QWidget::closeEvent(event);
}

// Grown, the picture stretches right of the input panel's last control and through the list.
void RoomEntryWindow::paintEvent(QPaintEvent*) { paintBackground(*this, background_, QPoint(510, 300)); }

}  // namespace decor
