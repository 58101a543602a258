// Every window as its user meets it: each control the windows' code and these tests drive is
// there under its design name and of its kind, with the text and items it opens with; Tab visits
// the controls in reading order and reaches every one that takes the focus; no two visible
// controls cover each other and each lies inside its window; every picture it shows exists.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeView>
#include <algorithm>
#include <functional>
#include <map>

#include "app/add_item_window.h"
#include "app/contact_window.h"
#include "app/main_window.h"
#include "app/quotation_window.h"
#include "app/result_window.h"
#include "app/room_entry_window.h"
#include "catalogue_support.h"
#include "gui_test_support.h"
#include "ui/artwork.h"
#include "ui/hyperlink_label.h"
#include "ui/picture_button.h"
#include "ui/spin_text_box.h"

namespace decor::test {
namespace {

const std::string kDesignCounterText = "TarselCorvalen装饰公司报价评估工具 － 已帮助位业主预算过报价";
const std::vector<std::string> kDigits = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};

class WindowCatalogue : public ::testing::Test {
 protected:
  std::unique_ptr<QWidget> mainWindow() { return std::make_unique<MainWindow>(services_); }
  std::unique_ptr<QWidget> roomEntryWindow() {
    return std::make_unique<RoomEntryWindow>(
        services_, QStringLiteral("舒适型装修详细报价！"), [] { return std::string("舒适型装修"); }, nullptr);
  }
  std::unique_ptr<QWidget> quotationWindow() {
    return std::make_unique<QuotationWindow>(services_, QuoteRequest{.rooms = {}, .grade = "舒适型装修"});
  }
  std::unique_ptr<QWidget> resultWindow() {
    auto window = std::make_unique<ResultWindow>(services_, "结果");
    window->markSent();  // closes without the question when the test ends
    return window;
  }

  // Every window, by the name a failure shows.
  std::vector<std::pair<std::string, std::function<std::unique_ptr<QWidget>()>>> everyWindow() {
    return {{"main", [this] { return mainWindow(); }},
            {"room entry", [this] { return roomEntryWindow(); }},
            {"quotation", [this] { return quotationWindow(); }},
            {"add item", [] { return std::make_unique<AddItemWindow>(); }},
            {"contact", [this] { return std::make_unique<ContactWindow>(services_); }},
            {"result", [this] { return resultWindow(); }}};
  }

