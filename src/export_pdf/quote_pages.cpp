#include "export_pdf/quote_pages.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "export/file_replace.h"
#include "quotation_rows/quote_table.h"
#include "quotation_rows/room_list.h"

namespace decor {
namespace {

const QColor kInk(0x20, 0x20, 0x20);
const QColor kMuted(0x60, 0x60, 0x60);
const QColor kRule(0xA0, 0xA8, 0xB4);
const QColor kHeaderFill(0xD9, 0xE1, 0xF2);
const QColor kHeadingFill(0xF2, 0xF4, 0xF7);
constexpr double kCellPadding = 3;  // points
constexpr double kSmallestShrink = 0.6;

QString qs(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QFont documentFont(double points, bool bold) {
  QFont font;
  // A font with Chinese glyphs wherever the program runs; fontconfig or Windows fall back
  // from the first name they lack.
  font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"),
                    QStringLiteral("Noto Sans CJK SC"), QStringLiteral("SimSun")});
  font.setPointSizeF(points);
  font.setBold(bold);
  return font;
}

// Draws in points on a device that counts in its own pixels, from the paper's corner.
class PageCanvas {
 public:
  PageCanvas(QPainter& painter, QPagedPaintDevice& device) : painter_(painter), device_(device) {
    const QPageLayout layout = device.pageLayout();
    const QRectF paint = layout.paintRect(QPageLayout::Point);
    scale_ = paint.width() > 0 ? device.width() / paint.width() : 1.0;
    origin_ = paint.topLeft();
  }

  QRectF rect(double x, double y, double width, double height) const {
    return QRectF((x - origin_.x()) * scale_, (y - origin_.y()) * scale_, width * scale_, height * scale_);
  }

  void fill(const QRectF& area, const QColor& color) { painter_.fillRect(area, color); }

  void line(double x1, double y1, double x2, double y2, const QColor& color, double widthPoints) {
    painter_.setPen(QPen(color, widthPoints * scale_));
    painter_.drawLine(QPointF((x1 - origin_.x()) * scale_, (y1 - origin_.y()) * scale_),
                      QPointF((x2 - origin_.x()) * scale_, (y2 - origin_.y()) * scale_));
  }

  // One line of text inside `area`; a text too wide shrinks a little and is then cut short
  // with an ellipsis rather than running into the next column.
  void text(const QRectF& area, const QString& text, QFont font, Qt::Alignment alignment, const QColor& color) {
    if (text.isEmpty()) return;
    QFontMetricsF metrics(font, &device_);
    const double width = metrics.horizontalAdvance(text);
    QString shown = text;
    if (width > area.width() && width > 0) {
      font.setPointSizeF(font.pointSizeF() * std::max(kSmallestShrink, area.width() / width));
      metrics = QFontMetricsF(font, &device_);
      shown = metrics.elidedText(text, Qt::ElideRight, area.width());
    }
    painter_.setFont(font);
    painter_.setPen(color);
    painter_.drawText(area, static_cast<int>(alignment | Qt::AlignVCenter) | Qt::TextSingleLine, shown);
  }

