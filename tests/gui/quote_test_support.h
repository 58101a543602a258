#pragma once
// Reading the room list and the quotation table back from their list views, picking from
// drop-downs and clicking rows as a user would, and the quotation of the 客厅 example.
#include <QString>
#include <Qt>
#include <ostream>
#include <vector>

#include "living_room_quote.h"
#include "quotation_rows/quote_table.h"
#include "quotation_rows/room_list.h"

class QAbstractButton;
class QAbstractItemView;
class QComboBox;
class QTreeView;
class QWidget;

namespace decor {
// Readable failure output for whole rows.
void PrintTo(const RoomEntry& room, std::ostream* out);
void PrintTo(const QuoteItem& row, std::ostream* out);
}  // namespace decor

namespace decor::test {

// The room list and the quotation table as their views show them.
std::vector<RoomEntry> roomRowsOf(const QAbstractItemView& list);
std::vector<QuoteItem> quoteRowsOf(const QTreeView& list);

// Opens the drop-down's list and clicks the item with `text`. Returns false when the
// drop-down has no such item or the click picked nothing.
bool pickItem(QComboBox& box, const QString& text);

// Presses a button (the left one unless told) on a row of a shown list view.
void clickRow(QTreeView& list, int row, Qt::MouseButton button = Qt::LeftButton);

// Writes a room into the room-entry window's six inputs. The leaves go first: a leaves text
// set from outside the window sets off the leaves reaction, which would overwrite the door type.
void enterRoom(QWidget& roomEntryWindow, const RoomEntry& room);

// Presses a package button and returns the rows of the quotation window it opens, read once
// its build has finished (the window is then closed).
std::vector<QuoteItem> quotationRowsOpenedBy(QAbstractButton& packageButton);

// Clicks the row, fills the quotation window's detail panel (name, unit, quantity, unit
// price) as a user would and presses 修改.
void modifyRow(QWidget& quotationWindow, int row, const std::vector<QString>& panel);

}  // namespace decor::test
