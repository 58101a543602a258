// Every window against its design: caption, size, controls (name, kind, place), texts,
// items, fonts, colours and list columns.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTreeView>
#include <QTest>
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

QColor pixelOf(QWidget& widget, int x, int y) { return widget.grab().toImage().pixelColor(x, y); }

// One control as designed: name, kind, place, the text it opens with and, where the window's
// design sets them, its font's pixel size and weight.
struct Designed {
  std::string name;
  std::string kind;
  int x = 0, y = 0, width = 0, height = 0;
  std::string text;
  int fontPixels = 0;
  bool bold = false;
};

constexpr bool kWithFonts = true;

// The window's controls, their texts and (withFonts) their fonts, each compared as one whole
// list in design order.
void expectDesign(QWidget& window, const std::vector<Designed>& design, bool withFonts = false) {
  std::vector<Control> controls;
  std::vector<ControlText> texts;
  std::vector<ControlFont> fonts;
  for (const Designed& d : design) {
    controls.push_back({d.name, d.kind, d.x, d.y, d.width, d.height});
    texts.push_back({d.name, d.text});
    fonts.push_back({d.name, d.fontPixels, d.bold});
  }
  EXPECT_EQ(controlsOf(window), controls);
  EXPECT_EQ(textsOf(window), texts);
  if (withFonts) {
    EXPECT_EQ(fontsOf(window), fonts);
  }
}

// Each drop-down's items, in order.
void expectItems(QWidget& window, const std::vector<std::pair<const char*, std::vector<std::string>>>& items) {
  for (const auto& [name, expected] : items) {
    EXPECT_EQ(itemsOf(*control<QComboBox>(window, name)), expected) << name;
  }
}

// Each picture button's normal and hover pictures, named by their common stem.
void expectPictures(QWidget& window, const std::vector<std::pair<const char*, std::string>>& stems) {
  for (const auto& [name, stem] : stems) {
    const PictureButton* button = control<PictureButton>(window, name);
    EXPECT_EQ(button->normalPicture().toStdString(), ":/artwork/" + stem + ".jpg") << name;
    EXPECT_EQ(button->hoverPicture().toStdString(), ":/artwork/" + stem + "_hover.jpg") << name;
  }
}

// The helped-owners counter: grey text on the window's background colour.
void expectCounterLabel(QWidget& window, const QColor& background) {
  QLabel* label = control<QLabel>(window, "标签17");
  label->ensurePolished();
  EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(96, 96, 96));
  EXPECT_EQ(pixelOf(*label, 1, 1), background);
}

class WindowCatalogue : public ::testing::Test {
 protected:
  std::shared_ptr<ScriptedFetcher> fetcher_ = std::make_shared<ScriptedFetcher>();
  AppServices services_ = testServices(fetcher_);
};

TEST_F(WindowCatalogue, MainWindow) {
  MainWindow window(services_);
  EXPECT_EQ(window.windowTitle().toStdString(), "装修报价评估工具");
  EXPECT_EQ(window.size(), clientSizeForOuter(540, 388));
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";

  expectDesign(window, {
      {"室", "drop-down list", 72, 166, 43, 21, "3", 12, true},
      {"厅", "drop-down list", 151, 166, 43, 21, "1", 12, true},
      {"厨", "drop-down list", 232, 166, 43, 21, "1", 12, true},
      {"卫", "drop-down list", 314, 166, 43, 21, "1", 12, true},
      {"阳", "drop-down list", 392, 166, 43, 21, "2", 12, true},
      {"平方", "edit box with spin buttons", 143, 205, 72, 20, "100", 14, true},
      {"组合框1", "drop-down list", 392, 204, 105, 22, "舒适型装修", 14, true},
      {"按钮2", "picture button", 116, 242, 123, 31, "详细报价", 12, false},
      {"按钮1", "picture button", 255, 242, 123, 31, "估算报价", 12, false},
      {"图片框1", "picture box", 407, 243, 88, 24, "", 12, false},
      {"标签17", "label", 65, 289, 423, 16, kDesignCounterText, 12, false},
  }, kWithFonts);
  expectItems(window, {{"室", kDigits},
                       {"厅", kDigits},
                       {"厨", kDigits},
                       {"卫", kDigits},
                       {"阳", kDigits},
                       {"组合框1", {"出租房装修", "经济型装修", "舒适型装修", "精  装  修", "豪华型装修"}}});
  SpinTextBox* 平方 = control<SpinTextBox>(window, "平方");
  EXPECT_EQ(平方->font().family().toStdString(), "SimSun");
  EXPECT_EQ(control<QComboBox>(window, "组合框1")->font().family().toStdString(), "SimSun");
  EXPECT_EQ(平方->minimum(), 30);
  EXPECT_EQ(平方->maximum(), 5000);
  EXPECT_TRUE(平方->decimalInput());

  expectPictures(window, {{"按钮1", "button_estimate"}, {"按钮2", "button_detailed"}});
  expectCounterLabel(window, QColor(225, 230, 230));
}