 private:
  QPainter& painter_;
  QPagedPaintDevice& device_;
  double scale_ = 1;
  QPointF origin_;
};

template <class Cells>
void paintRow(PageCanvas& canvas, std::span<const ColumnFormat> columns, std::span<const double> edges, double y,
              double height, const Cells& cells, const QFont& font, const QColor& color) {
  for (std::size_t column = 0; column < cells.size() && column < columns.size(); ++column) {
    const QRectF cell = canvas.rect(edges[column] + kCellPadding, y, edges[column + 1] - edges[column] - 2 * kCellPadding,
                                    height);
    const Qt::Alignment alignment = columns[column].alignment == ColumnAlignment::Right ? Qt::AlignRight : Qt::AlignLeft;
    canvas.text(cell, qs(cells[column]), font, alignment, color);
  }
}

// One line of the request block: the choices, the room list's header, or a room.
void paintBlockLine(PageCanvas& canvas, const QuoteRequest& request, std::size_t line, double left, double width,
                    double y, double height) {
  const std::vector<double> edges = columnEdges(kRoomListColumns, left, width);
  switch (blockLineAt(line, request.rooms.size())) {
    case BlockLine::Request:
      canvas.text(canvas.rect(left, y, width, height), qs(requestLine(request)), documentFont(10, true), Qt::AlignLeft,
                  kInk);
      break;
    case BlockLine::RoomHeader:
      canvas.fill(canvas.rect(left, y, width, height), kHeadingFill);
      paintRow(canvas, kRoomListColumns, edges, y, height, columnTitles(kRoomListColumns), documentFont(9, true), kInk);
      canvas.line(left, y + height, left + width, y + height, kRule, 0.6);
      break;
    case BlockLine::Room:
      paintRow(canvas, kRoomListColumns, edges, y, height, roomCells(request.rooms[line - 2]), documentFont(9, false),
               kInk);
      canvas.line(left, y + height, left + width, y + height, kRule, 0.25);
      break;
    case BlockLine::Blank: break;
  }
}

void paintPage(PageCanvas& canvas, const QuoteDocument& document, const PageGeometry& geometry,
               const PageSlice& slice, int pageNumber, int pageCount) {
  const double left = geometry.margin;
  const double right = geometry.pageWidth - geometry.margin;
  const double width = geometry.contentWidth();
  double y = geometry.margin;

  // Running head.
  const QFont small = documentFont(8, false);
  canvas.text(canvas.rect(left, y, width, geometry.runningHeadHeight - 6), qs(document.company.name),
              documentFont(9, true), Qt::AlignLeft, kMuted);
  canvas.text(canvas.rect(left, y, width, geometry.runningHeadHeight - 6), qs(document.caption), small, Qt::AlignRight,
              kMuted);
  canvas.line(left, y + geometry.runningHeadHeight - 4, right, y + geometry.runningHeadHeight - 4, kRule, 0.6);
  y += geometry.runningHeadHeight;

  if (pageNumber == 1) {
    canvas.text(canvas.rect(left, y, width, geometry.titleHeight - 18), qs(document.caption), documentFont(18, true),
                Qt::AlignHCenter, kInk);
    canvas.text(canvas.rect(left, y + geometry.titleHeight - 20, width, 16), qs(dateLine(document.date)),
                documentFont(9, false), Qt::AlignRight, kInk);
    y += geometry.titleHeight;
  }

  for (std::size_t line = slice.firstBlockLine; line < slice.firstBlockLine + slice.blockLineCount; ++line) {
    paintBlockLine(canvas, document.request, line, left, width, y, geometry.rowHeight);
    y += geometry.rowHeight;
  }

  const auto edges = columnEdges(left, width);
  if (slice.showsTable) {
    canvas.fill(canvas.rect(left, y, width, geometry.headerRowHeight), kHeaderFill);
    paintRow(canvas, kQuoteColumns, edges, y, geometry.headerRowHeight, columnTitles(kQuoteColumns),
             documentFont(9.5, true), kInk);
    canvas.line(left, y, right, y, kRule, 0.8);
    canvas.line(left, y + geometry.headerRowHeight, right, y + geometry.headerRowHeight, kRule, 0.8);
    y += geometry.headerRowHeight;
  }

  const QFont regular = documentFont(9, false);
  const QFont bold = documentFont(9, true);
  for (std::size_t index = slice.firstRow; index < slice.firstRow + slice.rowCount; ++index) {
    const QuoteItem& row = document.rows[index];
    const bool emphasised = isEmphasisedRow(row);
    if (emphasised) canvas.fill(canvas.rect(left, y, width, geometry.rowHeight), kHeadingFill);
    paintRow(canvas, kQuoteColumns, edges, y, geometry.rowHeight, rowCells(row), emphasised ? bold : regular,
             kInk);
    canvas.line(left, y + geometry.rowHeight, right, y + geometry.rowHeight, kRule, emphasised ? 0.6 : 0.25);
    y += geometry.rowHeight;
  }

  // Footer, at the foot of the page whatever the number of rows.
  const double footerTop = geometry.pageHeight - geometry.margin - geometry.footerHeight;
  canvas.line(left, footerTop + 6, right, footerTop + 6, kRule, 0.6);
  const QRectF footer = canvas.rect(left, footerTop + 8, width, geometry.footerHeight - 8);
  canvas.text(footer, qs(hotlineLine(document.company)), small, Qt::AlignLeft, kMuted);
  canvas.text(footer, qs(pageNumberText(pageNumber, pageCount)), small, Qt::AlignHCenter, kMuted);
  canvas.text(footer, qs(websiteLine(document.company)), small, Qt::AlignRight, kMuted);
}

}  // namespace

PageGeometry pageGeometryFor(const QPagedPaintDevice& device) {
  PageGeometry geometry;
  const QRectF paper = device.pageLayout().fullRect(QPageLayout::Point);
  if (paper.width() > 0 && paper.height() > 0) {
    geometry.pageWidth = paper.width();
    geometry.pageHeight = paper.height();
  }
  return geometry;
}

bool paintQuotePages(QPagedPaintDevice& device, const QuoteDocument& document) {
  const PageGeometry geometry = pageGeometryFor(device);
  const std::vector<PageSlice> pages =
      planPages(document.rows.size(), geometry, requestBlockLines(document.request.rooms.size()));
  QPainter painter(&device);
  if (!painter.isActive()) return false;
  painter.setRenderHint(QPainter::Antialiasing);
  PageCanvas canvas(painter, device);
  const int pageCount = static_cast<int>(pages.size());
  for (int page = 0; page < pageCount; ++page) {
    if (page > 0) device.newPage();
    paintPage(canvas, document, geometry, pages[static_cast<std::size_t>(page)], page + 1, pageCount);
  }
  return true;
}

QByteArray renderQuotePdf(const QuoteDocument& document) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setTitle(qs(document.caption));
    writer.setCreator(qs(document.company.name));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    if (!paintQuotePages(writer, document)) return {};
  }
  return buffer.data();
}

std::string writeQuotePdf(const QuoteDocument& document, const std::string& path) {
  // Qt's PDF writer does not report a failed write; the finished bytes are written here,
  // where a full disk shows.
  const QByteArray pdf = renderQuotePdf(document);
  if (pdf.isEmpty()) return "无法生成 PDF 文件";
  return writeWholeFile(path, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
}

std::string saveQuotePdf(const QuoteDocument& document, const std::string& path) {
  return replaceFile(path, [&document](const std::string& tempPath) { return writeQuotePdf(document, tempPath); });
}

}  // namespace decor
