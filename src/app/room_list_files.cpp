#include "app/room_list_files.h"

#include <QAction>
#include <QWidget>
#include <string>
#include <utility>

#include "app/message_box.h"
#include "app/quotation_files.h"
#include "app/room_list_controller.h"
#include "app/room_list_model.h"
#include "app/unsaved_work.h"
#include "export/quote_document.h"
#include "quotation/quotation_file.h"
#include "quotation/quotation_session.h"
#include "ui/qt_text.h"

namespace decor {

RoomListFiles::RoomListFiles(QWidget& window, RoomListController& controller, RoomListModel& model,
                             AppServices services)
    : QObject(&window),
      window_(window),
      controller_(controller),
      model_(model),
      services_(std::move(services)),
      dispatcher_(GuiDispatcher::forWindow(window)),
      actions_(addQuotationFileActions(window)),
      unsaved_(new UnsavedWork(*this, [this] { return unsaved(); }, [this] { saveAs(); })) {
  connect(actions_.save, &QAction::triggered, this, &RoomListFiles::saveAs);
  connect(actions_.open, &QAction::triggered, this, &RoomListFiles::open);
  connect(&controller_, &RoomListController::quotationKept, this, [this](const QuoteRequest& request) {
    // Another list's file says nothing of this one.
    if (request.rooms == model_.rooms().rows()) kept(request.rooms);
  });
}

bool RoomListFiles::unsaved() const {
  const std::vector<RoomEntry>& rows = model_.rooms().rows();
  return !rows.empty() && rows != keptRooms_;
}

void RoomListFiles::kept(const std::vector<RoomEntry>& rooms) { keptRooms_ = rooms; }

void RoomListFiles::saveAs() {
  // What the package buttons refuse to quote makes no quotation file either.
  const QString path = controller_.refuseToQuote()
                           ? QString()
                           : askSavePath(window_, proposedQuotationPath(qt(quoteCaption(controller_.package()))));
  if (path.isEmpty()) {
    unsaved_->saveEnded(false);
    return;
  }
  save(path);
}

void RoomListFiles::save(const QString& path) {
  // The rooms as they are now; what the list becomes while the file is written stays unsaved.
  services_.workers->run([state = services_.state, dispatcher = dispatcher_,
                          request = controller_.request(controller_.package()), path, this] {
    QuotationSession session(request);
    std::string failure;
    if (const QuoteBuildResult built = session.build(state->prices.itemPrices()); !built.built()) {
      failure = std::string(built.refused->message());
    } else {
      failure = saveQuotationFile(quotationFileOf(KeptQuotation(std::move(session)), todayIsoDate()),
                                  path.toStdString());
    }
    dispatcher->post([this, path, rooms = request.rooms, failure = qt(failure)] {
      if (failure.isEmpty()) {
        kept(rooms);
      } else {
        showMessage(failure, QMessageBox::Warning);
      }
      emit saveFinished(path, failure);
      unsaved_->saveEnded(failure.isEmpty());
    });
  });
}

void RoomListFiles::open() {
  // Rooms not saved are asked about first; after 保存 the open dialog follows the written file.
  if (!unsaved_->mayLose([this] { open(); })) return;
  const QString path = askOpenPath(window_, proposedQuotationPath(qt(quoteCaption(controller_.package()))));
  if (!path.isEmpty()) openFile(path);
}

void RoomListFiles::openFile(const QString& path) {
  readQuotationFileLater(
      *services_.workers, dispatcher_, path,
      [this, path](const QuotationFile& file) {
        showOpened(file.request);
        emit openFinished(path, QString());
      },
      [this, path](const QString& message) { emit openFinished(path, message); });
}

void RoomListFiles::showOpened(const QuoteRequest& request) {
  model_.replaceAll(request.rooms);
  controller_.setFloorChoice(request.floor);
  controller_.setPackage(request.scope);
  kept(request.rooms);
  emit gradeOpened(qt(request.grade));
}

}  // namespace decor