TEST_F(WindowCatalogue, RoomEntryWindow) {
  RoomEntryWindow window(
      services_, QStringLiteral("舒适型装修详细报价！"), [] { return std::string("舒适型装修"); }, nullptr);
  EXPECT_EQ(window.windowTitle().toStdString(), "舒适型装修详细报价！");
  EXPECT_EQ(window.size(), clientSizeForOuter(540, 516));

  expectDesign(window, {
      {"组合框2", "editable drop-down", 104, 130, 88, 20, "客厅", 12, false},
      // The size boxes are a pixel smaller so that a whole L*W*H fits their width.
      {"编辑框5", "edit box", 251, 129, 93, 20, "3200*2800*2920", 11, false},
      {"组合框3", "editable drop-down", 429, 129, 75, 20, "800*1500", 11, false},
      {"组合框4", "editable drop-down", 105, 166, 87, 20, "实木门", 12, false},
      {"组合框5", "editable drop-down", 248, 166, 101, 20, "4", 12, true},
      {"编辑框1", "edit box with spin buttons", 433, 166, 49, 20, "1", 12, true},
      {"单选框1", "radio button", 99, 205, 64, 16, "铺地板", 12, false},
      {"单选框2", "radio button", 176, 205, 56, 16, "铺瓷砖", 12, false},
      {"按钮4", "picture button", 272, 200, 67, 25, "添加", 12, false},
      {"按钮8", "picture button", 352, 200, 67, 25, "修改", 12, false},
      {"按钮7", "picture button", 432, 200, 67, 25, "删除", 12, false},
      {"超级列表框1", "report list", 32, 236, 476, 172, "", 14, false},
      {"标签17", "label", 56, 413, 423, 16, kDesignCounterText, 12, false},
      {"按钮5", "picture button", 144, 440, 123, 31, "半包装修", 12, false},
      {"按钮6", "picture button", 280, 440, 123, 31, "全包装修", 12, false},
  }, kWithFonts);
  SpinTextBox* 编辑框1 = control<SpinTextBox>(window, "编辑框1");
  QRadioButton* 单选框1 = control<QRadioButton>(window, "单选框1");
  QRadioButton* 单选框2 = control<QRadioButton>(window, "单选框2");
  QTreeView* 超级列表框1 = control<QTreeView>(window, "超级列表框1");
  expectItems(window, {{"组合框2", {"客厅", "餐厅", "厨房", "卧室", "卫生间", "书房", "阳台"}},
                       {"组合框3", {"0*0", "300*1500", "600*1500", "800*1500", "1200*1500", "1500*1500"}},
                       {"组合框4", {"出租房门", "实木免漆门", "实木门", "原木门", "移门", "推拉门", "塑钢门", "彩铝门",
                                    "折叠门", "(无)"}},
                       {"组合框5", {"4", "3", "2", "1"}}});
  EXPECT_EQ(编辑框1->minimum(), 0);
  EXPECT_EQ(编辑框1->maximum(), 10);
  EXPECT_FALSE(编辑框1->decimalInput()) << "the leaves reaction must see a typed minus sign";
  EXPECT_TRUE(单选框1->isChecked());
  EXPECT_FALSE(单选框2->isChecked());

  // Titles and alignments as designed; the widths follow the list's width.
  std::vector<Column> columns = columnsOf(*超级列表框1);
  for (Column& column : columns) column.width = 0;
  EXPECT_EQ(columns, (std::vector<Column>{
                         {"房屋类型", 0, "left"},
                         {"房间长宽高", 0, "right"},
                         {"窗户长高", 0, "right"},
                         {"门的类型", 0, "right"},
                         {"门的扇数", 0, "right"},
                         {"墙面数", 0, "right"},
                     }));
  EXPECT_EQ(超级列表框1->model()->rowCount(), 0);
  EXPECT_EQ(超级列表框1->font().family().toStdString(), "SimSun");

  expectCounterLabel(window, QColor(235, 235, 235));
  expectPictures(window, {{"按钮4", "button_add"},
                          {"按钮8", "button_modify"},
                          {"按钮7", "button_delete"},
                          {"按钮5", "button_half_package"},
                          {"按钮6", "button_full_package"}});
}

