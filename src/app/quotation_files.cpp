#include "app/quotation_files.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>
#include <QWidget>
#include <string>

#include "app/message_box.h"
#include "app/quotation_controller.h"
#include "app/unsaved_work.h"
#include "export/quote_document.h"
#include "quotation/quotation_file.h"
#include "ui/qt_text.h"

namespace decor {
namespace {

constexpr qint64 kMaxFileBytes = qint64{64} * 1024 * 1024;
const QString kFilter = QStringLiteral("报价文件 (*.json)");

std::string_view fileSuffix() { return kQuotationFileSuffix.substr(1); }  // without the dot

// The file's bytes, or the reason they could not be read (nothing larger than any quotation).
std::string readBytes(const QString& path, std::string& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString().toStdString();
  if (file.size() > kMaxFileBytes) return "文件太大，不是报价文件";
  const QByteArray data = file.read(kMaxFileBytes + 1);
  if (file.error() != QFileDevice::NoError) return file.errorString().toStdString();
  bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
  return {};
}

}  // namespace

QString askSavePath(QWidget& parent, const QString& proposed) {
  const QString path = QFileDialog::getSaveFileName(&parent, QStringLiteral("保存报价"), proposed, kFilter);
  if (path.isEmpty()) return path;
  return qt(withFileExtension(path.toStdString(), fileSuffix()));
}

QString askOpenPath(QWidget& parent, const QString& proposed) {
  return QFileDialog::getOpenFileName(&parent, QStringLiteral("打开报价"), proposed, kFilter);
}

QString proposedQuotationPath(const QString& caption) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  return QDir(folder).filePath(qt(proposedFileName(caption.toStdString(), todayIsoDate(), fileSuffix())));
}

QuotationFileReading readQuotationFileAt(const QString& path) {
  std::string bytes;
  std::string failure = readBytes(path, bytes);
  if (!failure.empty()) return QuotationFileReading{.file = std::nullopt, .error = std::move(failure)};
  return readQuotationFile(bytes);
}

void readQuotationFileLater(WorkerPool& workers, std::shared_ptr<GuiDispatcher> dispatcher, const QString& path,
                            std::function<void(QuotationFile)> opened,
                            std::function<void(const QString& message)> refused) {
  workers.run([dispatcher = std::move(dispatcher), path, opened = std::move(opened), refused = std::move(refused)] {
    QuotationFileReading reading = readQuotationFileAt(path);
    dispatcher->post([path, opened, refused, file = std::move(reading.file), failure = qt(reading.error)]() mutable {
      if (file) {
        opened(std::move(*file));
        return;
      }
      const QString message = QStringLiteral("无法打开文件“%1”：%2").arg(QDir::toNativeSeparators(path), failure);
      showMessage(message, QMessageBox::Warning);
      refused(message);
    });
  });
}

QuotationFileActions addQuotationFileActions(QWidget& window) {
  auto* save = new QAction(QStringLiteral("保存报价…"), &window);
  auto* open = new QAction(QStringLiteral("打开报价…"), &window);
  save->setObjectName(QStringLiteral("saveQuotationAction"));
  open->setObjectName(QStringLiteral("openQuotationAction"));
  save->setShortcut(QKeySequence::Save);
  open->setShortcut(QKeySequence::Open);
  window.addActions({save, open});
  return {save, open};
}

QuotationFiles::QuotationFiles(QWidget& window, QuotationController& controller,
                               std::shared_ptr<GuiDispatcher> dispatcher, std::shared_ptr<WorkerPool> workers)
    : QObject(&window),
      window_(window),
      controller_(controller),
      dispatcher_(std::move(dispatcher)),
      workers_(std::move(workers)),
      actions_(addQuotationFileActions(window)),
      unsaved_(new UnsavedWork(*this, [this] { return controller_.unsaved(); }, [this] { saveAs(); })) {
  connect(actions_.save, &QAction::triggered, this, &QuotationFiles::saveAs);
  connect(actions_.open, &QAction::triggered, this, &QuotationFiles::open);
}

QString QuotationFiles::proposedPath() const { return proposedQuotationPath(window_.windowTitle()); }

void QuotationFiles::saveAs() {
  const QString path = askSavePath(window_, proposedPath());
  if (path.isEmpty()) {
    unsaved_->saveEnded(false);
    return;
  }
  save(path);
}

void QuotationFiles::save(const QString& path) {
  // The file holds the table once every change asked for before has been made.
  controller_.enqueueTableOperation([this, path](OperationQueue::Done done) {
    QuotationFile file = quotationFileOf(controller_.keptQuotation(), todayIsoDate());
    const std::uint64_t changes = controller_.changeCount();
    done();
    workers_->run([dispatcher = dispatcher_, file = std::move(file), path, changes, this] {
      const std::string failure = saveQuotationFile(file, path.toStdString());
      dispatcher->post([this, path, changes, request = file.request, failure = qt(failure)] {
        if (failure.isEmpty()) {
          controller_.markSaved(changes);
          emit requestKept(request);
        } else {
          showMessage(failure, QMessageBox::Warning);
        }
        emit saveFinished(path, failure);
        unsaved_->saveEnded(failure.isEmpty());
      });
    });
  });
}

void QuotationFiles::open() {
  // Edits not saved are asked about first; after 保存 the open dialog follows the written file.
  if (!unsaved_->mayLose([this] { open(); })) return;
  const QString path = askOpenPath(window_, proposedPath());
  if (!path.isEmpty()) openFile(path);
}

void QuotationFiles::openFile(const QString& path) {
  readQuotationFileLater(
      *workers_, dispatcher_, path,
      [this, path](QuotationFile file) {
        const QuoteRequest request = file.request;
        controller_.replaceQuotation(keptQuotationOf(file));
        controller_.enqueueTableOperation([this, path, request](OperationQueue::Done done) {
          done();
          emit requestKept(request);
          emit openFinished(path, QString());
        });
      },
      [this, path](const QString& message) { emit openFinished(path, message); });
}

bool QuotationFiles::mayClose() {
  return unsaved_->mayLose([this] { window_.close(); });
}

}  // namespace decor
