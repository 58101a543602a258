#include "app/quote_sharing.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStandardPaths>

#include "app/message_box.h"
#include "export_pdf/quote_file.h"
#include "export_pdf/quote_pages.h"
#include "ui/qt_text.h"

namespace decor {

QuoteSharing::QuoteSharing(QWidget& window, QAbstractItemView& table, std::string caption, CompanyContact company,
                           std::shared_ptr<GuiDispatcher> dispatcher, std::shared_ptr<WorkerPool> workers,
                           SessionSnapshot session)
    : QObject(&window),
      window_(window),
      table_(table),
      caption_(std::move(caption)),
      company_(std::move(company)),
      dispatcher_(std::move(dispatcher)),
      workers_(std::move(workers)),
      session_(std::move(session)),
      excel_(new QAction(QStringLiteral("导出为 Excel…"), &window)),
      pdf_(new QAction(QStringLiteral("导出为 PDF…"), &window)),
      print_(new QAction(QStringLiteral("打印…"), &window)) {
  excel_->setObjectName(QStringLiteral("exportExcelAction"));
  pdf_->setObjectName(QStringLiteral("exportPdfAction"));
  print_->setObjectName(QStringLiteral("printAction"));
  // Ctrl+S saves the quotation file (QuotationFiles), so the workbook takes Ctrl+E.
  excel_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  print_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  // Added to the window so that the shortcuts work wherever the focus is in it.
  window.addActions({excel_, pdf_, print_});
  connect(excel_, &QAction::triggered, this, [this] { exportAs(Format::Excel); });
  connect(pdf_, &QAction::triggered, this, [this] { exportAs(Format::Pdf); });
  connect(print_, &QAction::triggered, this, &QuoteSharing::print);

  table.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&table, &QWidget::customContextMenuRequested, this, &QuoteSharing::showContextMenu);
}

QuoteSharing::~QuoteSharing() = default;

void QuoteSharing::showContextMenu(const QPoint& position) {
  // Not modal: the menu goes with its own close and never holds up the window's queue.
  auto* menu = new QMenu(&table_);
  menu->setObjectName(QStringLiteral("quoteContextMenu"));
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addAction(excel_);
  menu->addAction(pdf_);
  menu->addSeparator();
  menu->addAction(print_);
  menu->popup(table_.viewport()->mapToGlobal(position));
}

QString QuoteSharing::proposedPath(Format format) const {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  const std::string name = proposedFileName(caption_, todayIsoDate(), fileExtension(format));
  return QDir(folder).filePath(qt(name));
}

void QuoteSharing::exportAs(Format format) {
  const QString filter =
      format == Format::Excel ? QStringLiteral("Excel 工作簿 (*.xlsx)") : QStringLiteral("PDF 文件 (*.pdf)");
  const QString title = format == Format::Excel ? QStringLiteral("导出为 Excel") : QStringLiteral("导出为 PDF");
  const QString path = QFileDialog::getSaveFileName(&window_, title, proposedPath(format), filter);
  if (path.isEmpty()) return;
  save(format, qt(withFileExtension(path.toStdString(), fileExtension(format))));
}

QuoteDocument QuoteSharing::documentOf(const QuotationSession& session) const {
  return session.document(company_, todayIsoDate());
}

void QuoteSharing::save(Format format, const QString& path) {
  session_([this, format, path](const QuotationSession& session) {
    // The worker owns its copy of the rows; it only posts the outcome back.
    workers_->run([dispatcher = dispatcher_, document = documentOf(session), format, path, this] {
      const std::string failure = saveQuoteFile(document, format, path.toStdString());
      dispatcher->post([this, path, failure = qt(failure)] {
        if (!failure.isEmpty()) showMessage(failure, QMessageBox::Warning);
        emit saveFinished(path, failure);
      });
    });
  });
}

void QuoteSharing::print() {
  session_([this](const QuotationSession& session) {
    const QuoteDocument document = documentOf(session);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(qt(document.caption));
    QPrintPreviewDialog preview(&printer, &window_);
    preview.setObjectName(QStringLiteral("quotePrintPreview"));
    preview.setWindowTitle(QStringLiteral("打印预览 - ") + qt(document.caption));
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [&document](QPrinter* target) { paintQuotePages(*target, document); });
    preview.exec();
  });
}

}  // namespace decor
