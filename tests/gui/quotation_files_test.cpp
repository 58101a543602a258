// 保存报价 and 打开报价 in the quotation window and the room entry window, driven through their
// buttons, shortcuts and file dialogs: what is saved opens with the same rows in another window,
// a refused file changes nothing, the rooms of a file come back into the room list, and closing
// a window or opening a file over work no file holds asks once.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QComboBox>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <fstream>
#include <iterator>

#include "app/main_window.h"
#include "app/quotation_controller.h"
#include "app/quotation_files.h"
#include "app/quotation_window.h"
#include "app/room_entry_window.h"
#include "app/room_list_controller.h"
#include "app/room_list_files.h"
#include "gui_test_support.h"
#include "quotation/quotation_file.h"
#include "quote_test_support.h"
#include "ui/picture_button.h"

namespace decor::test {
namespace {

class QuotationFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    services_.state->prices.resetToDefaults();
  }
  void TearDown() override {
    windows_.clear();
    flushDeletes();
  }

  QuotationWindow& openWindow(PackageScope scope) {
    windows_.push_back(std::make_unique<QuotationWindow>(
        services_, QuoteRequest{.rooms = {livingRoom()}, .grade = "舒适型装修", .scope = scope}));
    QuotationWindow& window = *windows_.back();
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    window.controller().start();
    EXPECT_TRUE(waitUntil([&] { return !window.controller().building(); }));
    return window;
  }

  static QTreeView& list(QWidget& window) { return *control<QTreeView>(window, "超级列表框1"); }

  // Answers a file dialog with `path`, typed into its name box as a user would.
  static std::function<void(QWidget&)> answerFileDialog(const QString& path) {
    return [path](QWidget& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      if (files == nullptr) return;
      auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      name->setText(path);
      QMetaObject::invokeMethod(files, "accept");
    };
  }

  // Answers the file dialogs that come one after the other with `paths`, in order.
  static std::function<void(QWidget&)> answerFileDialogs(QStringList paths) {
    return [paths = std::make_shared<QStringList>(std::move(paths))](QWidget& dialog) {
      if (qobject_cast<QFileDialog*>(&dialog) == nullptr || paths->isEmpty()) return;
      answerFileDialog(paths->takeFirst())(dialog);
    };
  }

  // 详细报价 on the main window, answered 是 as a user would.
  static RoomEntryWindow& openRoomEntry(MainWindow& main) {
    {
      ModalAnswerer yes({QMessageBox::Yes});
      QTest::mouseClick(control<PictureButton>(main, "按钮2"), Qt::LeftButton);
    }
    RoomEntryWindow* rooms = main.roomEntryWindow();
    if (rooms == nullptr) throw std::logic_error("no room entry window");
    rooms->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(rooms));
    return *rooms;
  }

  // Ctrl+<key> in `window`, back in front after the dialogs before, as a user's click brings it.
  static void pressCtrl(QWidget& window, Qt::Key key) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, key, Qt::ControlModifier);
  }

  // 添加 with the inputs as the window opens: the 客厅 of the examples.
  static void addRoom(RoomEntryWindow& rooms) {
    QTest::mouseClick(control<PictureButton>(rooms, "按钮4"), Qt::LeftButton);
  }

  // 全包装修, and in the quotation window it opens 保存报价 to `file`; then the window closes.
  static void saveInQuotationWindow(RoomEntryWindow& rooms, const QString& file) {
    bool saved = false;
    ModalAnswerer quotation({}, [&](QWidget& dialog) {
      auto* window = qobject_cast<QuotationWindow*>(&dialog);
      if (window == nullptr) return;
      ASSERT_TRUE(waitUntil([&] { return !window->controller().building(); }));
      QSignalSpy finished(&window->files(), &QuotationFiles::saveFinished);
      ModalAnswerer fileDialog({}, answerFileDialog(file));
      QTest::mouseClick(control<QPushButton>(*window, "saveQuotationButton"), Qt::LeftButton);
      ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }, 10000));
      saved = finished.at(0).at(1).toString().isEmpty();
    });
    QTest::mouseClick(control<PictureButton>(rooms, "按钮6"), Qt::LeftButton);
    EXPECT_TRUE(saved);
  }

  // Waits for every table operation asked for so far, then for the window's edit to show.
  static bool settled(QuotationWindow& window) {
    return waitUntil([&] { return window.controller().idle(); });
  }

  QString path(const char* name) const { return QDir(folder_.path()).filePath(QString::fromUtf8(name)); }

  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  AppServices services_ = testServices(fetcher_);
  std::vector<std::unique_ptr<QuotationWindow>> windows_;
  QTemporaryDir folder_;
};

