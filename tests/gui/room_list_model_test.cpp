// The room entry window's model under Qt's own model checker, in fatal mode: any broken
// promise to the views (counts, signals, parents) while rooms come and go ends the run.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QTreeView>

#include "app/room_list_model.h"
#include "quote_test_support.h"

namespace decor::test {
namespace {

enum class Change { Add, Modify, Remove };

// The same change on the model and on a plain list; whether it took.
template <class List>
bool apply(List& list, Change change, std::optional<std::size_t> row, RoomEntry room) {
  if (change == Change::Add) return list.add(room).added;
  return change == Change::Modify ? list.modify(row, room).written : list.remove(row);
}

TEST(RoomListModel, KeepsItsPromisesWhileRoomsAreAddedModifiedRemovedAndReplaced) {
  RoomListModel model;
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  QTreeView view;
  view.setModel(&model);

  const RoomEntry bedroom{"卧室", "3600*3000*2800", "1500*1500", "实木免漆门", "2", "3"};
  const RoomEntry noDoor{"阳台", "3000*1500*2800", "0*0", "(无)", "2", "2"};   // stored with 0 leaves
  const RoomEntry shortSize{"书房", "3000*2800", "600*1500", "实木门", "1", "4"};  // add and modify refuse
  const struct {
    const char* what;
    Change change;
    std::optional<std::size_t> row;
    RoomEntry room;
  } steps[] = {
      {"add", Change::Add, {}, livingRoom()},
      {"add a room without door", Change::Add, {}, noDoor},
      {"add a refused room", Change::Add, {}, shortSize},
      {"add a third", Change::Add, {}, bedroom},
      {"modify with a refused room", Change::Modify, 1, shortSize},
      {"modify the middle row", Change::Modify, 1, livingRoom()},
      {"modify past the end", Change::Modify, 3, livingRoom()},
      {"remove the first row", Change::Remove, 0, {}},
      {"remove with no row selected", Change::Remove, {}, {}},
      {"remove the last row", Change::Remove, 1, {}},
      {"empty it", Change::Remove, 0, {}},
      {"a new list after the empty one", Change::Add, {}, bedroom},
  };
  RoomList expected;
  for (const auto& step : steps) {
    EXPECT_EQ(apply(model, step.change, step.row, step.room), apply(expected, step.change, step.row, step.room))
        << step.what;
    EXPECT_EQ(roomRowsOf(view), expected.rows()) << step.what;
  }
  EXPECT_EQ(roomRowsOf(view), std::vector<RoomEntry>{bedroom});

  // Rooms read back from a file replace the list as they were stored, unreadable ones too.
  model.replaceAll({shortSize, livingRoom()});
  EXPECT_EQ(roomRowsOf(view), (std::vector<RoomEntry>{shortSize, livingRoom()}));
  model.replaceAll({});
  EXPECT_EQ(roomRowsOf(view), std::vector<RoomEntry>{});
}

}  // namespace
}  // namespace decor::test
