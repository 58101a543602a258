#pragma once
// The start window 装修报价评估工具: the flat's rooms, area and grade, the quick estimate
// and the way into the detailed quote.
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>

#include "app/app_services.h"
#include "app/gui_dispatcher.h"
#include "estimate/quick_estimate.h"

namespace Ui {
class MainWindow;
}

namespace decor {

class RoomEntryWindow;
class ResultWindow;

class MainWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(AppServices services, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The created handler: show the window, focus 估算报价, set every price to its default and
  // start the start-up worker (status picture, counter, price files) without waiting.
  void start();

  // The room entry window while it is open, else null.
  RoomEntryWindow* roomEntryWindow() const;
  // The result window while a quick-estimate result is on show, else null.
  ResultWindow* resultWindow() const;

  // The quick estimate's inputs as the controls show them.
  QuickEstimateInput estimateInput() const;

 signals:
  // The user closed the window: the program ends.
  void closed();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void startQuickEstimate();
  void showQuickEstimateResult(const std::string& resultText);
  void openRoomEntryWindow();
  void retitleRoomEntryWindow();
  void refreshHelpedCounter();
  // Worker thread: fetches the count and posts it to `window`. Not a member call: the window
  // may already be gone, and only the posted task, which then never runs, touches it.
  static void fetchHelpedCounter(MainWindow* window, UrlFetcher& fetcher, const Endpoints& endpoints,
                                 GuiDispatcher& dispatcher);
  void showHelpedCounter(const QString& caption);
  QString roomEntryCaption() const;

  std::unique_ptr<Ui::MainWindow> ui_;
  AppServices services_;
  QPixmap background_;
  QPointer<RoomEntryWindow> roomEntry_;
  QPointer<ResultWindow> result_;
  std::shared_ptr<GuiDispatcher> dispatcher_;  // closes when the window goes
};

}  // namespace decor