TEST_F(QuotationFilesTest, SavedByTheButtonOpensWithTheSameRowsAndEditsInAnotherWindow) {
  for (PackageScope scope : {PackageScope::Half, PackageScope::Full}) {
    SCOPED_TRACE(std::string(packageScopeText(scope)));
    QuotationWindow& first = openWindow(scope);
    modifyRow(first, 2, {QStringLiteral("墙面批腻子"), QStringLiteral("M2"), QStringLiteral("40"), QStringLiteral("12")});
    ASSERT_TRUE(settled(first));
    const std::vector<QuoteItem> edited = quoteRowsOf(list(first));
    ASSERT_NE(edited[2].total, "413.28");

    const QString file = path("报价");  // the dialog's name without the suffix
    QSignalSpy saved(&first.files(), &QuotationFiles::saveFinished);
    {
      ModalAnswerer answerer({}, answerFileDialog(file));
      QTest::mouseClick(control<QPushButton>(first, "saveQuotationButton"), Qt::LeftButton);
      ASSERT_EQ(answerer.seen().size(), 1u);
      EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("保存报价"));
    }
    ASSERT_TRUE(waitUntil([&] { return saved.count() == 1; }, 10000));
    EXPECT_EQ(saved.at(0).at(0).toString(), file + QStringLiteral(".json"));
    EXPECT_EQ(saved.at(0).at(1).toString(), QString());

    // Another window, of the other package, opens it by Ctrl+O: the saved rows, its package.
    QuotationWindow& second = openWindow(scope == PackageScope::Half ? PackageScope::Full : PackageScope::Half);
    QSignalSpy opened(&second.files(), &QuotationFiles::openFinished);
    {
      ModalAnswerer answerer({}, answerFileDialog(file + QStringLiteral(".json")));
      QTest::keyClick(&second, Qt::Key_O, Qt::ControlModifier);
      ASSERT_EQ(answerer.seen().size(), 1u);
      EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("打开报价"));
    }
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    EXPECT_EQ(opened.at(0).at(1).toString(), QString());
    EXPECT_EQ(quoteRowsOf(list(second)), edited);
    EXPECT_EQ(second.windowTitle().toStdString(), quoteCaption(scope));
    EXPECT_FALSE(second.controller().unsaved());

    // A later command goes on from the opened rows and is kept after the saved one.
    QTest::mouseClick(control<QPushButton>(second, "按钮3"), Qt::LeftButton);  // 修改 with no row
    ASSERT_TRUE(settled(second));
    const KeptQuotation kept = second.controller().keptQuotation();
    ASSERT_EQ(kept.edits().size(), 2u);
    EXPECT_EQ(kept.edits()[0].op, QuotationEdit::Op::Modify);
    EXPECT_EQ(kept.edits()[0].row, 3u);
    EXPECT_EQ(kept.edits()[1].row, 0u);
    EXPECT_TRUE(second.controller().unsaved());
    windows_.clear();
  }
}

TEST_F(QuotationFilesTest, ARefusedFileChangesNothing) {
  QuotationWindow& window = openWindow(PackageScope::Half);
  const std::vector<QuoteItem> before = quoteRowsOf(list(window));
  std::ofstream(path("newer.json").toStdString()) << R"({"version": 9})";
  QSignalSpy opened(&window.files(), &QuotationFiles::openFinished);
  ModalAnswerer answerer({QMessageBox::Ok});
  window.files().openFile(path("newer.json"));
  ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
  ASSERT_EQ(answerer.seen().size(), 1u);
  EXPECT_TRUE(answerer.seen()[0].text.contains(QStringLiteral("较新版本"))) << answerer.seen()[0].text.toStdString();
  EXPECT_TRUE(answerer.seen()[0].text.contains(QStringLiteral("newer.json")));
  EXPECT_EQ(quoteRowsOf(list(window)), before);
}