TEST_F(WindowCatalogue, QuotationWindow) {
  QuotationWindow window(services_, QuoteRequest{.rooms = {}, .grade = "舒适型装修"});
  EXPECT_EQ(window.windowTitle().toStdString(), "TarselCorvalen装饰——用心装点每一个家");
  EXPECT_EQ(window.size(), clientSizeForOuter(880, 511));

  expectDesign(window, {
      {"超级列表框1", "report list", 1, 1, 664, 482, ""},
      {"标签6", "label", 676, 8, 101, 32, "设计师专线：\n0571-8888 6666"},
      {"图片框1", "picture box", 787, 8, 80, 24, ""},
      {"标签1", "label", 673, 48, 192, 162,
       "TarselCorvalen装饰\n"
       "用心装点每一个家\n"
       "承接：家装、旧房翻新、店面装修\n"
       "专线：0571-8888 6666\n"
       "网址：http://www.example-decor.test\n"
       "\n"
       "*注：单击表项出现详情\n"
       "     由于没有设计，装修报价供参考与对比"},
      {"超级链接框1", "hyperlink", 679, 217, 192, 16, "报价不够详细，设计师免费帮忙"},
      {"标签2", "label", 677, 241, 54, 24, "项目名称："},
      {"编辑框1", "edit box", 737, 243, 128, 20, ""},
      {"标签3", "label", 677, 277, 56, 16, "单    位："},
      {"编辑框2", "edit box", 737, 276, 128, 20, ""},
      {"标签4", "label", 677, 309, 56, 24, "数    量："},
      {"编辑框3", "edit box with spin buttons", 737, 310, 112, 20, ""},
      {"标签5", "label", 677, 342, 56, 16, "单    价："},
      {"编辑框4", "edit box", 737, 341, 128, 20, ""},
      {"按钮1", "push button", 666, 371, 68, 32, "删除此项"},
      {"按钮3", "push button", 735, 371, 68, 32, "修改"},
      {"按钮2", "push button", 805, 371, 68, 32, "添加项"},
      {"exportExcelButton", "push button", 666, 407, 68, 32, "导出 Excel"},
      {"exportPdfButton", "push button", 735, 407, 68, 32, "导出 PDF"},
      {"printButton", "push button", 805, 407, 68, 32, "打印"},
      {"saveQuotationButton", "push button", 666, 443, 68, 32, "保存报价"},
      {"openQuotationButton", "push button", 735, 443, 68, 32, "打开报价"},
  });
  QTreeView* 超级列表框1 = control<QTreeView>(window, "超级列表框1");
  SpinTextBox* 编辑框3 = control<SpinTextBox>(window, "编辑框3");
  HyperlinkLabel* 超级链接框1 = control<HyperlinkLabel>(window, "超级链接框1");
  EXPECT_EQ(columnsOf(*超级列表框1), (std::vector<Column>{
                                              {"序号", 50, "left"},
                                              {"项目名称", 200, "left"},
                                              {"单位", 50, "right"},
                                              {"数量", 80, "right"},
                                              {"单价", 120, "right"},
                                              {"总计", 120, "right"},
                                          }));
  超级列表框1->ensurePolished();
  EXPECT_EQ(超级列表框1->font().pixelSize(), 16);
  EXPECT_EQ(超级列表框1->font().family().toStdString(), "SimSun");
  EXPECT_EQ(编辑框3->minimum(), 0);
  EXPECT_EQ(编辑框3->maximum(), 100);
  EXPECT_TRUE(超级链接框1->address().isEmpty());
}

TEST_F(WindowCatalogue, AddItemWindow) {
  AddItemWindow window;
  EXPECT_EQ(window.windowTitle().toStdString(), "添加项目");
  EXPECT_EQ(window.size(), clientSizeForOuter(380, 156));
  expectDesign(window, {
      {"标签1", "label", 30, 9, 60, 20, "项目名称："},
      {"标签2", "label", 140, 9, 60, 20, "数   量："},
      {"标签3", "label", 252, 9, 60, 20, "单   价："},
      {"组合框1", "editable drop-down", 24, 32, 90, 20, "包水管"},
      {"组合框2", "editable drop-down", 135, 32, 90, 20, "1"},
      {"组合框3", "editable drop-down", 246, 32, 74, 20, "98"},
      {"按钮1", "push button", 87, 88, 72, 24, "确定添加"},
      {"按钮2", "push button", 207, 88, 72, 24, "取消"},
  });
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
  // The hotline label grows from its design size to show the whole number, the window with it.
  const QSize design = clientSizeForOuter(215, 160);
  EXPECT_EQ(window.height(), design.height());
  EXPECT_GE(window.width(), design.width());
  QLabel* 标签3 = control<QLabel>(window, "标签3");
  EXPECT_GE(标签3->width(), 80);
  EXPECT_GE(标签3->height(), 24);
  expectDesign(window, {
      {"标签1", "label", 8, 16, 192, 32, "精确报价请联系我们：（限Tarsel）"},
      {"图片框1", "picture box", 16, 64, 88, 22, ""},
      {"标签3", "label", 120, 64, 标签3->width(), 标签3->height(), "预约设计师：\n0571-8888 6666"},
      {"标签2", "label", 8, 104, 40, 16, "网址："},
      {"超级链接框3", "hyperlink", 40, 101, 136, 24, "www.example-decor.test"},
  });
  EXPECT_EQ(control<HyperlinkLabel>(window, "超级链接框3")->address().toStdString(), "http://www.example-decor.test");
}