  AppServices services_ = testServices(std::make_shared<ScriptedFetcher>());
};

// Each drop-down's items, in order.
void expectItems(QWidget& window, const std::vector<std::pair<const char*, std::vector<std::string>>>& items) {
  for (const auto& [name, expected] : items) {
    EXPECT_EQ(itemsOf(*control<QComboBox>(window, name)), expected) << name;
  }
}

void expectSpinRange(QWidget& window, const char* name, int minimum, int maximum) {
  const SpinTextBox* box = control<SpinTextBox>(window, name);
  EXPECT_EQ(box->minimum(), minimum) << name;
  EXPECT_EQ(box->maximum(), maximum) << name;
}

TEST_F(WindowCatalogue, MainWindow) {
  const std::unique_ptr<QWidget> window = mainWindow();
  EXPECT_EQ(window->windowTitle().toStdString(), "装修报价评估工具");
  EXPECT_EQ(window->minimumSize(), window->maximumSize()) << "fixed size";
  EXPECT_EQ(controlsOf(*window), (std::vector<Control>{
                                     {"室", "drop-down list", "3"},
                                     {"厅", "drop-down list", "1"},
                                     {"厨", "drop-down list", "1"},
                                     {"卫", "drop-down list", "1"},
                                     {"阳", "drop-down list", "2"},
                                     {"平方", "edit box with spin buttons", "100"},
                                     {"组合框1", "drop-down list", "舒适型装修"},
                                     {"按钮2", "picture button", "详细报价"},
                                     {"按钮1", "picture button", "估算报价"},
                                     {"图片框1", "picture box", ""},
                                     {"标签17", "label", kDesignCounterText},
                                 }));
  expectItems(*window, {{"室", kDigits},
                        {"厅", kDigits},
                        {"厨", kDigits},
                        {"卫", kDigits},
                        {"阳", kDigits},
                        {"组合框1", {"出租房装修", "经济型装修", "舒适型装修", "精  装  修", "豪华型装修"}}});
  expectSpinRange(*window, "平方", 30, 5000);
  EXPECT_TRUE(control<SpinTextBox>(*window, "平方")->decimalInput());
}

TEST_F(WindowCatalogue, RoomEntryWindow) {
  const std::unique_ptr<QWidget> window = roomEntryWindow();
  EXPECT_EQ(window->windowTitle().toStdString(), "舒适型装修详细报价！");
  EXPECT_EQ(controlsOf(*window), (std::vector<Control>{
                                     {"组合框2", "editable drop-down", "客厅"},
                                     {"编辑框5", "edit box", "3200*2800*2920"},
                                     {"组合框3", "editable drop-down", "800*1500"},
                                     {"组合框4", "editable drop-down", "实木门"},
                                     {"组合框5", "editable drop-down", "4"},
                                     {"编辑框1", "edit box with spin buttons", "1"},
                                     {"单选框1", "radio button", "铺地板"},
                                     {"单选框2", "radio button", "铺瓷砖"},
                                     {"按钮4", "picture button", "添加"},
                                     {"按钮8", "picture button", "修改"},
                                     {"按钮7", "picture button", "删除"},
                                     {"超级列表框1", "report list", ""},
                                     {"标签17", "label", kDesignCounterText},
                                     {"openQuotationButton", "push button", "打开报价"},
                                     {"按钮5", "picture button", "半包装修"},
                                     {"按钮6", "picture button", "全包装修"},
                                     {"saveQuotationButton", "push button", "保存报价"},
                                 }));
  expectItems(*window, {{"组合框2", {"客厅", "餐厅", "厨房", "卧室", "卫生间", "书房", "阳台"}},
                        {"组合框3", {"0*0", "300*1500", "600*1500", "800*1500", "1200*1500", "1500*1500"}},
                        {"组合框4", {"出租房门", "实木免漆门", "实木门", "原木门", "移门", "推拉门", "塑钢门", "彩铝门",
                                     "折叠门", "(无)"}},
                        {"组合框5", {"4", "3", "2", "1"}}});
  expectSpinRange(*window, "编辑框1", 0, 10);
  EXPECT_FALSE(control<SpinTextBox>(*window, "编辑框1")->decimalInput()) << "the leaves reaction must see a minus";
  EXPECT_TRUE(control<QRadioButton>(*window, "单选框1")->isChecked());
  EXPECT_EQ(columnsOf(*control<QTreeView>(*window, "超级列表框1")),
            (std::vector<Column>{{"房屋类型", "left"},
                                 {"房间长宽高", "right"},
                                 {"窗户长高", "right"},
                                 {"门的类型", "right"},
                                 {"门的扇数", "right"},
                                 {"墙面数", "right"}}));
}

TEST_F(WindowCatalogue, QuotationWindow) {
  const std::unique_ptr<QWidget> window = quotationWindow();
  EXPECT_EQ(window->windowTitle().toStdString(), "TarselCorvalen装饰——用心装点每一个家");
  EXPECT_EQ(controlsOf(*window), (std::vector<Control>{
                                     {"超级列表框1", "report list", ""},
                                     {"标签6", "label", "设计师专线：\n0571-8888 6666"},
                                     {"图片框1", "picture box", ""},
                                     {"标签1", "label",
                                      "TarselCorvalen装饰\n"
                                      "用心装点每一个家\n"
                                      "承接：家装、旧房翻新、店面装修\n"
                                      "专线：0571-8888 6666\n"
                                      "网址：http://www.example-decor.test\n"
                                      "\n"
                                      "*注：单击表项出现详情\n"
                                      "     由于没有设计，装修报价供参考与对比"},
                                     {"超级链接框1", "hyperlink", "报价不够详细，设计师免费帮忙"},
                                     {"标签2", "label", "项目名称："},
                                     {"编辑框1", "edit box", ""},
                                     {"标签3", "label", "单    位："},
                                     {"编辑框2", "edit box", ""},
                                     {"标签4", "label", "数    量："},
                                     {"编辑框3", "edit box with spin buttons", ""},
                                     {"标签5", "label", "单    价："},
                                     {"编辑框4", "edit box", ""},
                                     {"按钮1", "push button", "删除此项"},
                                     {"按钮3", "push button", "修改"},
                                     {"按钮2", "push button", "添加项"},
                                     {"exportExcelButton", "push button", "导出 Excel"},
                                     {"exportPdfButton", "push button", "导出 PDF"},
                                     {"printButton", "push button", "打印"},
                                     {"saveQuotationButton", "push button", "保存报价"},
                                     {"openQuotationButton", "push button", "打开报价"},
                                 }));
  EXPECT_EQ(columnsOf(*control<QTreeView>(*window, "超级列表框1")),
            (std::vector<Column>{{"序号", "left"},
                                 {"项目名称", "left"},
                                 {"单位", "right"},
                                 {"数量", "right"},
                                 {"单价", "right"},
                                 {"总计", "right"}}));
  expectSpinRange(*window, "编辑框3", 0, 100);
  EXPECT_TRUE(control<HyperlinkLabel>(*window, "超级链接框1")->address().isEmpty());
}

TEST_F(WindowCatalogue, AddItemWindow) {
  AddItemWindow window;
  EXPECT_EQ(window.windowTitle().toStdString(), "添加项目");
  EXPECT_EQ(controlsOf(window), (std::vector<Control>{
                                    {"标签1", "label", "项目名称："},
                                    {"标签2", "label", "数   量："},
                                    {"标签3", "label", "单   价："},
                                    {"组合框1", "editable drop-down", "包水管"},
                                    {"组合框2", "editable drop-down", "1"},
                                    {"组合框3", "editable drop-down", "98"},
                                    {"按钮1", "push button", "确定添加"},
                                    {"按钮2", "push button", "取消"},
                                }));
  expectItems(window, {{"组合框1", {"铲墙面", "双包门套", "工艺鞋柜", "石膏板吊顶", "鞋柜隔断制作", "墙体拆除", "粉缺口",
                                    "墙地砖铺贴", "包水管", "封门头", "清水漆", "防水工程", "无门衣柜", "有门吊柜",
                                    "地面找平", "电视背景墙", "铝扣板吊顶", "单包门套"}},
                       {"组合框2", {"1", "2", "5", "10", "20", "50", "100"}},
                       {"组合框3", {"10", "20", "50", "100", "200", "500", "1000", "2000"}}});
  // Each box opens with its text but nothing selected.
  for (const char* name : {"组合框1", "组合框2", "组合框3"}) {
    EXPECT_EQ(control<QComboBox>(window, name)->currentIndex(), -1) << name;
  }
}

TEST_F(WindowCatalogue, ContactWindow) {
  ContactWindow window(services_);
  EXPECT_EQ(window.windowTitle().toStdString(), "我要做精确报价以及设计");
  EXPECT_EQ(controlsOf(window), (std::vector<Control>{
                                    {"标签1", "label", "精确报价请联系我们：（限Tarsel）"},
                                    {"图片框1", "picture box", ""},
                                    {"标签3", "label", "预约设计师：\n0571-8888 6666"},
                                    {"标签2", "label", "网址："},
                                    {"超级链接框3", "hyperlink", "www.example-decor.test"},
                                }));
  EXPECT_EQ(control<HyperlinkLabel>(window, "超级链接框3")->address().toStdString(), "http://www.example-decor.test");
}

TEST_F(WindowCatalogue, ResultWindow) {
  const std::unique_ptr<QWidget> window = resultWindow();
  EXPECT_EQ(window->windowTitle().toStdString(), "快速预算显示结果");
  const std::string text = control<QPlainTextEdit>(*window, "编辑框1")->toPlainText().toStdString();
  EXPECT_EQ(controlsOf(*window), (std::vector<Control>{
                                     {"编辑框1", "multi-line edit box", text},
                                     {"标签1", "label", ""},
                                     {"标签2", "label", "邮箱："},
                                     {"编辑框2", "edit box", ""},
                                     {"标签3", "label", "手机："},
                                     {"编辑框3", "edit box", ""},
                                     {"图形按钮1", "picture button", "点击发送"},
                                 }));
  EXPECT_TRUE(control<QPlainTextEdit>(*window, "编辑框1")->isReadOnly());
}

// Tab goes left to right, top to bottom, and reaches every control that takes the focus; a
// group of radio buttons is one stop, at its checked button.
TEST_F(WindowCatalogue, TabVisitsTheControlsInReadingOrder) {
  for (const auto& [name, make] : everyWindow()) {
    SCOPED_TRACE(name);
    const std::unique_ptr<QWidget> window = make();
    const std::vector<QWidget*> cycle = tabCycleOf(*window);
    std::string visited;
    for (QWidget* stop : cycle) visited += stop->objectName().toStdString() + " ";
    // Going round, the only step back to the top left is the one from the last stop to the first.
    std::size_t stepsBack = 0;
    for (std::size_t i = 0; i < cycle.size(); ++i) {
      if (!readsAfter(cycle[i]->geometry(), cycle[(i + 1) % cycle.size()]->geometry())) ++stepsBack;
    }
    EXPECT_LE(stepsBack, 1u) << visited;
    for (QWidget* widget : designedChildren(*window)) {
      const auto* radio = qobject_cast<QRadioButton*>(widget);
      const bool takesTab = widget->isVisible() && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) &&
                            (radio == nullptr || radio->isChecked());
      EXPECT_EQ(std::count(cycle.begin(), cycle.end(), widget), takesTab ? 1 : 0)
          << widget->objectName().toStdString() << " in " << visited;
    }
  }
}