TEST_F(QuotationFilesTest, ClosingWithEditsNotSavedAsksOnceAndAfterSavingNothing) {
  QuotationWindow& window = openWindow(PackageScope::Half);
  {
    ModalAnswerer nothingAsked;
    EXPECT_TRUE(window.close()) << "a quotation only built loses nothing: its rooms are in the room entry window";
    EXPECT_TRUE(nothingAsked.seen().empty());
  }
  window.show();
  QTest::mouseClick(control<QPushButton>(window, "按钮1"), Qt::LeftButton);  // 删除此项 with no row
  ASSERT_TRUE(settled(window));

  {
    ModalAnswerer cancel({QMessageBox::Cancel});
    EXPECT_FALSE(window.close());
    ASSERT_EQ(cancel.seen().size(), 1u);
    EXPECT_EQ(cancel.seen()[0].text, QStringLiteral("报价还没有保存，是否保存？"));
    QStringList buttons = cancel.seen()[0].buttons;  // in the platform's order
    buttons.sort();
    QStringList expected{QStringLiteral("保存"), QStringLiteral("不保存"), QStringLiteral("取消")};
    expected.sort();
    EXPECT_EQ(buttons, expected);
    EXPECT_TRUE(window.isVisible());
  }
  {
    // 保存: the file dialog, then the window closes once the file is written.
    QSignalSpy saved(&window.files(), &QuotationFiles::saveFinished);
    ModalAnswerer saveFirst({QMessageBox::Save}, answerFileDialog(path("closing.json")));
    EXPECT_FALSE(window.close());
    ASSERT_TRUE(waitUntil([&] { return saved.count() == 1; }, 10000));
    ASSERT_TRUE(waitUntil([&] { return !window.isVisible(); }));
    EXPECT_EQ(saveFirst.seen().size(), 2u);
    EXPECT_TRUE(QFile::exists(path("closing.json")));
  }
  window.show();
  {
    ModalAnswerer nothingAsked;
    EXPECT_TRUE(window.close());
    EXPECT_TRUE(nothingAsked.seen().empty()) << "saved: nothing to ask";
  }
  window.show();
  QTest::mouseClick(control<QPushButton>(window, "按钮1"), Qt::LeftButton);
  ASSERT_TRUE(settled(window));
  ModalAnswerer discard({QMessageBox::Discard});
  EXPECT_TRUE(window.close());
  EXPECT_EQ(discard.seen().size(), 1u);
}

TEST_F(QuotationFilesTest, OpeningOverEditsNotSavedAsksFirst) {
  QuotationWindow& full = openWindow(PackageScope::Full);
  const std::vector<QuoteItem> fullRows = quoteRowsOf(list(full));
  QSignalSpy fullSaved(&full.files(), &QuotationFiles::saveFinished);
  full.files().save(path("full.json"));
  ASSERT_TRUE(waitUntil([&] { return fullSaved.count() == 1; }, 10000));

  QuotationWindow& window = openWindow(PackageScope::Half);
  QSignalSpy saved(&window.files(), &QuotationFiles::saveFinished);
  QSignalSpy opened(&window.files(), &QuotationFiles::openFinished);
  QTest::mouseClick(control<QPushButton>(window, "按钮1"), Qt::LeftButton);  // 删除此项 with no row
  ASSERT_TRUE(settled(window));
  const std::vector<QuoteItem> edited = quoteRowsOf(list(window));
  {
    // 取消: no file dialog, nothing changes.
    ModalAnswerer cancel({QMessageBox::Cancel});
    pressCtrl(window, Qt::Key_O);
    ASSERT_EQ(cancel.seen().size(), 1u);
    EXPECT_EQ(cancel.seen()[0].text, QStringLiteral("报价还没有保存，是否保存？"));
  }
  EXPECT_EQ(quoteRowsOf(list(window)), edited);
  EXPECT_TRUE(window.controller().unsaved());
  {
    // 保存: the save dialog, the file written, then the open dialog.
    ModalAnswerer save({QMessageBox::Save}, answerFileDialogs({path("edited.json"), path("full.json")}));
    QTest::mouseClick(control<QPushButton>(window, "openQuotationButton"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    EXPECT_EQ(saved.count(), 1);
    ASSERT_EQ(save.seen().size(), 3u);
    EXPECT_EQ(save.seen()[1].title, QStringLiteral("保存报价"));
    EXPECT_EQ(save.seen()[2].title, QStringLiteral("打开报价"));
  }
  EXPECT_EQ(quoteRowsOf(list(window)), fullRows);
  const QuotationFileReading kept = readQuotationFileAt(path("edited.json"));
  ASSERT_TRUE(kept.file) << kept.error;
  EXPECT_EQ(kept.file->rows, edited);
  EXPECT_EQ(kept.file->edits.size(), 1u);

  QTest::mouseClick(control<QPushButton>(window, "按钮1"), Qt::LeftButton);
  ASSERT_TRUE(settled(window));
  {
    // 不保存: straight to the open dialog; the edit goes.
    ModalAnswerer discard({QMessageBox::Discard}, answerFileDialog(path("edited.json")));
    pressCtrl(window, Qt::Key_O);
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 2; }, 10000));
    ASSERT_EQ(discard.seen().size(), 2u);
    EXPECT_EQ(discard.seen()[1].title, QStringLiteral("打开报价"));
  }
  EXPECT_EQ(saved.count(), 1);
  EXPECT_EQ(quoteRowsOf(list(window)), edited);
  EXPECT_FALSE(window.controller().unsaved());
}

