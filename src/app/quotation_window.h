#pragma once
// The quotation window: the itemised quotation table and its detail panel. Opened modally by
// the room entry window's package buttons. This class carries the form, the links and the
// status picture; building and editing the quotation is its QuotationController, built with
// the window.
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "app/app_services.h"
#include "app/gui_dispatcher.h"
#include "quotation_rows/quote_build.h"
#include "quotation_rows/room_list.h"

namespace Ui {
class QuotationWindow;
}

namespace decor {

class QuoteTableModel;
class QuotationController;
class QuotationFiles;

class QuotationWindow final : public QDialog {
  Q_OBJECT

 public:
  // The request is what the room entry window hands over; nothing is built until the
  // controller's start().
  QuotationWindow(AppServices services, QuoteRequest request, QWidget* parent = nullptr);
  ~QuotationWindow() override;

  // The quotation the list shows; the only copy of it.
  QuoteTableModel& model() { return *model_; }
  const QuoteTableModel& model() const { return *model_; }
  const AppServices& services() const { return services_; }
  // For workers that hand results back to this window.
  const std::shared_ptr<GuiDispatcher>& dispatcher() const { return dispatcher_; }

  QuotationController& controller() const { return *controller_; }
  // 保存报价 and 打开报价; owned by the window.
  QuotationFiles& files() const { return *files_; }

  // Opens the contact window modally (the hyperlink 报价不够详细，设计师免费帮忙).
  void openContactWindow();

  // The about text of 标签1 before a row is clicked.
  static QString aboutText(const Endpoints& endpoints);

 protected:
  // Esc does not close the window: its table holds the customer's edits and nothing else does.
  void keyPressEvent(QKeyEvent* event) override;
  // Edits not saved: asks whether to save first.
  void closeEvent(QCloseEvent* event) override;

 private:
  std::unique_ptr<Ui::QuotationWindow> ui_;
  QuoteTableModel* model_;  // a child of the window
  AppServices services_;
  std::shared_ptr<GuiDispatcher> dispatcher_;  // closes when the window goes
  std::unique_ptr<QuotationController> controller_;
  QuotationFiles* files_ = nullptr;  // a child of the window
};

}  // namespace decor