// What a control shows lies inside its window and clear of every other control. A blank label
// is a coloured backdrop: the controls on it are meant to be there.
TEST_F(WindowCatalogue, VisibleControlsLieInsideTheirWindowAndCoverNoOther) {
  for (const auto& [name, make] : everyWindow()) {
    SCOPED_TRACE(name);
    const std::unique_ptr<QWidget> window = make();
    window->show();
    std::vector<QWidget*> shown;
    for (QWidget* widget : designedChildren(*window)) {
      if (widget->isVisible() && !shownArea(*widget).isEmpty()) shown.push_back(widget);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const std::string first = shown[i]->objectName().toStdString();
      EXPECT_TRUE(window->rect().contains(shown[i]->geometry())) << first;
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        EXPECT_FALSE(shownArea(*shown[i]).intersects(shownArea(*shown[j])))
            << first << " and " << shown[j]->objectName().toStdString();
      }
    }
  }
}

// Picture buttons show both their pictures at their own size; the backgrounds fill the window
// they were drawn for.
TEST_F(WindowCatalogue, EveryPictureShownExistsAtTheSizeItFills) {
  for (const auto& [name, make] : everyWindow()) {
    SCOPED_TRACE(name);
    const std::unique_ptr<QWidget> window = make();
    for (PictureButton* button : window->findChildren<PictureButton*>()) {
      for (const QString& path : {button->normalPicture(), button->hoverPicture()}) {
        EXPECT_EQ(artworkPicture(path).size(), button->size()) << path.toStdString();
      }
    }
  }
  const std::vector<std::pair<std::string, std::function<std::unique_ptr<QWidget>()>>> backgrounds = {
      {"main_background", [this] { return mainWindow(); }},
      {"room_entry_background", [this] { return roomEntryWindow(); }},
      {"result_background", [this] { return resultWindow(); }}};
  for (const auto& [stem, make] : backgrounds) {
    EXPECT_EQ(artworkPicture(QString::fromStdString(":/artwork/" + stem + ".jpg")).size(), make()->size()) << stem;
  }
}

