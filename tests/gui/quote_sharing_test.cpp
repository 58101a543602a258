// Keeping and sharing a quotation from its window: the context menu and the shortcuts, the
// file dialog with its proposed name, the file saved off the GUI thread, the message for a
// folder that cannot be written, and the print preview.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <fcntl.h>
#include <unistd.h>

#include "app/quotation_controller.h"
#include "app/quotation_window.h"
#include "app/quote_sharing.h"
#include "export/quote_document.h"
#include "gui_test_support.h"
#include "shell_command.h"
#include "quote_test_support.h"
#include "ui/spin_text_box.h"

namespace decor::test {
namespace {

class QuoteSharingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    services_.state->prices.resetToDefaults();
    window_ = std::make_unique<QuotationWindow>(services_,
                                                QuoteRequest{.rooms = {livingRoom()}, .grade = "舒适型装修"});
    controller_ = &window_->controller();
    window_->show();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    controller_->start();
    ASSERT_TRUE(waitUntil([&] { return !controller_->building(); }));
  }
  void TearDown() override {
    window_.reset();
    flushDeletes();
  }

  QTreeView& list() { return *control<QTreeView>(*window_, "超级列表框1"); }
  QuoteSharing& sharing() { return controller_->sharing(); }

  // Right-clicks at the middle of a row (or below the rows) and returns the menu shown.
  QMenu* openContextMenu(int row) {
    const QPoint at = row >= 0 ? list().visualRect(list().model()->index(row, 1)).center()
                               : QPoint(10, list().viewport()->height() - 5);
    QTest::mousePress(list().viewport(), Qt::RightButton, Qt::NoModifier, at);
    QTest::mouseRelease(list().viewport(), Qt::RightButton, Qt::NoModifier, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, list().viewport()->mapToGlobal(at));
    QApplication::sendEvent(list().viewport(), &event);
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
  }

  static QStringList texts(const QMenu& menu) {
    QStringList result;
    for (const QAction* action : menu.actions()) result << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return result;
  }

  // Answers the file dialog with `path` and records the name it proposed.
  std::function<void(QWidget&)> answerFileDialog(const QString& path) {
    return [this, path](QWidget& dialog) {
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      if (files == nullptr) return;
      proposed_ = files->selectedFiles().value(0);
      dialogTitle_ = files->windowTitle();
      // Typed into the name box, as a user would; the box takes a whole path.
      auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(name, nullptr);
      name->setText(path);
      QMetaObject::invokeMethod(files, "accept");
    };
  }

  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  AppServices services_ = testServices(fetcher_);
  std::unique_ptr<QuotationWindow> window_;
  QuotationController* controller_ = nullptr;
  QTemporaryDir folder_;
  QString proposed_;
  QString dialogTitle_;
};

TEST_F(QuoteSharingTest, ContextMenuOnARowOrBelowThemWithoutTouchingTheDetailPanel) {
  const QStringList expected{QStringLiteral("导出为 Excel…"), QStringLiteral("导出为 PDF…"), QStringLiteral("-"),
                             QStringLiteral("打印…")};
  for (int row : {1, -1}) {
    QMenu* menu = openContextMenu(row);
    ASSERT_NE(menu, nullptr) << row;
    EXPECT_EQ(texts(*menu), expected);
    menu->close();
    flushDeletes();
  }
  EXPECT_EQ(control<QLineEdit>(*window_, "编辑框1")->text(), QString()) << "a right click is no row click";
}

TEST_F(QuoteSharingTest, ExcelThroughTheContextMenuWithTheProposedName) {
  // The user's documents folder, as the desktop's user-dirs file names it.
  const QString documents = QDir(folder_.path()).filePath(QStringLiteral("我的文档"));
  const QString config = QDir(folder_.path()).filePath(QStringLiteral("config"));
  QDir().mkpath(documents);
  QDir().mkpath(config);
  QFile userDirs(QDir(config).filePath(QStringLiteral("user-dirs.dirs")));
  ASSERT_TRUE(userDirs.open(QIODevice::WriteOnly));
  userDirs.write(QStringLiteral("XDG_DOCUMENTS_DIR=\"%1\"\n").arg(documents).toUtf8());
  userDirs.close();
  const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));

  const QString target = QDir(folder_.path()).filePath(QStringLiteral("报价.xlsx"));
  QSignalSpy finished(&sharing(), &QuoteSharing::saveFinished);
  ModalAnswerer answerer({}, answerFileDialog(target));
  QMenu* menu = openContextMenu(2);
  ASSERT_NE(menu, nullptr);
  menu->setActiveAction(menu->actions().at(0));
  QTest::keyClick(menu, Qt::Key_Return);

  const bool saved = waitUntil([&] { return finished.count() == 1; }, 10000);
  if (configHome.isNull()) {
    qunsetenv("XDG_CONFIG_HOME");
  } else {
    qputenv("XDG_CONFIG_HOME", configHome);
  }
  ASSERT_TRUE(saved);
  EXPECT_EQ(finished.at(0).at(0).toString(), target);
  EXPECT_EQ(finished.at(0).at(1).toString(), QString());
  EXPECT_EQ(dialogTitle_, QStringLiteral("导出为 Excel"));
  EXPECT_EQ(proposed_, QDir(documents).filePath(QStringLiteral("半包装修详细报价-%1.xlsx")
                                                    .arg(QString::fromStdString(todayIsoDate()))));
  ASSERT_EQ(answerer.seen().size(), 1u) << "no message after a good save";

  QFile file(target);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.read(2), QByteArray("PK"));
  EXPECT_EQ(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("报价.xlsx")});

  // The workbook says what it prices: the window's grade, package, floor and rooms.
  const std::string dump =
      runShell("/usr/bin/python3 " DECOR_TEST_TOOLS_DIR "/dump_xlsx.py '" + target.toStdString() + "' 2>&1").output;
  const std::size_t rooms = dump.find("sheet 房间:\n");
  ASSERT_NE(rooms, std::string::npos) << dump;
  EXPECT_NE(dump.find("row 1:\t*t:装修档次\tt:舒适型装修\t\t\t\t\n"
                      "row 2:\t*t:报价方式\tt:半包\t\t\t\t\n"
                      "row 3:\t*t:地面\tt:地板\t\t\t\t\n",
                      rooms),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find("row 6:\tt:客厅\tt:3200*2800*2920\tt:800*1500\tt:实木门\tt:1\tt:4\n", rooms), std::string::npos)
      << dump;
}

