#include "app/quotation_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeyEvent>

#include "app/chat_status.h"
#include "app/contact_window.h"
#include "app/quotation_controller.h"
#include "app/quotation_files.h"
#include "app/quote_sharing.h"
#include "app/quote_table_model.h"
#include "quotation_rows/quote_table.h"
#include "ui/report_list.h"
#include "ui/window_growth.h"
#include "ui_quotation_window.h"

namespace decor {

QuotationWindow::QuotationWindow(AppServices services, QuoteRequest request, QWidget* parent)
    : QDialog(parent),
      ui_(std::make_unique<Ui::QuotationWindow>()),
      model_(new QuoteTableModel(this)),
      services_(std::move(services)),
      dispatcher_(GuiDispatcher::forWindow(*this)) {
  ui_->setupUi(this);
  new WindowGrowth(*this, *ui_->超级列表框1, GrowthAnchor::RightEdge);
  ui_->超级列表框1->setModel(model_);
  setReportColumnWidths(*ui_->超级列表框1, kQuoteColumns, kQuoteNameColumn);
  setWindowTitle(QString::fromStdString(services_.endpoints.companyName) + QStringLiteral("——用心装点每一个家"));
  ui_->标签6->setText(ui_->标签6->text() + QLatin1Char('\n') + QString::fromStdString(services_.endpoints.hotline));
  ui_->标签1->setText(aboutText(services_.endpoints));

  setUpChatStatusBox(*ui_->图片框1, services_);
  connect(ui_->超级链接框1, &HyperlinkLabel::released, this, &QuotationWindow::openContactWindow);

  loadChatStatusPicture(services_, dispatcher_, ui_->图片框1);
  controller_ = std::make_unique<QuotationController>(*this, *ui_, std::move(request));
  const QuoteSharing& sharing = controller_->sharing();
  connect(ui_->exportExcelButton, &QAbstractButton::clicked, sharing.excelAction(), &QAction::trigger);
  connect(ui_->exportPdfButton, &QAbstractButton::clicked, sharing.pdfAction(), &QAction::trigger);
  connect(ui_->printButton, &QAbstractButton::clicked, sharing.printAction(), &QAction::trigger);
  files_ = new QuotationFiles(*this, *controller_, dispatcher_, services_.workers);
  connect(ui_->saveQuotationButton, &QAbstractButton::clicked, files_->saveAction(), &QAction::trigger);
  connect(ui_->openQuotationButton, &QAbstractButton::clicked, files_->openAction(), &QAction::trigger);
}

QuotationWindow::~QuotationWindow() = default;

void QuotationWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void QuotationWindow::closeEvent(QCloseEvent* event) {
  if (!files_->mayClose()) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void QuotationWindow::openContactWindow() {
  ContactWindow contact(services_, this);
  contact.exec();
}

QString QuotationWindow::aboutText(const Endpoints& endpoints) {
  return QStringLiteral("%1\n"
                        "用心装点每一个家\n"
                        "承接：家装、旧房翻新、店面装修\n"
                        "专线：%2\n"
                        "网址：%3\n"
                        "\n"
                        "*注：单击表项出现详情\n"
                        "     由于没有设计，装修报价供参考与对比")
      .arg(QString::fromStdString(endpoints.companyName), QString::fromStdString(endpoints.hotline),
           QString::fromStdString(endpoints.website));
}

}  // namespace decor