TEST_F(QuotationFilesTest, TheRoomEntryWindowOpensAFileItsRoomsFloorAndGradeComeBack) {
  const QuoteRequest request{.rooms = {livingRoom(), RoomEntry{"卧室", "3600*3000*2800", "1500*1500", "实木免漆门", "2", "3"}},
                             .grade = "豪华型装修",
                             .scope = PackageScope::Full,
                             .floor = FloorChoice::Tiles};
  QuotationSession session(request);
  ASSERT_TRUE(session.build(services_.state->prices.itemPrices()).built());
  ASSERT_EQ(saveQuotationFile(quotationFileOf(KeptQuotation(std::move(session)), "2026-12-09"),
                              path("kept.json").toStdString()),
            "");
  std::ofstream(path("damaged.json").toStdString()) << R"({"version": 1, "rooms": [)";

  MainWindow main(services_);
  main.show();
  RoomEntryWindow& rooms = openRoomEntry(main);
  QTreeView& roomList = list(rooms);
  {
    // No room, no quotation to keep: the package buttons' warning, and no file dialog.
    ModalAnswerer refused({QMessageBox::Ok});
    pressCtrl(rooms, Qt::Key_S);
    ASSERT_EQ(refused.seen().size(), 1u);
    EXPECT_EQ(refused.seen()[0].text, QStringLiteral("至少要添加1房间！"));
  }
  addRoom(rooms);
  const std::vector<RoomEntry> before = roomRowsOf(roomList);
  QSignalSpy opened(&rooms.files(), &RoomListFiles::openFinished);
  {
    // Over a room in no file: asked first. A damaged file is refused, naming it; nothing changes.
    ModalAnswerer refused({QMessageBox::Discard, QMessageBox::NoButton, QMessageBox::Ok},
                          answerFileDialog(path("damaged.json")));
    QTest::mouseClick(control<QPushButton>(rooms, "openQuotationButton"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 1; }, 10000));
    ASSERT_EQ(refused.seen().size(), 3u);
    EXPECT_EQ(refused.seen()[0].text, QStringLiteral("报价还没有保存，是否保存？"));
    EXPECT_EQ(refused.seen()[1].title, QStringLiteral("打开报价"));
    EXPECT_TRUE(refused.seen()[2].text.contains(QStringLiteral("damaged.json"))) << refused.seen()[2].text.toStdString();
  }
  EXPECT_EQ(roomRowsOf(roomList), before);
  EXPECT_TRUE(rooms.files().unsaved());
  {
    ModalAnswerer letGo({QMessageBox::Discard}, answerFileDialog(path("kept.json")));
    pressCtrl(rooms, Qt::Key_O);
    ASSERT_TRUE(waitUntil([&] { return opened.count() == 2; }, 10000));
    EXPECT_EQ(opened.at(1).at(1).toString(), QString());
    EXPECT_EQ(letGo.seen().size(), 2u);
  }
  EXPECT_EQ(roomRowsOf(roomList), request.rooms);
  EXPECT_TRUE(control<QRadioButton>(rooms, "单选框2")->isChecked());
  EXPECT_EQ(control<QComboBox>(main, "组合框1")->currentText(), QStringLiteral("豪华型装修"));
  EXPECT_EQ(rooms.windowTitle(), QStringLiteral("豪华型装修详细报价！"));
  EXPECT_EQ(rooms.controller().package(), PackageScope::Full);
  EXPECT_FALSE(rooms.files().unsaved()) << "the opened file holds them";
}