TEST_F(QuoteSharingTest, PdfByMenuAndAMissingExtensionIsAdded) {
  const QString target = QDir(folder_.path()).filePath(QStringLiteral("给设计师"));
  QSignalSpy finished(&sharing(), &QuoteSharing::saveFinished);
  ModalAnswerer answerer({}, answerFileDialog(target));
  sharing().pdfAction()->trigger();
  ASSERT_TRUE(waitUntil([&] { return finished.count() == 1; }, 10000));
  EXPECT_EQ(finished.at(0).at(0).toString(), target + QStringLiteral(".pdf"));
  EXPECT_TRUE(proposed_.endsWith(QStringLiteral("/半包装修详细报价-%1.pdf").arg(QString::fromStdString(todayIsoDate()))))
      << proposed_.toStdString();
  QFile saved(target + QStringLiteral(".pdf"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.read(5), QByteArray("%PDF-"));
}

TEST_F(QuoteSharingTest, AnUnwritableFolderIsToldInAMessageBox) {
  // Root writes through any mode bits; the kernel's own folder refuses it too.
  QString locked = QDir(folder_.path()).filePath(QStringLiteral("locked"));
  if (::geteuid() == 0) {
    locked = QStringLiteral("/sys");
  } else {
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
  }
  const QString target = QDir(locked).filePath(QStringLiteral("报价.xlsx"));
  const int probe = ::open(QFile::encodeName(target).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
  ASSERT_LT(probe, 0) << "this folder can be written";
  const QString reason = errno == EROFS ? QStringLiteral("磁盘是只读的") : QStringLiteral("没有写入权限");

  QSignalSpy finished(&sharing(), &QuoteSharing::saveFinished);
  ModalAnswerer answerer({QMessageBox::Ok}, answerFileDialog(target));
  QTest::keyClick(window_.get(), Qt::Key_E, Qt::ControlModifier);
  ASSERT_TRUE(waitUntil([&] { return finished.count() == 1 && answerer.seen().size() == 2; }, 10000));

  const QString message = QStringLiteral("无法保存文件“%1”：%2").arg(target, reason);
  EXPECT_EQ(finished.at(0).at(1).toString(), message);
  EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("导出为 Excel")) << "Ctrl+S saves the Excel file";
  const SeenDialog& box = answerer.seen()[1];
  EXPECT_EQ(box.title, QStringLiteral("信息："));
  EXPECT_EQ(box.text, message);
  EXPECT_EQ(box.icon, QMessageBox::Warning);
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST_F(QuoteSharingTest, CtrlPShowsThePrintPreviewAndCancelSavesNothing) {
  {
    ModalAnswerer answerer;
    QTest::keyClick(window_.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].className, QStringLiteral("QPrintPreviewDialog"));
    EXPECT_EQ(answerer.seen()[0].title, QStringLiteral("打印预览 - 半包装修详细报价"));
  }

  // A file dialog closed without a name saves nothing.
  window_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
  QSignalSpy finished(&sharing(), &QuoteSharing::saveFinished);
  ModalAnswerer closer;
  QTest::keyClick(window_.get(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(closer.seen().size(), 1u);
  EXPECT_EQ(closer.seen()[0].className, QStringLiteral("QFileDialog"));
  ASSERT_TRUE(waitUntilQuiet(*services_.workers));
  EXPECT_EQ(finished.count(), 0);
}

TEST_F(QuoteSharingTest, VisibleButtonsExportAndPrintWithoutCoveringAnyControl) {
  struct Case {
    QString text, dialogClass, dialogTitle;
  };
  const std::vector<Case> cases{
      {QStringLiteral("导出 Excel"), QStringLiteral("QFileDialog"), QStringLiteral("导出为 Excel")},
      {QStringLiteral("导出 PDF"), QStringLiteral("QFileDialog"), QStringLiteral("导出为 PDF")},
      {QStringLiteral("打印"), QStringLiteral("QPrintPreviewDialog"), QStringLiteral("打印预览 - 半包装修详细报价")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    QPushButton* button = nullptr;
    for (QPushButton* candidate : window_->findChildren<QPushButton*>()) {
      if (candidate->text() == c.text && candidate->window() == window_.get()) button = candidate;
    }
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());
    EXPECT_TRUE(window_->rect().contains(button->geometry()));
    for (QWidget* other : window_->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (other != button && other->isVisible()) {
        EXPECT_FALSE(other->geometry().intersects(button->geometry())) << other->objectName().toStdString();
      }
    }
    ModalAnswerer answerer;
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].className, c.dialogClass);
    EXPECT_EQ(answerer.seen()[0].title, c.dialogTitle);
  }
}

}  // namespace
}  // namespace decor::test