TEST_F(WindowCatalogue, ResultWindow) {
  ResultWindow window(services_, "结果");
  window.markSent();  // closes without the question when the test ends
  EXPECT_EQ(window.windowTitle().toStdString(), "快速预算显示结果");
  EXPECT_EQ(window.size(), clientSizeForOuter(540, 361));
  QPlainTextEdit* 编辑框1 = control<QPlainTextEdit>(window, "编辑框1");
  expectDesign(window, {
      {"编辑框1", "multi-line edit box", 32, 32, 480, 232, 编辑框1->toPlainText().toStdString()},
      {"标签1", "label", 32, 270, 376, 40, ""},
      {"标签2", "label", 54, 269, 40, 16, "邮箱："},
      {"编辑框2", "edit box", 47, 287, 158, 20, ""},
      {"标签3", "label", 230, 270, 40, 16, "手机："},
      {"编辑框3", "edit box", 224, 288, 158, 20, ""},
      {"图形按钮1", "picture button", 412, 274, 97, 31, "点击发送"},
  });
  QLineEdit* 编辑框2 = control<QLineEdit>(window, "编辑框2");
  QLineEdit* 编辑框3 = control<QLineEdit>(window, "编辑框3");
  QLabel* 标签1 = control<QLabel>(window, "标签1");
  QLabel* 标签2 = control<QLabel>(window, "标签2");
  QLabel* 标签3 = control<QLabel>(window, "标签3");
  EXPECT_TRUE(编辑框1->isReadOnly());
  EXPECT_EQ(编辑框1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  编辑框1->ensurePolished();
  EXPECT_EQ(编辑框1->font().pixelSize(), 14);
  EXPECT_EQ(编辑框2->maxLength(), 30);
  EXPECT_EQ(编辑框3->maxLength(), 11);
  for (QLabel* label : {标签1, 标签2, 标签3}) {
    EXPECT_EQ(pixelOf(*label, 1, 1), QColor(Qt::white)) << label->objectName().toStdString();
  }
  expectPictures(window, {{"图形按钮1", "button_send"}});
}

TEST_F(WindowCatalogue, EveryPictureIsInTheResource) {
  // Backgrounds at their window's client size, buttons at their control's size, both states.
  const std::vector<std::pair<std::string, QSize>> pictures = {
      {"main_background", {540, 361}},        {"room_entry_background", {540, 489}},
      {"result_background", {540, 334}},      {"button_estimate", {123, 31}},
      {"button_estimate_hover", {123, 31}},   {"button_detailed", {123, 31}},
      {"button_detailed_hover", {123, 31}},   {"button_half_package", {123, 31}},
      {"button_half_package_hover", {123, 31}}, {"button_full_package", {123, 31}},
      {"button_full_package_hover", {123, 31}}, {"button_add", {67, 25}},
      {"button_add_hover", {67, 25}},         {"button_modify", {67, 25}},
      {"button_modify_hover", {67, 25}},      {"button_delete", {67, 25}},
      {"button_delete_hover", {67, 25}},      {"button_send", {97, 31}},
      {"button_send_hover", {97, 31}}};
  for (const auto& [name, size] : pictures) {
    const QPixmap picture = artworkPicture(QString::fromStdString(":/artwork/" + name + ".jpg"));
    EXPECT_EQ(picture.size(), size) << name;
  }
}

// Both open at their design size and grow from there: the list takes the extra room, every
// other control keeps its size and stays clear of it; the quotation's panel keeps to the right edge.
TEST_F(WindowCatalogue, QuotationAndRoomEntryWindowsGrowThroughTheirListsOnly) {
  QuotationWindow quotation(services_, QuoteRequest{.rooms = {}, .grade = "舒适型装修"});
  RoomEntryWindow rooms(
      services_, QStringLiteral("舒适型装修详细报价！"), [] { return std::string("舒适型装修"); }, nullptr);
  const QSize maximised(1280, 900);
  for (QWidget* window : std::vector<QWidget*>{&quotation, &rooms}) {
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
      if (window == &quotation) {
        EXPECT_EQ(child->pos(), was.topLeft() + QPoint(grown.width(), 0)) << name;
      }
    }
  }
}

}  // namespace
}  // namespace decor::test
