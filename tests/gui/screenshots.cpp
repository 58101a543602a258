
#include "app/add_item_window.h"
#include "app/contact_window.h"
#include "app/main_window.h"
#include "app/quotation_controller.h"
#include "app/quotation_window.h"
#include "app/result_window.h"
#include "app/room_entry_window.h"
#include "app/room_list_controller.h"
#include "gui_test_support.h"
#include "quote_test_support.h"
#include "screenshots.h"
#include "ui/picture_button.h"
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QAbstractItemView>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <cstdio>

namespace decor::test {

namespace {

bool save(QWidget& window, const QDir& directory, const QString& name) {
  window.show();
  QTest::qWait(150);
  const QString path = directory.filePath(name + QStringLiteral(".png"));
  const bool saved = window.grab().save(path);
  std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
  return saved;
}

}  // namespace

int saveScreenshots(const QString& directoryPath) {
  const QDir directory(directoryPath);
  QDir().mkpath(directoryPath);
  auto fetcher = std::make_shared<ScriptedFetcher>();
  AppServices services = testServices(fetcher);
  fetcher->answer(services.endpoints.counterUrl(), "12876");
  fetcher->answer(services.endpoints.chatStatusPictureUrl(), statusPictureBytes());
  bool ok = true;

  MainWindow main(services);
  main.start();
  waitUntil([&] { return fetcher->finishedCount() >= 5; });
  ok &= save(main, directory, QStringLiteral("main_window"));

  // Rooms added through the inputs and 添加, as a user would.
  RoomEntryWindow rooms(
      services, QStringLiteral("舒适型装修详细报价！"), [] { return std::string("舒适型装修"); }, nullptr);
  rooms.setHelpedCounterCaption(main.findChild<QLabel*>(QStringLiteral("标签17"))->text());
  QTest::mouseClick(control<PictureButton>(rooms, "按钮4"), Qt::LeftButton);
  control<QComboBox>(rooms, "组合框2")->setCurrentText(QStringLiteral("卧室"));
  control<QLineEdit>(rooms, "编辑框5")->setText(QStringLiteral("3600*3000*2800"));
  control<QComboBox>(rooms, "组合框3")->setCurrentText(QStringLiteral("1500*1500"));
  control<QComboBox>(rooms, "组合框4")->setCurrentText(QStringLiteral("实木免漆门"));
  QTest::mouseClick(control<PictureButton>(rooms, "按钮4"), Qt::LeftButton);
  QTreeView& roomList = *control<QTreeView>(rooms, "超级列表框1");
  rooms.show();
  // The middle of the whole second row, where a user clicks it.
  const QAbstractItemModel& roomRows = *roomList.model();
  const QRect secondRow =
      roomList.visualRect(roomRows.index(1, 0)) | roomList.visualRect(roomRows.index(1, roomRows.columnCount() - 1));
  QTest::mouseClick(roomList.viewport(), Qt::LeftButton, {}, secondRow.center());
  ok &= save(rooms, directory, QStringLiteral("room_entry_window"));
  // One long entry (full-width digits) is cut short; every column stays in the list.
  control<QLineEdit>(rooms, "编辑框5")->setText(QStringLiteral("３２００*２８００*２９２０"));
  QTest::mouseClick(control<PictureButton>(rooms, "按钮4"), Qt::LeftButton);
  ok &= save(rooms, directory, QStringLiteral("room_entry_window_long_entry"));

  // The half-package quotation of the 客厅 example, built by its controller; then a row clicked.
  QuotationWindow quotation(services, QuoteRequest{.rooms = {RoomEntry{"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"}},
                                                 .grade = "舒适型装修"});
  QuotationController& quote = quotation.controller();
  quote.start();
  waitUntil([&] { return !quote.building(); });
  ok &= save(quotation, directory, QStringLiteral("quotation_window"));
  clickRow(*control<QTreeView>(quotation, "超级列表框1"), 3);
  ok &= save(quotation, directory, QStringLiteral("quotation_window_row"));
  // Grown to what a 1280×900 screen gives a maximised window.
  quotation.resize(1280, 900);
  ok &= save(quotation, directory, QStringLiteral("quotation_window_maximised"));
  rooms.resize(1000, 760);
  ok &= save(rooms, directory, QStringLiteral("room_entry_window_grown"));

  AddItemWindow addItem;
  ok &= save(addItem, directory, QStringLiteral("add_item_window"));
  QComboBox& itemNames = *control<QComboBox>(addItem, "组合框1");
  itemNames.showPopup();
  QTest::qWait(150);
  {
    const QString path = directory.filePath(QStringLiteral("add_item_list.png"));
    // The open list with the window behind it, as the screen shows them.
    QPixmap shot = addItem.grab();
    QPixmap screen(std::max(addItem.width(), itemNames.view()->window()->geometry().right() - addItem.geometry().x() + 1),
                   itemNames.view()->window()->geometry().bottom() - addItem.geometry().y() + 1);
    screen.fill(Qt::white);
    QPainter painter(&screen);
    painter.drawPixmap(0, 0, shot);
    painter.drawPixmap(itemNames.view()->window()->geometry().topLeft() - addItem.geometry().topLeft(),
                       itemNames.view()->window()->grab());
    painter.end();
    const bool saved = screen.save(path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    ok &= saved;
  }
  itemNames.hidePopup();

  ContactWindow contact(services);
  ok &= save(contact, directory, QStringLiteral("contact_window"));
  AppServices longHotline = services;
  longHotline.endpoints.hotline = "0571-8888 6666-80012";
  ContactWindow contactLong(longHotline);
  ok &= save(contactLong, directory, QStringLiteral("contact_window_long_hotline"));

  // Without a chat picture: the same placeholder in every window.
  AppServices offline = testServices(std::make_shared<OfflineUrlFetcher>());
  MainWindow mainOffline(offline);
  mainOffline.start();
  QuotationWindow quotationOffline(offline, QuoteRequest{.rooms = {RoomEntry{"客厅", "3200*2800*2920", "800*1500",
                                                                             "实木门", "1", "4"}},
                                                         .grade = "舒适型装修"});
  ContactWindow contactOffline(offline);
  quotationOffline.controller().start();
  waitUntil([&] { return !quotationOffline.controller().building(); });
  ok &= save(mainOffline, directory, QStringLiteral("main_window_no_chat_picture"));
  ok &= save(quotationOffline, directory, QStringLiteral("quotation_window_no_chat_picture"));
  ok &= save(contactOffline, directory, QStringLiteral("contact_window_no_chat_picture"));

  QuickEstimateInput input;
  ResultWindow result(services, services.state->runQuickEstimate(input));
  ok &= save(result, directory, QStringLiteral("result_window"));
  result.markSent();
  return ok ? 0 : 1;
}

}  // namespace decor::test
