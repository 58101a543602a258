#include "ui/report_list.h"

#include <QAbstractItemModel>
#include <QEvent>
#include <QHeaderView>
#include <QPointer>
#include <QStyle>
#include <QTreeView>
#include <algorithm>


namespace decor {

void setReportColumnWidths(QTreeView& list, std::span<const ColumnFormat> columns) {
  // The designed widths hold; space right of the last column stays empty.
  list.header()->setStretchLastSection(false);
  int column = 0;
  for (const ColumnFormat& format : columns) list.setColumnWidth(column++, format.width);
}

namespace {

// Keeps the columns fitted to the list whenever its visible width or its rows change.
class ColumnFitter final : public QObject {
 public:
  ColumnFitter(QTreeView& list, std::span<const ColumnFormat> columns, std::vector<QStringList> samples)
      : QObject(&list), list_(list), viewport_(list.viewport()), samples_(std::move(samples)) {
    for (const ColumnFormat& format : columns) designWidths_.push_back(format.width);
    list.header()->setStretchLastSection(false);
    list.viewport()->installEventFilter(this);
    fit();
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Compared with the viewport kept from the start: events still come while the list is
    // being destroyed, when it can no longer be asked for it.
    if (watched == viewport_ && event->type() == QEvent::Resize) fit();
    return QObject::eventFilter(watched, event);
  }

 private:
  // The view may be given another model: follow whichever it shows.
  void watchModel() {
    QAbstractItemModel* model = list_.model();
    if (model == watched_) return;
    if (watched_ != nullptr) disconnect(watched_, nullptr, this, nullptr);
    watched_ = model;
    if (model == nullptr) return;
    // New texts only: a reset also comes while the list is being destroyed, and removed rows
    // need no wider column.
    connect(model, &QAbstractItemModel::rowsInserted, this, [this] { fit(); });
    connect(model, &QAbstractItemModel::dataChanged, this, [this] { fit(); });
  }

  void fit() {
    watchModel();
    const QAbstractItemModel* model = list_.model();
    if (model == nullptr) return;
    const QStyle& style = *list_.style();
    // The room a view and a header leave around a text, and a pixel each side to spare.
    const int cellMargin = 2 * (style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list_) + 2);
    const int headerMargin = 2 * (style.pixelMetric(QStyle::PM_HeaderMargin, nullptr, list_.header()) + 1);
    const QFontMetrics cellText = list_.fontMetrics();
    const QFontMetrics headerText = list_.header()->fontMetrics();
    const int count = std::min(model->columnCount(), static_cast<int>(designWidths_.size()));
    std::vector<int> widths;
    int needed = 0;
    int designTotal = 0;
    for (int column = 0; column < count; ++column) {
      int width = headerText.horizontalAdvance(model->headerData(column, Qt::Horizontal).toString()) + headerMargin;
      const QStringList samples = column < static_cast<int>(samples_.size()) ? samples_[column] : QStringList();
      for (const QString& sample : samples) width = std::max(width, cellText.horizontalAdvance(sample) + cellMargin);
      for (int row = 0; row < model->rowCount(); ++row) {
        width = std::max(width, cellText.horizontalAdvance(model->index(row, column).data().toString()) + cellMargin);
      }
      widths.push_back(width);
      needed += width;
      designTotal += designWidths_[column];
    }
    // Room to spare goes to the columns in the proportion of their design widths.
    const int spare = list_.viewport()->width() - needed;
    int given = 0;
    for (int column = 0; column < count; ++column) {
      if (spare > 0 && designTotal > 0) {
        const int share = column + 1 == count ? spare - given : spare * designWidths_[column] / designTotal;
        widths[column] += share;
        given += share;
      }
      list_.setColumnWidth(column, widths[column]);
    }
  }

  QTreeView& list_;
  const QObject* viewport_;
  std::vector<QStringList> samples_;
  std::vector<int> designWidths_;
  QPointer<QAbstractItemModel> watched_;
};

}  // namespace

void fitReportColumns(QTreeView& list, std::span<const ColumnFormat> columns, std::vector<QStringList> samples) {
  new ColumnFitter(list, columns, std::move(samples));
}

}  // namespace decor
