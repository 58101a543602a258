#include "gui_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <chrono>
#include <cstdint>

#include "catalogue_support.h"

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace decor::test {

void ScriptedFetcher::answer(const std::string& url, std::string body) {
  const std::lock_guard lock(mutex_);
  bodies_[url] = std::move(body);
}

std::string ScriptedFetcher::fetchUrl(const std::string& url) {
  std::unique_lock lock(mutex_);
  requests_.push_back(url);
  released_.wait(lock, [this] { return !held_; });
  ++finished_;
  const auto found = bodies_.find(url);
  return found == bodies_.end() ? std::string() : found->second;
}

std::vector<std::string> ScriptedFetcher::requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t ScriptedFetcher::finishedCount() const {
  const std::lock_guard lock(mutex_);
  return finished_;
}

void ScriptedFetcher::hold() {
  const std::lock_guard lock(mutex_);
  held_ = true;
}

void ScriptedFetcher::release() {
  {
    const std::lock_guard lock(mutex_);
    held_ = false;
  }
  released_.notify_all();
}

AppServices testServices(std::shared_ptr<UrlFetcher> fetcher, std::shared_ptr<BrowserLog> browser) {
  if (!browser) browser = std::make_shared<BrowserLog>();
  Endpoints endpoints = Endpoints::allAt("http://127.0.0.1:9");
  endpoints.website = "http://www.example-decor.test";
  endpoints.chatAccount = "12345";
  endpoints.hotline = "0571-8888 6666";
  return AppServices{
      .state = std::make_shared<AppState>(),
      .fetcher = std::move(fetcher),
      .postForm = [](const std::string&, const std::string&) { return std::string(); },
      .endpoints = endpoints,
      .openInBrowser = [browser](const std::string& address) { browser->opened.push_back(address); },
      .workers = std::make_shared<WorkerPool>(),
  };
}

std::string statusPictureBytes() {
  QImage picture(77, 22, QImage::Format_RGB32);
  picture.fill(QColor(40, 160, 60));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes.toStdString();
}

ModalAnswerer::ModalAnswerer(std::vector<QMessageBox::StandardButton> answers, std::function<void(QWidget&)> inspect)
    : answers_(std::move(answers)), inspect_(std::move(inspect)) {
  timer_.setInterval(15);
  QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
  timer_.start();
}

ModalAnswerer::~ModalAnswerer() { timer_.stop(); }

void ModalAnswerer::poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr || !modal->isVisible()) return;
  // Skip a dialog already answered but not yet gone.
  if (modal->property("decorTestAnswered").toBool()) return;
  modal->setProperty("decorTestAnswered", true);

  SeenDialog seen;
  seen.className = QString::fromLatin1(modal->metaObject()->className());
  seen.title = modal->windowTitle();
  seen.applicationModal = modal->windowModality() == Qt::ApplicationModal;
  if (inspect_) inspect_(*modal);
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen.text = box->text();
    seen.icon = box->icon();
    for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
    const std::size_t index = seen_.size();
    seen_.push_back(seen);
    const auto answer = index < answers_.size() ? answers_[index] : QMessageBox::No;
    if (QAbstractButton* button = box->button(answer)) {
      button->click();
    } else {
      box->reject();
    }
    return;
  }
  seen_.push_back(seen);
  modal->close();
}

void typeText(QWidget& widget, const QString& text) {
  for (const QChar c : text) {
    const int key = c.unicode() < 0x80 ? QChar(c).toUpper().unicode() : 0;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&widget, &press);
    QApplication::sendEvent(&widget, &release);
  }
}

void expectTypedTextsStay(const std::vector<std::pair<QComboBox*, QString>>& typed, QWidget& next) {
  for (const auto& [box, text] : typed) {
    const std::vector<std::string> items = itemsOf(*box);
    box->setFocus();
    box->lineEdit()->selectAll();
    typeText(*box->lineEdit(), text);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    next.setFocus();
    EXPECT_EQ(box->currentText(), text) << box->objectName().toStdString();
    EXPECT_EQ(itemsOf(*box), items) << box->objectName().toStdString();
  }
}

bool waitUntil(const std::function<bool()>& done, int milliseconds) {
  return QTest::qWaitFor(done, milliseconds);
}

bool waitUntilQuiet(WorkerPool& workers, int milliseconds) {
  const QDeadlineTimer deadline(milliseconds);
  int quietTurns = 0;
  while (quietTurns < 2) {
    if (!workers.waitUntilIdle(std::chrono::milliseconds(deadline.remainingTime()))) return false;
    const std::uint64_t taken = workers.tasksTaken();
    // A worker's results arrive as posted events; events posted while these run wait for the
    // next turn, hence the second quiet turn.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    quietTurns = workers.tasksTaken() == taken ? quietTurns + 1 : 0;
    if (deadline.hasExpired()) return false;
  }
  return true;
}

void flushDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

}  // namespace decor::test