TEST_F(QuotationFilesTest, ClosingTheRoomEntryOrTheMainWindowWithRoomsNotSavedAsksOnce) {
  MainWindow main(services_);
  main.show();
  QSignalSpy ended(&main, &MainWindow::closed);
  RoomEntryWindow* rooms = &openRoomEntry(main);
  addRoom(*rooms);
  {
    // The main window asks for the room entry window's rooms; 取消 keeps both open.
    ModalAnswerer cancel({QMessageBox::Cancel});
    EXPECT_FALSE(main.close());
    ASSERT_EQ(cancel.seen().size(), 1u);
    EXPECT_EQ(cancel.seen()[0].text, QStringLiteral("报价还没有保存，是否保存？"));
  }
  EXPECT_TRUE(main.isVisible());
  EXPECT_TRUE(rooms->isVisible());
  EXPECT_EQ(ended.count(), 0);
  {
    // 保存 on closing the room entry window: the file dialog, then it closes once written.
    QSignalSpy saved(&rooms->files(), &RoomListFiles::saveFinished);
    ModalAnswerer save({QMessageBox::Save}, answerFileDialog(path("rooms")));
    // Closed, it may be deleted while the events are processed.
    const QPointer<RoomEntryWindow> closing(rooms);
    EXPECT_FALSE(rooms->close());
    ASSERT_TRUE(waitUntil([&] { return saved.count() == 1; }, 10000));
    EXPECT_EQ(saved.at(0).at(1).toString(), QString());
    ASSERT_TRUE(waitUntil([&] { return closing.isNull() || !closing->isVisible(); }));
    flushDeletes();
    EXPECT_EQ(main.roomEntryWindow(), nullptr);
    EXPECT_EQ(save.seen().size(), 2u);
  }
  const QuotationFileReading written = readQuotationFileAt(path("rooms.json"));
  ASSERT_TRUE(written.file) << written.error;
  EXPECT_EQ(written.file->request.rooms, std::vector<RoomEntry>{livingRoom()});
  EXPECT_FALSE(written.file->rows.empty());

  // Saved in the quotation window opened from the list, the rooms are in that file.
  rooms = &openRoomEntry(main);
  addRoom(*rooms);
  saveInQuotationWindow(*rooms, path("quotation.json"));
  {
    ModalAnswerer nothingAsked;
    EXPECT_TRUE(rooms->close());
    EXPECT_TRUE(nothingAsked.seen().empty());
  }
  flushDeletes();

  // Closing the program: asked once, for the room entry window; 不保存 ends it at once, 保存
  // once the file is written.
  for (const QMessageBox::StandardButton answer : {QMessageBox::Discard, QMessageBox::Save}) {
    SCOPED_TRACE(answer == QMessageBox::Save ? "保存" : "不保存");
    MainWindow program(services_);
    program.show();
    QSignalSpy programEnded(&program, &MainWindow::closed);
    RoomEntryWindow& entry = openRoomEntry(program);
    addRoom(entry);
    addRoom(entry);
    ModalAnswerer answerer({answer}, answerFileDialog(path("closing.json")));
    EXPECT_EQ(program.close(), answer == QMessageBox::Discard);
    ASSERT_TRUE(waitUntil([&] { return programEnded.count() == 1; }, 10000));
    ASSERT_TRUE(waitUntilQuiet(*services_.workers));
    flushDeletes();
    EXPECT_EQ(answerer.seen().size(), answer == QMessageBox::Save ? 2u : 1u);
    EXPECT_EQ(programEnded.count(), 1);
  }
  const QuotationFileReading closing = readQuotationFileAt(path("closing.json"));
  ASSERT_TRUE(closing.file) << closing.error;
  EXPECT_EQ(closing.file->request.rooms, (std::vector<RoomEntry>{livingRoom(), livingRoom()}));
}

}  // namespace
}  // namespace decor::test
