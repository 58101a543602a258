#include "app/quotation_files.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>
#include <string>

#include "app/message_box.h"
#include "app/quotation_controller.h"
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

CloseAnswer askToSaveBeforeClosing() {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kMessageCaption), QStringLiteral("报价还没有保存，是否保存？"),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
  box.setWindowModality(Qt::ApplicationModal);
  box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
  box.button(QMessageBox::Discard)->setText(QStringLiteral("不保存"));
  box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save:
      return CloseAnswer::Save;
    case QMessageBox::Discard:
      return CloseAnswer::DontSave;
    default:
      return CloseAnswer::Cancel;
  }
}

QuotationFiles::QuotationFiles(QWidget& window, QuotationController& controller,
                               std::shared_ptr<GuiDispatcher> dispatcher, std::shared_ptr<WorkerPool> workers)
    : QObject(&window),
      window_(window),
      controller_(controller),
      dispatcher_(std::move(dispatcher)),
      workers_(std::move(workers)),
      save_(new QAction(QStringLiteral("保存报价…"), &window)),
      open_(new QAction(QStringLiteral("打开报价…"), &window)) {
  save_->setObjectName(QStringLiteral("saveQuotationAction"));
  open_->setObjectName(QStringLiteral("openQuotationAction"));
  save_->setShortcut(QKeySequence::Save);
  open_->setShortcut(QKeySequence::Open);
  window.addActions({save_, open_});
  connect(save_, &QAction::triggered, this, &QuotationFiles::saveAs);
  connect(open_, &QAction::triggered, this, &QuotationFiles::open);
}

QString QuotationFiles::proposedPath() const {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  const std::string caption = window_.windowTitle().toStdString();
  return QDir(folder).filePath(qt(proposedFileName(caption, todayIsoDate(), fileSuffix())));
}

void QuotationFiles::saveAs() {
  const QString path = QFileDialog::getSaveFileName(&window_, QStringLiteral("保存报价"), proposedPath(), kFilter);
  if (path.isEmpty()) {
    closeWhenSaved_ = false;
    return;
  }
  save(qt(withFileExtension(path.toStdString(), fileSuffix())));
}

void QuotationFiles::save(const QString& path) {
  // The file holds the table once every change asked for before has been made.
  controller_.enqueueTableOperation([this, path](OperationQueue::Done done) {
    QuotationFile file = quotationFileOf(controller_.keptQuotation(), todayIsoDate());
    const std::uint64_t changes = controller_.changeCount();
    done();
    workers_->run([dispatcher = dispatcher_, file = std::move(file), path, changes, this] {
      const std::string failure = saveQuotationFile(file, path.toStdString());
      dispatcher->post([this, path, changes, failure = qt(failure)] {
        if (failure.isEmpty()) {
          controller_.markSaved(changes);
        } else {
          showMessage(failure, QMessageBox::Warning);
        }
        emit saveFinished(path, failure);
        const bool close = closeWhenSaved_ && failure.isEmpty();
        closeWhenSaved_ = false;
        if (close) window_.close();
      });
    });
  });
}

void QuotationFiles::open() {
  const QString path = QFileDialog::getOpenFileName(&window_, QStringLiteral("打开报价"), proposedPath(), kFilter);
  if (!path.isEmpty()) openFile(path);
}

void QuotationFiles::openFile(const QString& path) {
  workers_->run([dispatcher = dispatcher_, path, this] {
    std::string bytes;
    std::string failure = readBytes(path, bytes);
    std::optional<QuotationFile> file;
    if (failure.empty()) {
      QuotationFileReading reading = readQuotationFile(bytes);
      file = std::move(reading.file);
      failure = std::move(reading.error);
    }
    dispatcher->post([this, path, file = std::move(file), failure = qt(failure)]() mutable {
      if (!file) {
        const QString message = QStringLiteral("无法打开文件“%1”：%2").arg(QDir::toNativeSeparators(path), failure);
        showMessage(message, QMessageBox::Warning);
        emit openFinished(path, message);
        return;
      }
      controller_.replaceQuotation(keptQuotationOf(*file));
      controller_.enqueueTableOperation([this, path](OperationQueue::Done done) {
        done();
        emit openFinished(path, QString());
      });
    });
  });
}

bool QuotationFiles::mayClose() {
  if (!controller_.unsaved()) return true;
  switch (askToSaveBeforeClosing()) {
    case CloseAnswer::DontSave:
      return true;
    case CloseAnswer::Save:
      closeWhenSaved_ = true;
      saveAs();
      return false;
    case CloseAnswer::Cancel:
      return false;
  }
  return false;
}

}  // namespace decor
