#include "ui/report_list.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>
#include <algorithm>


namespace decor {

namespace {

// Gives the width the list gains beyond its design width to one column.
class ColumnGrower final : public QObject {
 public:
  ColumnGrower(QTreeView& list, int column, int designWidth)
      : QObject(&list), list_(list), column_(column), designWidth_(designWidth), designListWidth_(list.width()) {
    list.installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &list_ && event->type() == QEvent::Resize) {
      list_.setColumnWidth(column_, designWidth_ + std::max(0, list_.width() - designListWidth_));
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QTreeView& list_;
  int column_;
  int designWidth_;
  int designListWidth_;
};

}  // namespace

void setReportColumnWidths(QTreeView& list, std::span<const ColumnFormat> columns, std::size_t growingColumn) {
  // The designed widths hold at the design size; space right of the last column stays empty.
  list.header()->setStretchLastSection(false);
  int column = 0;
  for (const ColumnFormat& format : columns) list.setColumnWidth(column++, format.width);
  if (growingColumn < columns.size()) {
    new ColumnGrower(list, static_cast<int>(growingColumn), columns[growingColumn].width);
  }
}

namespace {

// Keeps the columns fitted to the list whenever its visible width changes. The widths come
// from the titles and the texts the inputs offer, never from the rows: one long entry would
// push the columns after it out of sight. The view cuts a longer cell short.
class ColumnFitter final : public QObject {
 public:
  ColumnFitter(QTreeView& list, std::span<const ColumnFormat> columns, std::vector<QStringList> samples)
      : QObject(&list), list_(list), viewport_(list.viewport()), samples_(std::move(samples)) {
    for (const ColumnFormat& format : columns) {
      designWidths_.push_back(format.width);
      titles_.push_back(QString::fromUtf8(format.title.data(), static_cast<qsizetype>(format.title.size())));
    }
    list.header()->setStretchLastSection(false);
    list.setTextElideMode(Qt::ElideMiddle);  // both ends of a size stay readable
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
  void fit() {
    const QStyle& style = *list_.style();
    // The room a view and a header leave around a text, and a pixel each side to spare.
    const int cellMargin = 2 * (style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &list_) + 2);
    const int headerMargin = 2 * (style.pixelMetric(QStyle::PM_HeaderMargin, nullptr, list_.header()) + 1);
    const QFontMetrics cellText = list_.fontMetrics();
    const QFontMetrics headerText = list_.header()->fontMetrics();
    const int count = static_cast<int>(designWidths_.size());
    std::vector<int> widths;
    int needed = 0;
    int designTotal = 0;
    for (int column = 0; column < count; ++column) {
      int width = headerText.horizontalAdvance(titles_[static_cast<std::size_t>(column)]) + headerMargin;
      const QStringList samples = column < static_cast<int>(samples_.size()) ? samples_[column] : QStringList();
      for (const QString& sample : samples) width = std::max(width, cellText.horizontalAdvance(sample) + cellMargin);
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
  std::vector<QString> titles_;
};

}  // namespace

void fitReportColumns(QTreeView& list, std::span<const ColumnFormat> columns, std::vector<QStringList> samples) {
  new ColumnFitter(list, columns, std::move(samples));
}

}  // namespace decor
