#pragma once
// Keeping and sharing a quotation: "导出为 Excel…" (Ctrl+E), "导出为 PDF…" and "打印…"
// (Ctrl+P), offered in a context menu on the quotation table and as window shortcuts.
//
// The file dialogs propose "<caption>-<date>.xlsx" / ".pdf" in the user's documents folder.
// The file is written on a worker thread through a temporary file, so a failure leaves any
// earlier file as it was and is told in a message box. Printing shows Qt's preview, from which
// the print dialog opens.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "app/gui_dispatcher.h"
#include "app/worker_pool.h"
#include "export/quote_document.h"
#include "quotation/quotation_session.h"

class QAction;
class QAbstractItemView;
class QWidget;

namespace decor {

class QuoteSharing final : public QObject {
  Q_OBJECT

 public:
  using Format = QuoteFileFormat;

  // Hands the quotation to `use` once every table operation asked for before has ended (a
  // build still running, an edit); GUI thread.
  using SessionSnapshot = std::function<void(std::function<void(const QuotationSession& session)> use)>;

  // Adds the three commands to `window` and the context menu to `table`. `caption` names the
  // proposed files. Saves run on `workers`.
  QuoteSharing(QWidget& window, QAbstractItemView& table, std::string caption, CompanyContact company,
               std::shared_ptr<GuiDispatcher> dispatcher, std::shared_ptr<WorkerPool> workers,
               SessionSnapshot session);
  ~QuoteSharing() override;

  QAction* excelAction() const { return excel_; }
  QAction* pdfAction() const { return pdf_; }
  QAction* printAction() const { return print_; }

  // Asks for a file name, then saves.
  void exportAs(Format format);
  // Saves to `path` on a worker thread; saveFinished tells the end. GUI thread.
  void save(Format format, const QString& path);
  // Shows the print preview.
  void print();

  // The name the file dialog proposes: the documents folder and "<caption>-<date>.<ext>".
  QString proposedPath(Format format) const;

 signals:
  // GUI thread; `failure` is empty when the file was saved. The user has seen the message.
  void saveFinished(const QString& path, const QString& failure);

 private:
  QuoteDocument documentOf(const QuotationSession& session) const;
  void showContextMenu(const QPoint& position);

  QWidget& window_;
  QAbstractItemView& table_;
  std::string caption_;
  CompanyContact company_;
  std::shared_ptr<GuiDispatcher> dispatcher_;
  std::shared_ptr<WorkerPool> workers_;
  SessionSnapshot session_;
  QAction* excel_;
  QAction* pdf_;
  QAction* print_;
};

}  // namespace decor
