// 保存报价 and 打开报价 in the quotation window, driven through its buttons, shortcuts and file
// dialogs: what is saved opens with the same rows in another window, a refused file changes
// nothing, and closing with edits not saved asks once.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <fstream>
#include <iterator>

#include "app/quotation_controller.h"
#include "app/quotation_files.h"
#include "app/quotation_window.h"
#include "gui_test_support.h"
#include "quotation/quotation_file.h"
#include "quote_test_support.h"

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

}  // namespace
}  // namespace decor::test
