#pragma once
// Reading the room list and the quotation table back from their list views, picking from
// drop-downs and clicking rows as a user would, and the quotation of the 客厅 example.
#include <QString>
#include <ostream>
#include <vector>

#include "quote/quote_table.h"
#include "quote/room_list.h"

class QComboBox;
class QTreeWidget;

namespace decor {
// Readable failure output for whole rows.
void PrintTo(const RoomEntry& room, std::ostream* out);
void PrintTo(const QuoteItem& row, std::ostream* out);
}  // namespace decor

namespace decor::test {

std::vector<RoomEntry> roomRowsOf(const QTreeWidget& list);
std::vector<QuoteItem> quoteRowsOf(const QTreeWidget& list);

// Opens the drop-down's list and clicks the item with `text`. Returns false when the
// drop-down has no such item or the click picked nothing.
bool pickItem(QComboBox& box, const QString& text);

// Presses the left button on a row of a shown list view.
void clickRow(QTreeWidget& list, int row);

// 客厅 3200*2800*2920, window 800*1500, 实木门 with 1 leaf, 4 walls.
RoomEntry livingRoom();

// Its half-package quote under 舒适型装修 with a wooden floor and the default prices.
std::vector<QuoteItem> livingRoomComfortQuote();

}  // namespace decor::test
