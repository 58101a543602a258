#include "app/main_window.h"

#include <QCloseEvent>
#include <QMouseEvent>

#include "app/chat_status.h"
#include "app/message_box.h"
#include "app/result_window.h"
#include "app/room_entry_window.h"
#include "app/room_list_files.h"
#include "app/unsaved_work.h"
#include "domain/vocabulary.h"
#include "net/configuration_loader.h"
#include "net/helped_counter.h"
#include "quotation_rows/room_list.h"
#include "text/text_to_number.h"
#include "ui/artwork.h"
#include "ui/choice_box.h"
#include "ui_main_window.h"

namespace decor {

namespace {

constexpr const char* kDetailedQuoteQuestion = "确定进入详细报价吗？方便快速的报价请点   估算报价    哦！";

std::int32_t countOf(const QComboBox& box) { return textToInt32(box.currentText().toStdString()); }

}  // namespace

MainWindow::MainWindow(AppServices services, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::MainWindow>()),
      services_(std::move(services)),
      background_(artworkPicture(QStringLiteral(":/artwork/main_background.jpg"))),
      dispatcher_(GuiDispatcher::forWindow(*this)) {
  ui_->setupUi(this);
  setFixedSize(size());
  setChoices(*ui_->组合框1, kDecorationGrades, QuickEstimateInput{}.grade);
  ui_->标签17->setText(QString::fromStdString(helpedCounterDesignText(services_.endpoints.companyName)));

  connect(ui_->按钮1, &QAbstractButton::clicked, this, &MainWindow::startQuickEstimate);
  connect(ui_->按钮2, &QAbstractButton::clicked, this, &MainWindow::openRoomEntryWindow);
  connect(ui_->组合框1, &QComboBox::currentIndexChanged, this, &MainWindow::retitleRoomEntryWindow);
  setUpChatStatusBox(*ui_->图片框1, services_);
}

MainWindow::~MainWindow() = default;

RoomEntryWindow* MainWindow::roomEntryWindow() const { return roomEntry_; }

ResultWindow* MainWindow::resultWindow() const { return result_; }

void MainWindow::start() {
  show();
  ui_->按钮1->setFocus();
  services_.state->prices.resetToDefaults();

  // Workers below capture `this` only for the tasks they post: those run on the GUI thread
  // and only while this window lives (see GuiDispatcher).
  services_.workers->run([state = services_.state, fetcher = services_.fetcher, endpoints = services_.endpoints,
                          dispatcher = dispatcher_, this] {
    std::string picture = fetchChatStatusPicture(*fetcher, endpoints);
    dispatcher->post([this, picture = std::move(picture)] { showChatStatusPicture(*ui_->图片框1, picture); });

    fetchHelpedCounter(this, *fetcher, endpoints, *dispatcher);

    loadConfiguration(*fetcher, endpoints, state->prices);
  });
}

QuickEstimateInput MainWindow::estimateInput() const {
  return QuickEstimateInput{
      .bedrooms = countOf(*ui_->室),
      .halls = countOf(*ui_->厅),
      .kitchens = countOf(*ui_->厨),
      .bathrooms = countOf(*ui_->卫),
      .balconies = countOf(*ui_->阳),
      .area = ui_->平方->editText().toStdString(),
      .grade = ui_->组合框1->currentText().toStdString(),
  };
}

void MainWindow::startQuickEstimate() {
  // Disabled until the result window closes, so only one estimate runs at a time.
  ui_->按钮1->setEnabled(false);
  services_.workers->run([state = services_.state, input = estimateInput(), dispatcher = dispatcher_, this] {
    std::string resultText = state->runQuickEstimate(input);
    dispatcher->post([this, resultText = std::move(resultText)] { showQuickEstimateResult(resultText); });
  });
  refreshHelpedCounter();
}

void MainWindow::showQuickEstimateResult(const std::string& resultText) {
  auto* window = new ResultWindow(services_, resultText, this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowModality(Qt::ApplicationModal);
  connect(window, &QDialog::finished, this, [this] { ui_->按钮1->setEnabled(true); });
  result_ = window;
  window->show();
}

void MainWindow::openRoomEntryWindow() {
  if (showMessage(QString::fromUtf8(kDetailedQuoteQuestion), QMessageBox::Question,
                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
    return;
  }
  if (roomEntry_ != nullptr) {
    // One room list at a time: bring the open window forward.
    roomEntry_->raise();
    roomEntry_->activateWindow();
    return;
  }
  // The quotation takes the grade shown here when its package button is pressed; the room
  // entry window is owned by this one and never outlives it.
  roomEntry_ = new RoomEntryWindow(
      services_, roomEntryCaption(), [this] { return ui_->组合框1->currentText().toStdString(); }, this);
  roomEntry_->setAttribute(Qt::WA_DeleteOnClose);
  connect(&roomEntry_->files(), &RoomListFiles::gradeOpened, ui_->组合框1, &QComboBox::setCurrentText);
  roomEntry_->show();
  refreshHelpedCounter();
}

void MainWindow::retitleRoomEntryWindow() {
  if (roomEntry_ != nullptr) roomEntry_->setWindowTitle(roomEntryCaption());
}

QString MainWindow::roomEntryCaption() const {
  return QString::fromStdString(decor::roomEntryCaption(ui_->组合框1->currentText().toStdString()));
}

void MainWindow::refreshHelpedCounter() {
  services_.workers->run([fetcher = services_.fetcher, endpoints = services_.endpoints, dispatcher = dispatcher_,
                          this] {
    fetchHelpedCounter(this, *fetcher, endpoints, *dispatcher);
  });
}

void MainWindow::fetchHelpedCounter(MainWindow* window, UrlFetcher& fetcher, const Endpoints& endpoints,
                                    GuiDispatcher& dispatcher) {
  std::string caption = helpedCounterCaption(endpoints.companyName, fetchHelpedCount(fetcher, endpoints));
  dispatcher.post(
      [window, caption = std::move(caption)] { window->showHelpedCounter(QString::fromStdString(caption)); });
}

void MainWindow::showHelpedCounter(const QString& caption) {
  ui_->标签17->setText(caption);
  if (roomEntry_ != nullptr) roomEntry_->setHelpedCounterCaption(caption);
}

void MainWindow::paintEvent(QPaintEvent*) { paintBackground(*this, background_); }

void MainWindow::mousePressEvent(QMouseEvent* event) {
  // Only the background itself opens the website; presses on controls are theirs.
  if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr) {
    services_.openInBrowser(services_.endpoints.website);
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The program ends with this window, and the room entry window's rooms would go with it:
  // asked once, there, as closing that window asks; after 保存 the program ends once the
  // file is written. The quotation window is modal and keeps this one from closing.
  if (roomEntry_ != nullptr) {
    if (!roomEntry_->files().unsavedWork().mayLose([this] { close(); })) {
      event->ignore();
      return;
    }
    // Saved or let go: it goes without a second question.
    roomEntry_->hide();
    roomEntry_->deleteLater();
  }
  event->accept();
  emit closed();
}

}  // namespace decor