// Both open at their design size and grow from there: the list takes the extra room, every
// other control keeps its size and stays clear of it; the quotation's panel keeps to the right edge.
TEST_F(WindowCatalogue, QuotationAndRoomEntryWindowsGrowThroughTheirListsOnly) {
  const std::unique_ptr<QWidget> quotation = quotationWindow();
  const std::unique_ptr<QWidget> rooms = roomEntryWindow();
  const QSize maximised(1280, 900);
  for (QWidget* window : {quotation.get(), rooms.get()}) {
    SCOPED_TRACE(window->metaObject()->className());
    const QSize design = window->size();
    EXPECT_EQ(window->minimumSize(), design);
    EXPECT_GE(window->maximumSize().width(), maximised.width());
    EXPECT_GE(window->maximumSize().height(), maximised.height());
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    window->show();
    std::map<QWidget*, QRect> before;
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) before[child] = child->geometry();
    window->resize(maximised);
    ASSERT_TRUE(waitUntil([&] { return window->size() == maximised; }));
    const QSize grown = maximised - design;
    QWidget* list = control<QWidget>(*window, "超级列表框1");
    EXPECT_EQ(list->geometry(), before[list].adjusted(0, 0, grown.width(), grown.height()));
    for (const auto& [child, was] : before) {
      if (child == list || child->isHidden()) continue;
      const std::string name = child->objectName().toStdString();
      EXPECT_EQ(child->size(), was.size()) << name;
      EXPECT_TRUE(window->rect().contains(child->geometry())) << name;
      EXPECT_FALSE(child->geometry().intersects(list->geometry())) << name;
      if (window == quotation.get()) {
        EXPECT_EQ(child->pos(), was.topLeft() + QPoint(grown.width(), 0)) << name;
      }
    }
  }
}

}  // namespace
}  // namespace decor::test
