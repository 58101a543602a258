#include "screenshots.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <cstdio>

#include "app/add_item_window.h"
#include "app/contact_window.h"
#include "app/main_window.h"
#include "app/quotation_window.h"
#include "app/result_window.h"
#include "app/room_entry_window.h"
#include "gui_test_support.h"
#include "ui/report_list.h"
#include "ui_quotation_window.h"
#include "ui_room_entry_window.h"

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

  RoomEntryWindow rooms(services, QStringLiteral("舒适型装修详细报价！"), nullptr);
  rooms.setHelpedCounterCaption(main.findChild<QLabel*>(QStringLiteral("标签17"))->text());
  appendReportRow(*rooms.form().超级列表框1, {"客厅", "3200*2800*2920", "800*1500", "实木门", "1", "4"});
  appendReportRow(*rooms.form().超级列表框1, {"卧室", "3600*3000*2800", "1500*1500", "实木免漆门", "1", "4"});
  ok &= save(rooms, directory, QStringLiteral("room_entry_window"));

  QuotationWindow quotation(services);
  appendReportRow(*quotation.form().超级列表框1, {"", "客厅", "", "", "", ""});
  appendReportRow(*quotation.form().超级列表框1, {"1", "顶面批腻子", "M2", "8.96", "13", "116"});
  ok &= save(quotation, directory, QStringLiteral("quotation_window"));

  AddItemWindow addItem;
  ok &= save(addItem, directory, QStringLiteral("add_item_window"));

  ContactWindow contact(services);
  ok &= save(contact, directory, QStringLiteral("contact_window"));

  QuickEstimateInput input;
  ResultWindow result(services, services.state->runQuickEstimate(input));
  ok &= save(result, directory, QStringLiteral("result_window"));
  result.markSent();
  return ok ? 0 : 1;
}

}  // namespace decor::test
